// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one place where the records and the image meet outside TMK itself: the editor, both
// viewers and the device write all go through here.
//
//     SectionSnapshot snap(model, {6, 0, 12});   // decoded from the image, the way back kept
//     ... a dialog works on the records ...
//     ok ? snap.commit() : snap.rollback();
//
//     requireCompleteSettings(model);            // before anything is sent to a device
//     TMK merged = mergeRecords(model, code, deviceImage);

#include "image/DeviceRecorded.h"
#include "image/TMK.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <set>
#include <vector>

namespace mk {

class SectionSnapshot
{
public:
    // Keeps the records as they are, then decodes the sections from the image.
    SectionSnapshot(TMK &model, std::vector<int> sections);

    // The records go into the image (sections the image does not hold stay absent).
    void commit();
    // The records return to what they were before the snapshot; the image is untouched.
    void rollback();

private:
    TMK &m_model;
    std::vector<int> m_sections;
    std::vector<Record> m_saved;
};

// "3, 4, 5"
QString sectionList(const QList<int> &sections);
// What an image cut short lacks beyond its sections ("записей осциллографа"), with its length:
// "в образе 3998 байт из 8128, нет записей осциллографа". Empty for an image of full length.
QString cutShortText(const TMK &model);
// The warning to show after loading settings that lack sections their header names or are cut
// short; empty when nothing is missing.
QString incompleteSettingsWarning(const TMK &model);
// Throws Error naming the missing or tangled sections or the cut: such settings never go to a
// device.
void requireCompleteSettings(const TMK &model);
// "Секции 3, 4 в таблице секций налагаются друг на друга ..."
QString tangledText(const QList<int> &sections);
// Throws Error naming the tangled sections (TMK::tangledSections), followed by `consequence`.
void requireSoundTable(const TMK &model, const QString &consequence);

// Whose copy of what the device records (DeviceRecorded.h) a write puts into the device.
enum class RecordedData {
    FollowDevice, // the device's, but for what the user changed since reading or loading
    FromSettings, // the settings' as they are: restoring a backup as a whole
};

// The device's image with the held records of `edited` merged in: every section the edited
// image does not hold keeps the device's bytes, and section 11 is always the device's. What the
// device records follows `recorded`: by default each unit the user did not change since
// `edited`'s base image is the device's.
// A journal the user changed keeps the entries the device recorded since: the user's changes
// go to the entries the user saw, where the device moved them. Units in `take` are written
// from `edited` whole, as a restore would.
TMK mergeRecords(const TMK &edited, quint16 modelCode, const QByteArray &deviceImage,
                 RecordedData recorded = RecordedData::FollowDevice, const std::set<RecordedUnitId> &take = {});

// A unit of what the device records whose copy in the settings differs from the device's:
// which copy the write puts into the device.
struct RecordedDifference
{
    RecordedUnitId unit;
    bool fromSettings = false; // changed by the user, taken, or restored; else the device's stays
};
// Every unit held by both whose bytes differ between the device and the settings to be written
// (`edited` as the user holds them), with what `merged` (what the write sends) took.
std::vector<RecordedDifference> recordedDifferences(const TMK &device, const TMK &edited, const TMK &merged);

// What a write does to what the device records: the parts it keeps as the device has them and
// the parts it writes from the settings (changed by the user, or restored).
struct RecordedPlan
{
    QStringList kept;
    QStringList written;
    // "Остаются как в МК: Журнал поездок, ...\nЗаписываются из настроек: ..."; one line per list.
    QString text() const;
};
RecordedPlan recordedPlan(const TMK &device, const TMK &toWrite);

} // namespace mk
