// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The model of the whole program: the settings image, its section records and the model code.

#include "image/ImageLayout.h"
#include "image/Record.h"
#include "image/RecordLayout.h"

#include <QByteArray>
#include <QList>
#include <array>

namespace mk {

struct OscBlock
{
    QByteArray header = QByteArray(kOscHeaderSize, '\0');
    QByteArray samples = QByteArray(kOscSampleCount, '\0');
};

class TMK
{
public:
    TMK();

    // The image as read from the device or loaded from a file.
    const QByteArray &image() const { return m_image; }
    // Replaces model code and image together and decodes all sections: no record or oscilloscope
    // block of the image held before survives.
    void replaceImage(quint16 modelCode, const QByteArray &image);
    void setImage(const QByteArray &image) { m_image = image; }
    // The image as it was when replaceImage() last put it here: what was read or loaded, before
    // any edit of this session. A write tells by it what the user changed of what the device records.
    const QByteArray &baseImage() const { return m_baseImage; }
    bool hasImage() const { return !m_image.isEmpty(); }

    quint16 modelCode() const { return m_modelCode; }
    void setModelCode(quint16 code) { m_modelCode = code; }

    ImageHeader header() const { return ImageHeader::parse(m_image); }
    quint32 settingsVersion() const { return header().version; }
    // Protocol id as stored in the vehicle section's record.
    quint16 protocolId() const { return m_records[kVehicleSection].u16(layout::kProtocol.offset); }
    // The protocol id and settings version must each fit a byte for the model-table lookup.
    void checkFeatureKey() const;

    Record &record(int section) { return m_records.at(size_t(section)); }
    const Record &record(int section) const { return m_records.at(size_t(section)); }

    // Whether the image holds section k: its header entry places the whole content inside it.
    // A section the image does not hold is absent: decoding it gives the record a fresh model
    // holds, and encoding it writes nothing.
    bool sectionHeld(int section) const;
    // Sections the header names (the first N entries) whose content the image does not hold:
    // a file cut short, or a damaged table. Such settings must not go to a device.
    QList<int> missingSections() const;
    // Sections the header names whose content lies in the header, overlaps another named
    // section's, or starts before the one named before it: a damaged table, where one setting
    // would land in two places. Such settings must not be edited or go to a device either.
    QList<int> tangledSections() const;

    void decodeSection(int section);
    void encodeSection(int section);
    void decodeAll();
    void encodeAll();

    // Copies the two oscilloscope blocks out of the image (as far as it reaches).
    void readOscBlocks();
    OscBlock &osc(int block) { return m_osc.at(size_t(block)); }
    const OscBlock &osc(int block) const { return m_osc.at(size_t(block)); }

    // Colour-scheme presets 1..4: 16 RGB565 colours, 23 index bytes, one zero byte.
    static QByteArray colourPreset(int number);
    static constexpr int kPresetSize = 56;

    // Records as a fresh model holds them.
    static std::array<Record, kSectionCount> defaultRecords();

private:
    quint16 m_modelCode = 1;
    QByteArray m_image;
    QByteArray m_baseImage;
    std::array<Record, kSectionCount> m_records;
    std::array<OscBlock, 2> m_osc;
};

} // namespace mk
