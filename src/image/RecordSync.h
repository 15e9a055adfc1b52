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

#include "image/TMK.h"

#include <QList>
#include <QString>
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
// The warning to show after loading settings that lack sections their header names; empty
// when nothing is missing.
QString incompleteSettingsWarning(const TMK &model);
// Throws Error naming the missing sections: settings that lack a section never go to a device.
void requireCompleteSettings(const TMK &model);

// The device's image with the held records of `edited` merged in: every section the edited
// image does not hold keeps the device's bytes, and section 11 is always the device's.
TMK mergeRecords(const TMK &edited, quint16 modelCode, const QByteArray &deviceImage);

} // namespace mk
