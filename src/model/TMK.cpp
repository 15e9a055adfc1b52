#include "model/TMK.h"

#include "model/DefaultRecords.h"
#include "model/Error.h"

#include <cstring>

namespace mk {

TMK::TMK() : m_records(defaultRecords())
{
    for (OscBlock &block : m_osc)
        block.header = defaultOscHeader();
}

std::array<Record, kSectionCount> TMK::defaultRecords()
{
    return makeDefaultRecords();
}

QByteArray TMK::colourPreset(int number)
{
    return makeColourPreset(number);
}

void TMK::replaceImage(quint16 modelCode, const QByteArray &image)
{
    m_modelCode = modelCode;
    m_image = image;
    decodeAll();
}

void TMK::checkFeatureKey() const
{
    if (protocolId() > 255 || settingsVersion() > 255)
        throw RangeError();
}

void TMK::decodeSection(int section)
{
    Record &rec = record(section);
    const SectionEntry entry = header().sections[size_t(section)];
    if (!entry.usable() || rec.size() == 0)
        return;
    const int pos = entry.contentPos();
    const int wanted = qMin(entry.contentLength(), rec.size());
    const int available = qBound(0, int(m_image.size()) - pos, wanted);
    if (available > 0)
        std::memcpy(rec.bytes().data(), m_image.constData() + pos, size_t(available));
}

// A section whose address lies in the header or whose declared length is below the device's
// trailer has no place in the image: it is left alone. Otherwise the record is written over the
// section's declared content only, so that the device's trailing bytes and the next section are
// never overwritten by a record larger than the firmware's section; the image grows when the
// content lies past its end.
void TMK::encodeSection(int section)
{
    const Record &rec = record(section);
    const SectionEntry entry = header().sections[size_t(section)];
    if (!entry.usable() || rec.size() == 0)
        return;
    const int pos = entry.contentPos();
    const int len = qMin(entry.contentLength(), rec.size());
    if (len <= 0)
        return;
    if (m_image.size() < pos + len)
        m_image.append(QByteArray(pos + len - int(m_image.size()), '\0'));
    std::memcpy(m_image.data() + pos, rec.bytes().constData(), size_t(len));
}

void TMK::decodeAll()
{
    for (int k = 0; k <= 10; ++k)
        decodeSection(k);
    decodeSection(12);
}

void TMK::encodeAll()
{
    for (int k = 0; k <= 10; ++k)
        encodeSection(k);
    encodeSection(12);
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
