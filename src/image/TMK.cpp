// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/TMK.h"

#include <algorithm>

#include "base/Error.h"
#include "image/DefaultRecords.h"

#include <cstring>

namespace mk {

TMK::TMK() : m_records(defaultRecords())
{
    for (OscBlock &block : m_osc)
        block.header = defaultOscHeader();
}

std::array<Record, kSectionCount> TMK::defaultRecords()
{
    static const std::array<Record, kSectionCount> records = makeDefaultRecords();
    return records;
}

QByteArray TMK::colourPreset(int number) { return makeColourPreset(number); }

void TMK::replaceImage(quint16 modelCode, const QByteArray &image)
{
    m_modelCode = modelCode;
    m_image = image;
    m_baseImage = image;
    m_records = defaultRecords();
    for (OscBlock &block : m_osc)
        block = OscBlock{defaultOscHeader(), QByteArray(kOscSampleCount, '\0')};
    decodeAll();
}

bool TMK::sectionHeld(int section) const
{
    const SectionEntry entry = header().sections[size_t(section)];
    return entry.usable() && qint64(entry.contentPos()) + entry.contentLength() <= m_image.size();
}

QList<int> TMK::missingSections() const
{
    QList<int> missing;
    // A header cut short names nothing reliably: every section counts as missing.
    const quint32 named =
        m_image.size() < kHeaderSize ? (hasImage() ? kSectionCount : 0) : qMin<quint32>(header().count, kSectionCount);
    for (int k = 0; k < int(named); ++k)
        if (!sectionHeld(k))
            missing.append(k);
    return missing;
}

QList<int> TMK::tangledSections() const
{
    if (m_image.size() < kHeaderSize)
        return {};
    const ImageHeader h = header();
    const int named = int(qMin<quint32>(h.count, kSectionCount));
    QList<int> tangled;
    const auto mark = [&tangled](int k) {
        if (!tangled.contains(k))
            tangled.append(k);
    };
    int previous = -1; // the last named section with content
    for (int k = 0; k < named; ++k) {
        const SectionEntry e = h.sections[size_t(k)];
        if (!e.usable() || e.contentLength() <= 0)
            continue;
        if (e.contentPos() < kHeaderSize)
            mark(k);
        if (previous >= 0 && e.address < h.sections[size_t(previous)].address)
            mark(previous), mark(k);
        for (int j = 0; j < k; ++j) {
            const SectionEntry o = h.sections[size_t(j)];
            if (o.usable() && o.contentLength() > 0 && e.contentPos() < o.contentPos() + o.contentLength() &&
                o.contentPos() < e.contentPos() + e.contentLength())
                mark(j), mark(k);
        }
        previous = k;
    }
    std::sort(tangled.begin(), tangled.end());
    return tangled;
}

void TMK::checkFeatureKey() const
{
    if (protocolId() > 255)
        throw RangeError(QStringLiteral("номер протокола"), protocolId(), 0, 255);
    if (settingsVersion() > 255)
        throw RangeError(QStringLiteral("версия настроек"), settingsVersion(), 0, 255);
}

void TMK::decodeSection(int section)
{
    Record &rec = record(section);
    if (rec.size() == 0)
        return;
    // An absent section never keeps what an earlier image put into its record.
    if (!sectionHeld(section)) {
        rec = defaultRecords()[size_t(section)];
        return;
    }
    const SectionEntry entry = header().sections[size_t(section)];
    const int wanted = qMin(entry.contentLength(), rec.size());
    std::memcpy(rec.bytes().data(), m_image.constData() + entry.contentPos(), size_t(wanted));
}

// A section the image does not hold is left alone: growing the image would make a file cut short
// look complete, and the device would then get the records' defaults. Otherwise the record is
// written over the section's declared content only, so that the device's trailing bytes and the
// next section are never overwritten by a record larger than the firmware's section.
void TMK::encodeSection(int section)
{
    const Record &rec = record(section);
    if (rec.size() == 0 || !sectionHeld(section))
        return;
    const SectionEntry entry = header().sections[size_t(section)];
    const int len = qMin(entry.contentLength(), rec.size());
    if (len > 0)
        std::memcpy(m_image.data() + entry.contentPos(), rec.bytes().constData(), size_t(len));
}

void TMK::decodeAll()
{
    for (int k = 0; k < kSectionCount; ++k)
        if (k != kUndecodedSection)
            decodeSection(k);
}

void TMK::encodeAll()
{
    for (int k = 0; k < kSectionCount; ++k)
        if (k != kUndecodedSection)
            encodeSection(k);
}

void TMK::readOscBlocks()
{
    for (int b = 0; b < 2; ++b) {
        const int pos = kOscBlockPos[b];
        OscBlock &block = m_osc[size_t(b)];
        const int total = kOscHeaderSize + kOscSampleCount;
        const int available = qBound(0, int(m_image.size()) - pos, total);
        for (int i = 0; i < available; ++i) {
            const char byte = m_image[pos + i];
            if (i < kOscHeaderSize)
                block.header[i] = byte;
            else
                block.samples[i - kOscHeaderSize] = byte;
        }
    }
}

} // namespace mk
