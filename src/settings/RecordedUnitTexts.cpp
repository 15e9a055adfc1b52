// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/RecordedUnitTexts.h"

#include "image/TMK.h"
#include "journals/JournalData.h"
#include "settings/FieldTable.h"
#include "settings/SettingsContext.h"
#include "settings/ShownValue.h"

namespace mk {

namespace {

const RecordedUnit &unitOf(RecordedUnitId id) { return deviceRecordedUnits().at(size_t(id.value)); }

// The field row that edits a one-field unit (the odometer, a service counter).
const FieldDef *fieldOf(const RecordedUnit &unit)
{
    if (unit.kind != RecordedKind::Odometer && unit.kind != RecordedKind::ServiceCounter)
        return nullptr;
    for (const FieldDef &def : fieldTable())
        if (def.section == unit.section && def.offset == unit.spans.front().begin && def.kind == ControlKind::SpinEdit)
            return &def;
    return nullptr;
}

const char *const kAveragesNames[kAccumulatorSetCount] = {"avg-overall", "avg-trip",   "avg-reset1", "avg-jams",
                                                          "avg-free",    "avg-refuel", "avg-petrol", "avg-gas"};

QString twoDigits(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

QString journalValue(const TMK &model, const RecordedUnit &unit)
{
    int count = 0;
    QString latest;
    if (unit.kind == RecordedKind::ErrorJournal) {
        const Record &s12 = model.record(kErrorsSection);
        for (int i = 0; i < kErrorEntryCount; ++i)
            if (s12.u32(kErrorEntriesOffset + i * kErrorEntrySize + 4) != 0)
                ++count;
        return QStringLiteral("записей: %1").arg(count);
    }
    const JournalKind kind = unit.kind == RecordedKind::TripJournal ? JournalKind::Trip : JournalKind::Tank;
    for (int i = 0; i < kJournalEntryCount; ++i) {
        const JournalEntry e = journalEntry(model.record(kTripsSection), kind, i);
        if (e.empty())
            continue;
        if (count++ == 0)
            latest = QStringLiteral(", последняя %1.%2 %3:%4")
                         .arg(twoDigits(e.day), twoDigits(e.month), twoDigits(e.minutes / 60 % 24),
                              twoDigits(e.minutes % 60));
    }
    return QStringLiteral("записей: %1%2").arg(count).arg(latest);
}

QString averagesValue(const TMK &model, int set)
{
    const Accumulators a = accumulators(model.record(kCountersSection), kAccumulatorSets[size_t(set)]);
    return QStringLiteral("%1 км / %2:%3 ч")
        .arg(localeNumber(a.metres / 1000.0, 0))
        .arg(a.seconds / 3600)
        .arg(twoDigits(int(a.seconds / 60 % 60)));
}

} // namespace

QString recordedUnitName(RecordedUnitId id)
{
    const RecordedUnit &unit = unitOf(id);
    switch (unit.kind) {
    case RecordedKind::TripJournal: return QStringLiteral("trips");
    case RecordedKind::TankJournal: return QStringLiteral("refuels");
    case RecordedKind::ErrorJournal: return QStringLiteral("errors");
    case RecordedKind::Averages: return QString::fromLatin1(kAveragesNames[unit.index]);
    case RecordedKind::OtherCounters: return QStringLiteral("counters");
    case RecordedKind::Odometer:
    case RecordedKind::ServiceCounter: break;
    }
    const FieldDef *def = fieldOf(unit);
    return def ? def->name : QStringLiteral("unit%1").arg(id.value);
}

std::optional<RecordedUnitId> recordedUnitByName(const QString &name)
{
    for (const RecordedUnit &unit : deviceRecordedUnits())
        if (recordedUnitName(unit.id).compare(name, Qt::CaseInsensitive) == 0)
            return unit.id;
    return std::nullopt;
}

QString recordedUnitCaption(RecordedUnitId id)
{
    const RecordedUnit &unit = unitOf(id);
    const QString part = deviceRecordedParts().at(size_t(unit.part)).caption;
    switch (unit.kind) {
    case RecordedKind::Averages:
        return QStringLiteral("Средние «%1»").arg(accumulatorCaption(kAccumulatorSets[size_t(unit.index)]));
    case RecordedKind::OtherCounters: return QStringLiteral("Прочие счётчики МК");
    case RecordedKind::ServiceCounter:
        if (const FieldDef *def = fieldOf(unit))
            return QStringLiteral("Счётчик ТО «%1»").arg(def->caption);
        return part;
    default: return part;
    }
}

QString recordedUnitValue(RecordedUnitId id, const TMK &model)
{
    const RecordedUnit &unit = unitOf(id);
    switch (unit.kind) {
    case RecordedKind::TripJournal:
    case RecordedKind::TankJournal:
    case RecordedKind::ErrorJournal: return journalValue(model, unit);
    case RecordedKind::Averages: return averagesValue(model, unit.index);
    case RecordedKind::OtherCounters: return QStringLiteral("другие");
    case RecordedKind::Odometer:
    case RecordedKind::ServiceCounter: break;
    }
    const FieldDef *def = fieldOf(unit);
    if (!def)
        return {};
    return shownText(shownFieldValue(*def, model, SettingsContext::lenient(model).fields()));
}

QStringList recordedDifferenceLines(const std::vector<RecordedDifference> &differences, const TMK &device,
                                    const TMK &settings)
{
    QStringList lines;
    for (const RecordedDifference &d : differences)
        lines << QStringLiteral("%1 (%2): в МК %3, в настройках %4 - %5")
                     .arg(recordedUnitCaption(d.unit), recordedUnitName(d.unit), recordedUnitValue(d.unit, device),
                          recordedUnitValue(d.unit, settings),
                          d.fromSettings ? QStringLiteral("записывается из настроек")
                                         : QStringLiteral("остаётся как в МК"));
    return lines;
}

QStringList restoreReplacesLines(const TMK &device, const TMK &backup)
{
    QStringList lines;
    for (const RecordedUnit &unit : deviceRecordedUnits()) {
        const int k = unit.section;
        if (!device.sectionHeld(k) || !backup.sectionHeld(k))
            continue;
        const QByteArray mine = device.record(k).bytes(), theirs = backup.record(k).bytes();
        if (unitBytes(mine, unit) == unitBytes(theirs, unit))
            continue;
        const int added = journalEntriesAdded(unit, theirs, mine);
        switch (unit.kind) {
        case RecordedKind::TripJournal:
        case RecordedKind::TankJournal:
        case RecordedKind::ErrorJournal:
            lines << (added > 0 ? QStringLiteral("%1: новых записей в МК, которых нет в копии: %2")
                                      .arg(recordedUnitCaption(unit.id))
                                      .arg(added)
                                : QStringLiteral("%1: в МК %2, в копии %3")
                                      .arg(recordedUnitCaption(unit.id), recordedUnitValue(unit.id, device),
                                           recordedUnitValue(unit.id, backup)));
            break;
        case RecordedKind::OtherCounters: break; // named by the sets beside them
        default:
            lines << QStringLiteral("%1: в МК %2, в копии %3")
                         .arg(recordedUnitCaption(unit.id), recordedUnitValue(unit.id, device),
                              recordedUnitValue(unit.id, backup));
        }
    }
    return lines;
}

} // namespace mk
