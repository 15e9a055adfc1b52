// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/DeviceRecorded.h"

#include <algorithm>
#include <optional>

namespace mk {

namespace {

ByteSpan span(const LayoutRow &row) { return {row.offset, row.end()}; }

RecordedUnit makeUnit(int section, std::vector<ByteSpan> spans, RecordedKind kind, int index = 0)
{
    RecordedUnit unit;
    unit.section = section;
    unit.spans = std::move(spans);
    unit.kind = kind;
    unit.index = index;
    return unit;
}

std::vector<RecordedPart> makeParts()
{
    using K = RecordedKind;
    std::vector<RecordedPart> parts;

    // The bytes between the trip settings and the trip journal, and after the refuelling journal,
    // are the device's bookkeeping of its journals: they go with their journal.
    RecordedPart trips{
        QStringLiteral("Журнал поездок"),
        {makeUnit(kTripsSection, {span(layout::kTripBookkeeping), span(layout::kTripJournal)}, K::TripJournal)}};
    RecordedPart tank{
        QStringLiteral("Журнал заправок"),
        {makeUnit(kTripsSection, {span(layout::kTankJournal), span(layout::kTankBookkeeping)}, K::TankJournal)}};
    RecordedPart errors{QStringLiteral("Журнал ошибок"),
                        {makeUnit(kErrorsSection, {{0, kRecordSizes[kErrorsSection]}}, K::ErrorJournal)}};

    // Section 0 is the device's counters but for the reset periods, which are settings.
    RecordedPart averages{QStringLiteral("Накопленные средние"), {}};
    std::vector<bool> inSet(size_t(kRecordSizes[kCountersSection]), false);
    for (int n = 0; n < kAccumulatorSetCount; ++n) {
        const AccumulatorLayout &set = kAccumulatorLayouts[n];
        RecordedUnit unit = makeUnit(kCountersSection, {}, K::Averages, n);
        for (const int field : {set.time, set.distance, set.fuel1, set.fuel2})
            if (field >= 0) {
                unit.spans.push_back({field, field + kAccumulatorFieldSize});
                std::fill_n(inSet.begin() + field, kAccumulatorFieldSize, true);
            }
        averages.units.push_back(unit);
    }
    const std::vector<ByteSpan> settingsBytes = {span(layout::kAllPathStart), span(layout::kResetPeriod1),
                                                 span(layout::kResetPeriod2), span(layout::kResetPeriodOnly)};
    for (const ByteSpan &s : settingsBytes)
        std::fill(inSet.begin() + s.begin, inSet.begin() + s.end, true);
    // The rest of the section: counters no field names yet, kept or written together.
    RecordedUnit others = makeUnit(kCountersSection, {}, K::OtherCounters);
    for (int at = 0; at < kRecordSizes[kCountersSection];) {
        if (inSet[size_t(at)]) {
            ++at;
            continue;
        }
        int end = at;
        while (end < kRecordSizes[kCountersSection] && !inSet[size_t(end)])
            ++end;
        others.spans.push_back({at, end});
        at = end;
    }
    averages.units.push_back(others);
    RecordedPart distance{QStringLiteral("Общий пробег"),
                          {makeUnit(kCountersSection, {span(layout::kAllPathStart)}, K::Odometer)}};
    RecordedPart service{QStringLiteral("Счётчики ТО"), {}};
    for (int c = 0; c < kServiceCounterCount; ++c)
        service.units.push_back(makeUnit(kServiceSection, {{kServiceCounterOffset + c, kServiceCounterOffset + c + 1}},
                                         K::ServiceCounter, c));

    for (RecordedPart *p : {&trips, &tank, &errors, &averages, &distance, &service})
        parts.push_back(std::move(*p));
    int id = 0;
    for (size_t p = 0; p < parts.size(); ++p)
        for (RecordedUnit &unit : parts[p].units) {
            unit.id = RecordedUnitId{id++};
            unit.part = int(p);
        }
    return parts;
}

} // namespace

const std::vector<RecordedPart> &deviceRecordedParts()
{
    static const std::vector<RecordedPart> parts = makeParts();
    return parts;
}

const std::vector<RecordedUnit> &deviceRecordedUnits()
{
    static const std::vector<RecordedUnit> units = [] {
        std::vector<RecordedUnit> all;
        for (const RecordedPart &part : deviceRecordedParts())
            all.insert(all.end(), part.units.begin(), part.units.end());
        return all;
    }();
    return units;
}

bool holdsDeviceRecorded(int section)
{
    for (const RecordedPart &part : deviceRecordedParts())
        for (const RecordedUnit &unit : part.units)
            if (unit.section == section)
                return true;
    return false;
}

QByteArray unitBytes(const QByteArray &record, const RecordedUnit &unit)
{
    QByteArray bytes;
    for (const ByteSpan &s : unit.spans)
        if (s.begin < record.size())
            bytes += record.mid(s.begin, std::min<qsizetype>(s.end, record.size()) - s.begin);
    return bytes;
}

void copyUnit(QByteArray &to, const QByteArray &from, const RecordedUnit &unit)
{
    for (const ByteSpan &s : unit.spans)
        for (int i = s.begin; i < s.end && i < to.size() && i < from.size(); ++i)
            to[i] = from[i];
}

namespace {

// Where a journal's entries lie in its record.
struct JournalPlace
{
    int offset, count, size;
};

std::optional<JournalPlace> journalPlace(RecordedKind kind)
{
    switch (kind) {
    case RecordedKind::TripJournal: return JournalPlace{kTripJournalOffset, kJournalEntryCount, kJournalEntrySize};
    case RecordedKind::TankJournal: return JournalPlace{kTankJournalOffset, kJournalEntryCount, kJournalEntrySize};
    case RecordedKind::ErrorJournal: return JournalPlace{kErrorEntriesOffset, kErrorEntryCount, kErrorEntrySize};
    default: return std::nullopt;
    }
}

quint32 u32At(const QByteArray &record, int at)
{
    quint32 v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | quint8(at + i < record.size() ? record[at + i] : 0);
    return v;
}

// How far the device can move its counters in a time: it counts whole seconds and may have
// been counting for a while before the first reading; no car goes faster or burns more.
constexpr qint64 kCountingSlackSeconds = 60;
constexpr qint64 kMaxMetresPerSecond = 70;
constexpr qint64 kMaxMillilitresPerSecond = 20;

struct CounterBounds
{
    qint64 seconds, metres, millilitres;
};

CounterBounds boundsFor(qint64 elapsedMs)
{
    const qint64 seconds = elapsedMs / 1000 + 1 + kCountingSlackSeconds;
    return {seconds, seconds * kMaxMetresPerSecond, seconds * kMaxMillilitresPerSecond};
}

// Whether a set of averages in `now` is `was` grown, or started again from 0, within the bounds.
bool averagesMoved(const AccumulatorLayout &set, const QByteArray &was, const QByteArray &now, const CounterBounds &b)
{
    struct Field
    {
        int at;
        qint64 bound;
    };
    std::vector<Field> fields = {{set.time, b.seconds}, {set.distance, b.metres}, {set.fuel1, b.millilitres}};
    if (set.fuel2 >= 0)
        fields.push_back({set.fuel2, b.millilitres});
    bool grown = true, restarted = true;
    for (const Field &f : fields) {
        const qint64 before = u32At(was, f.at), after = u32At(now, f.at);
        grown = grown && after >= before && after - before <= f.bound;
        restarted = restarted && after <= f.bound;
    }
    return grown || restarted;
}

bool unitMoved(const RecordedUnit &unit, const QByteArray &was, const QByteArray &now, const CounterBounds &b)
{
    switch (unit.kind) {
    case RecordedKind::TripJournal:
    case RecordedKind::TankJournal:
    case RecordedKind::ErrorJournal: return journalEntriesAdded(unit, was, now) > 0;
    case RecordedKind::Averages: return averagesMoved(kAccumulatorLayouts[unit.index], was, now, b);
    case RecordedKind::Odometer: {
        const qint64 before = u32At(was, kAllPathStartOffset), after = u32At(now, kAllPathStartOffset);
        return after >= before && after - before <= b.metres / 1000 + 1;
    }
    case RecordedKind::ServiceCounter: {
        const int at = kServiceCounterOffset + unit.index;
        return at < was.size() && at < now.size() && quint8(was[at]) == quint8(now[at]) + 1;
    }
    case RecordedKind::OtherCounters: return true; // judged by the section's other units
    }
    return false;
}

} // namespace

int journalEntriesAdded(const RecordedUnit &unit, const QByteArray &was, const QByteArray &now)
{
    if (unitBytes(was, unit) == unitBytes(now, unit))
        return 0;
    const std::optional<JournalPlace> place = journalPlace(unit.kind);
    if (!place)
        return -1;
    const int end = place->offset + place->count * place->size;
    if (now.size() < end || was.size() < end)
        return -1;
    const auto entries = [&](const QByteArray &r, int first, int count) {
        return r.mid(place->offset + first * place->size, count * place->size);
    };
    for (int added = 1; added < place->count; ++added)
        if (entries(now, added, place->count - added) == entries(was, 0, place->count - added))
            return added;
    return -1;
}

void moveJournalChanges(const RecordedUnit &unit, const QByteArray &base, const QByteArray &edited, QByteArray &merged,
                        int added)
{
    const std::optional<JournalPlace> place = journalPlace(unit.kind);
    if (!place)
        return;
    for (int i = 0; i + added < place->count; ++i) {
        const int from = place->offset + i * place->size, to = place->offset + (i + added) * place->size;
        if (from + place->size > edited.size() || to + place->size > merged.size())
            break;
        if (edited.mid(from, place->size) != base.mid(from, place->size))
            merged.replace(to, place->size, edited.mid(from, place->size));
    }
}

bool onlyDeviceRecorded(int section, const QByteArray &was, const QByteArray &now, qint64 elapsedMs, bool *moved)
{
    if (moved)
        *moved = false;
    if (was.size() != now.size())
        return false;
    // Bytes no unit holds are settings (or beyond the record): the device never changes them.
    std::vector<bool> recorded(size_t(was.size()), false);
    bool othersChanged = false, anyMoved = false;
    const CounterBounds bounds = boundsFor(elapsedMs);
    for (const RecordedUnit &unit : deviceRecordedUnits()) {
        if (unit.section != section)
            continue;
        for (const ByteSpan &span : unit.spans)
            for (int at = span.begin; at < span.end && at < was.size(); ++at)
                recorded[size_t(at)] = true;
        if (unitBytes(was, unit) == unitBytes(now, unit))
            continue;
        if (unit.kind == RecordedKind::OtherCounters) {
            othersChanged = true;
            continue;
        }
        if (!unitMoved(unit, was, now, bounds))
            return false;
        anyMoved = true;
    }
    for (int at = 0; at < was.size(); ++at)
        if (!recorded[size_t(at)] && was[at] != now[at])
            return false;
    if (othersChanged && !anyMoved)
        return false;
    if (moved)
        *moved = anyMoved;
    return true;
}

quint32 entryField(const Record &record, int entry, EntryField field)
{
    const int at = entry + field.offset;
    switch (field.width) {
    case 1: return record.u8(at);
    case 2: return record.u16(at);
    default: Q_ASSERT(field.width == 4); return record.u32(at);
    }
}

void setEntryField(Record &record, int entry, EntryField field, quint32 value)
{
    const int at = entry + field.offset;
    switch (field.width) {
    case 1: record.setU8(at, quint8(value)); break;
    case 2: record.setU16(at, quint16(value)); break;
    default: Q_ASSERT(field.width == 4); record.setU32(at, value);
    }
}

} // namespace mk
