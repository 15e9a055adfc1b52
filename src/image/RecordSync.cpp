// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/RecordSync.h"

#include "base/Error.h"
#include "image/DeviceRecorded.h"

#include <QStringList>

namespace mk {

SectionSnapshot::SectionSnapshot(TMK &model, std::vector<int> sections)
    : m_model(model), m_sections(std::move(sections))
{
    for (int k : m_sections)
        m_saved.push_back(m_model.record(k));
    for (int k : m_sections)
        m_model.decodeSection(k);
}

void SectionSnapshot::commit()
{
    for (int k : m_sections)
        m_model.encodeSection(k);
}

void SectionSnapshot::rollback()
{
    for (size_t i = 0; i < m_sections.size(); ++i)
        m_model.record(m_sections[i]) = m_saved[i];
}

QString sectionList(const QList<int> &sections)
{
    QStringList parts;
    for (int k : sections)
        parts.append(QString::number(k));
    return parts.join(QStringLiteral(", "));
}

QString incompleteSettingsWarning(const TMK &model)
{
    const QList<int> missing = model.missingSections();
    if (!missing.isEmpty())
        return QStringLiteral("В файле нет секций %1, описанных в его заголовке (файл обрезан или повреждён). "
                              "Настройки можно просмотреть, но записать их в МК нельзя.")
            .arg(sectionList(missing));
    const QList<int> tangled = model.tangledSections();
    if (!tangled.isEmpty())
        return QStringLiteral("%1 (заголовок файла повреждён). Настройки можно просмотреть, но записать их "
                              "в МК нельзя.")
            .arg(tangledText(tangled));
    if (const QString cut = cutShortText(model); !cut.isEmpty())
        return QStringLiteral("Файл обрезан: %1. Настройки можно просмотреть, но записать их в МК нельзя.").arg(cut);
    return {};
}

namespace {

// The image of the smallest device memory (8 KiB less the 64 bytes the image leaves out); every
// device's image is at least this long.
constexpr int kSmallestImageSize = 8192 - 64;

} // namespace

QString cutShortText(const TMK &model)
{
    const int size = int(model.image().size());
    if (!model.hasImage() || size >= kSmallestImageSize)
        return {};
    // The oscilloscope record lies past the sections; a cut through it leaves a flat trace.
    const int oscEnd = kOscBlockPos[1] + kOscHeaderSize + kOscSampleCount;
    const QString lost =
        size < oscEnd ? QStringLiteral("записей осциллографа и конца памяти МК") : QStringLiteral("конца памяти МК");
    return QStringLiteral("в образе памяти %1 байт из %2, нет %3").arg(size).arg(kSmallestImageSize).arg(lost);
}

QString tangledText(const QList<int> &sections)
{
    return QStringLiteral("Секции %1 в таблице секций налагаются друг на друга, на заголовок или идут не по порядку")
        .arg(sectionList(sections));
}

void requireCompleteSettings(const TMK &model)
{
    const QList<int> missing = model.missingSections();
    if (!missing.isEmpty())
        throw Error(ErrorKind::Damaged, QStringLiteral("В настройках нет секций %1, описанных в их заголовке. "
                                                       "Запись в МК не выполнена, МК не изменён.")
                                            .arg(sectionList(missing)));
    requireSoundTable(model, QStringLiteral("Запись в МК не выполнена, МК не изменён."));
    if (const QString cut = cutShortText(model); !cut.isEmpty())
        throw Error(ErrorKind::Damaged,
                    QStringLiteral("Настройки обрезаны: %1. Запись в МК не выполнена, МК не изменён.").arg(cut));
}

void requireSoundTable(const TMK &model, const QString &consequence)
{
    const QList<int> tangled = model.tangledSections();
    if (!tangled.isEmpty())
        throw Error(ErrorKind::Damaged,
                    QStringLiteral("%1 (таблица повреждена). %2").arg(tangledText(tangled), consequence));
}

TMK mergeRecords(const TMK &edited, quint16 modelCode, const QByteArray &deviceImage, RecordedData recorded,
                 const std::set<RecordedUnitId> &take)
{
    TMK merged;
    merged.replaceImage(modelCode, deviceImage);
    // The records as read or loaded, to tell what the user changed since.
    TMK base;
    base.replaceImage(edited.modelCode(), edited.baseImage());
    const bool follow = recorded == RecordedData::FollowDevice;
    for (int k = 0; k < kSectionCount; ++k) {
        if (k == kUndecodedSection || !edited.sectionHeld(k))
            continue;
        QByteArray rec = edited.record(k).bytes();
        if (follow && merged.sectionHeld(k))
            for (const RecordedUnit &unit : deviceRecordedUnits()) {
                if (unit.section != k || take.contains(unit.id))
                    continue;
                const QByteArray &before = base.record(k).bytes();
                const QByteArray &device = merged.record(k).bytes();
                if (unitBytes(rec, unit) == unitBytes(before, unit)) {
                    copyUnit(rec, device, unit);
                    continue;
                }
                // The user changed it: a journal keeps what the device recorded since.
                const int added = journalEntriesAdded(unit, before, device);
                if (added > 0) {
                    QByteArray moved = device;
                    moveJournalChanges(unit, before, rec, moved, added);
                    copyUnit(rec, moved, unit);
                }
            }
        merged.record(k).bytes() = rec;
    }
    merged.encodeAll();
    return merged;
}

std::vector<RecordedDifference> recordedDifferences(const TMK &device, const TMK &edited, const TMK &merged)
{
    std::vector<RecordedDifference> found;
    for (const RecordedUnit &unit : deviceRecordedUnits()) {
        const int k = unit.section;
        if (!device.sectionHeld(k) || !edited.sectionHeld(k) || !merged.sectionHeld(k))
            continue;
        const QByteArray mine = unitBytes(device.record(k).bytes(), unit);
        if (unitBytes(edited.record(k).bytes(), unit) != mine)
            found.push_back({unit.id, unitBytes(merged.record(k).bytes(), unit) != mine});
    }
    return found;
}

QString RecordedPlan::text() const
{
    QStringList lines;
    if (!kept.isEmpty())
        lines << QStringLiteral("Остаются как в МК: %1.").arg(kept.join(QStringLiteral(", ")));
    if (!written.isEmpty())
        lines << QStringLiteral("Записываются из настроек: %1.").arg(written.join(QStringLiteral(", ")));
    return lines.join(QLatin1Char('\n'));
}

RecordedPlan recordedPlan(const TMK &device, const TMK &toWrite)
{
    RecordedPlan plan;
    for (const RecordedPart &part : deviceRecordedParts()) {
        bool held = false, differs = false;
        for (const RecordedUnit &unit : part.units) {
            if (!device.sectionHeld(unit.section) || !toWrite.sectionHeld(unit.section))
                continue;
            held = true;
            differs = differs || unitBytes(device.record(unit.section).bytes(), unit) !=
                                     unitBytes(toWrite.record(unit.section).bytes(), unit);
        }
        if (held)
            (differs ? plan.written : plan.kept).append(part.caption);
    }
    return plan;
}

} // namespace mk
