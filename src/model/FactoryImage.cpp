#include "model/FactoryImage.h"

#include "model/DefaultRecords.h"
#include "model/TMK.h"
#include "model/Text.h"

#include <QtMath>

namespace mk {

namespace {

struct JournalSample
{
    int minutes, day, month;
    quint32 seconds, metres, fuel1, fuel2;
};

void putJournal(Record &s6, int base, std::initializer_list<JournalSample> entries)
{
    int i = 0;
    for (const JournalSample &e : entries) {
        const int off = base + 20 * i++;
        s6.setU16(off, quint16(e.minutes));
        s6.setU8(off + 2, quint8(e.day));
        s6.setU8(off + 3, quint8(e.month));
        s6.setU32(off + 4, e.seconds);
        s6.setU32(off + 8, e.metres);
        s6.setU32(off + 12, e.fuel1);
        s6.setU32(off + 16, e.fuel2);
    }
}

void fillSampleData(std::array<Record, kSectionCount> &r)
{
    // Accumulators of section 0: overall, trip, reset 1 and the rest, seconds/metres/millilitres.
    Record &s0 = r[0];
    const quint32 sets[][4] = {{1843200, 38250000, 3260000, 0}, {2700, 41300, 3600, 0},
                               {86400, 1520000, 128000, 0}, {20160, 95000, 14200, 0},
                               {66240, 1425000, 113800, 0}, {14400, 512000, 41200, 0}};
    for (int s = 0; s < 6; ++s) {
        s0.setU32(12 * s, sets[s][0]);
        s0.setU32(12 * s + 4, sets[s][1]);
        s0.setU32(12 * s + 8, sets[s][2]);
    }
    s0.setU32(100, 120000); // km on the odometer when the device was fitted

    // Trip journal at +16 and refuelling journal at +436 of section 6, latest first.
    Record &s6 = r[6];
    putJournal(s6, 16, {{1065, 6, 12, 2700, 41300, 3600, 0},
                        {495, 6, 12, 1980, 23800, 2150, 0},
                        {1130, 5, 12, 5400, 96200, 7400, 0},
                        {470, 5, 12, 0, 0, 0, 0}});
    putJournal(s6, 436, {{1110, 4, 12, 0, 512000, 41200, 0},
                         {720, 21, 11, 0, 498000, 40100, 0}});

    // Error journal of section 12: P0133 with a freeze frame.
    Record &s12 = r[12];
    s12.setRaw(4, QByteArray::fromHex("fe3fa813a0000000c0000000"));
    s12.setU16(16, 1062);
    s12.setU8(18, 6);
    s12.setU8(19, 12);
    s12.setU32(20, 0x0133);
    s12.setU32(24, 0x0133);
    const quint16 frame[] = {0x0202, 0, 42, 91, 3, 7, 104, 96, 0, 0, 2450, 63, 12, 38, 19};
    for (int i = 0; i < int(std::size(frame)); ++i)
        s12.setU16(28 + 2 * i, frame[i]);
}

void putOscBlock(QByteArray &image, int pos, double phase)
{
    if (pos + kOscHeaderSize + kOscSampleCount > image.size())
        return;
    const QByteArray header = defaultOscHeader();
    for (int i = 0; i < kOscHeaderSize; ++i)
        image[pos + i] = header[i];
    // An injector-like pulse train on a slowly swinging baseline.
    for (int i = 0; i < kOscSampleCount; ++i) {
        const double base = 128 + 60 * qSin(phase + 2 * M_PI * i / 170.0);
        const double pulse = (i % 64) < 10 ? 55 : 0;
        image[pos + kOscHeaderSize + i] = char(qBound(0, int(base + pulse), 255));
    }
}

} // namespace

QByteArray makeFactoryImage(quint16 modelCode, quint32 settingsVersion, int memorySize)
{
    Q_UNUSED(modelCode);
    QByteArray image(memorySize - 2 * kAddressBase, '\0');
    ImageHeader header;
    header.count = kSectionCount;
    header.version = settingsVersion;
    int pos = kHeaderSize;
    for (int k = 0; k < kSectionCount; ++k) {
        const int size = k == kUndecodedSection ? kFactorySection11Size : kRecordSizes[size_t(k)];
        header.sections[size_t(k)] = {quint16(pos + kAddressBase), quint16(size + kSectionTrailer)};
        pos += size + kSectionTrailer;
    }
    header.writeTo(image);

    auto records = makeDefaultRecords();
    fillSampleData(records);
    for (int k = 0; k < kSectionCount; ++k) {
        const SectionEntry e = header.sections[size_t(k)];
        if (k == kUndecodedSection) {
            for (int i = 0; i < e.contentLength(); ++i)
                image[e.contentPos() + i] = char(0xA0 + i);
        } else {
            image.replace(e.contentPos(), records[size_t(k)].size(), records[size_t(k)].bytes());
        }
        // The device's own trailing bytes: a marker and a checksum-like word.
        const int tail = e.contentPos() + e.contentLength();
        image[tail] = char(0x5A);
        image[tail + 1] = char(k);
        image[tail + 2] = char(0xC3);
        image[tail + 3] = char(0x3C ^ k);
    }
    putOscBlock(image, kOscBlockPos[0], 0.0);
    putOscBlock(image, kOscBlockPos[1], 1.3);
    return image;
}

} // namespace mk
