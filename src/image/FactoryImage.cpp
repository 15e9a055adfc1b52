// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/FactoryImage.h"

#include "base/Text.h"
#include "image/DefaultRecords.h"
#include "image/DeviceRecorded.h"
#include "image/TMK.h"

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
        const int off = base + kJournalEntrySize * i++;
        const JournalEntryLayout &l = kJournalEntryLayout;
        setEntryField(s6, off, l.minutes, quint32(e.minutes));
        setEntryField(s6, off, l.day, quint32(e.day));
        setEntryField(s6, off, l.month, quint32(e.month));
        setEntryField(s6, off, l.seconds, e.seconds);
        setEntryField(s6, off, l.metres, e.metres);
        setEntryField(s6, off, l.fuel1, e.fuel1);
        setEntryField(s6, off, l.fuel2, e.fuel2);
    }
}

// A freeze-frame value and where it lies in the error entry.
struct FrameSample
{
    FrameValueSlot slot;
    qint16 value;
};

void putErrorEntry(Record &s12, int index, int minutes, int day, int month, quint32 code, quint32 frameCode,
                   std::initializer_list<FrameSample> frame)
{
    const int off = kErrorEntriesOffset + kErrorEntrySize * index;
    const ErrorEntryLayout &l = kErrorEntryLayout;
    setEntryField(s12, off, l.minutes, quint32(minutes));
    setEntryField(s12, off, l.day, quint32(day));
    setEntryField(s12, off, l.month, quint32(month));
    setEntryField(s12, off, l.code, code);
    setEntryField(s12, off, l.frameCode, frameCode);
    for (const FrameSample &f : frame)
        setEntryField(s12, off, {f.slot.entryOffset, 2}, quint16(f.value));
}

void setSupported(Record &s12, std::initializer_list<int> values)
{
    for (int p : values) {
        const int byte = kSupportedBitmapOffset + (p - 1) / 8;
        s12.setU8(byte, quint8(s12.u8(byte) | (0x80 >> ((p - 1) % 8))));
    }
}

void fillSampleData(std::array<Record, kSectionCount> &r)
{
    // Accumulator sets of section 0: seconds, metres, petrol and gas millilitres.
    Record &s0 = r[kCountersSection];
    // Seconds, metres, petrol and gas millilitres of each set, in the order of kAccumulatorLayouts.
    const quint32 sets[kAccumulatorSetCount][4] = {
        {1843200, 38250000, 3260000, 412000}, // overall
        {2700, 41300, 3600, 0},               // trip
        {86400, 1520000, 128000, 9200},       // reset 1
        {20160, 95000, 14200, 0},             // traffic jams
        {66240, 1425000, 113800, 9200},       // free driving
        {14400, 512000, 41200, 0},            // between refuellings
        {1650000, 33100000, 3260000, 0},      // petrol only
        {193200, 5150000, 412000, 0},         // gas only
    };
    for (int n = 0; n < kAccumulatorSetCount; ++n) {
        const AccumulatorLayout &set = kAccumulatorLayouts[n];
        s0.setU32(set.time, sets[n][0]);
        s0.setU32(set.distance, sets[n][1]);
        s0.setU32(set.fuel1, sets[n][2]);
        if (set.fuel2 >= 0)
            s0.setU32(set.fuel2, sets[n][3]);
    }
    s0.setU32(kAllPathStartOffset, 120000); // km on the odometer when the device was fitted

    // Prices per litre of gas; petrol and distance keep their defaults.
    Record &s6 = r[kTripsSection];
    s6.setU16(layout::kPriceGas.offset, 120);
    // The trip and refuelling journals of section 6, latest first.
    putJournal(s6, kTripJournalOffset,
               {{1065, 6, 12, 2700, 41300, 3600, 0},
                {495, 6, 12, 1980, 23800, 2150, 0},
                {1130, 5, 12, 5400, 96200, 7400, 0},
                {470, 5, 12, 0, 0, 0, 0},
                {800, 4, 12, 10800, 212000, 3100, 15800},
                {545, 3, 12, 1560, 18400, 1900, 0},
                {1170, 1, 12, 4200, 61800, 5200, 0},
                {480, 1, 12, 2100, 24100, 2600, 0}});
    putJournal(s6, kTankJournalOffset,
               {{1110, 4, 12, 64800, 512000, 41200, 0},
                {720, 21, 11, 59400, 498000, 40100, 0},
                {610, 7, 11, 71000, 530500, 44800, 2000}});

    // Error journal of section 12: two errors with freeze frames, two without.
    Record &s12 = r[kErrorsSection];
    setSupported(s12, {1, 2, 3, 4, 5, 6, 7, 11, 12, 13, 14, 15, 16, 17, 20, 21, 31, 33, 51, 66, 70});
    putErrorEntry(s12, 0, 1122, 6, 12, 0x0133, 0x0133,
                  {{frame::kFuelSystem, 0x0202},
                   {frame::kEngineLoad, 34},
                   {frame::kCoolantTemp, 88},
                   {frame::kShortTrimB1, 3},
                   {frame::kLongTrimB1, -2},
                   {frame::kIntakePressure, 41},
                   {frame::kRevolutions, 2140},
                   {frame::kSpeed, 63},
                   {frame::kIgnitionAdvance, 124},
                   {frame::kIntakeAirTemp, 19},
                   {frame::kAirFlow, 186},
                   {frame::kThrottle, 17},
                   {frame::kOxygenSensor1, 45},
                   {frame::kOxygenSensor2, 71},
                   {frame::kRunTime, 1312},
                   {frame::kDistanceWithLamp, 0},
                   {frame::kBarometricPressure, 99},
                   {frame::kModuleVoltage, 141},
                   {frame::kAmbientAirTemp, -3}});
    putErrorEntry(s12, 1, 495, 2, 12, 0x0300, 0x0300,
                  {{frame::kFuelSystem, 0x0101},
                   {frame::kEngineLoad, 22},
                   {frame::kCoolantTemp, 41},
                   {frame::kShortTrimB1, -5},
                   {frame::kLongTrimB1, 1},
                   {frame::kIntakePressure, 33},
                   {frame::kRevolutions, 820},
                   {frame::kSpeed, 0},
                   {frame::kIgnitionAdvance, 80},
                   {frame::kIntakeAirTemp, 4},
                   {frame::kAirFlow, 92},
                   {frame::kThrottle, 3},
                   {frame::kOxygenSensor1, 12},
                   {frame::kOxygenSensor2, 65},
                   {frame::kRunTime, 95},
                   {frame::kDistanceWithLamp, 0},
                   {frame::kBarometricPressure, 100},
                   {frame::kModuleVoltage, 138},
                   {frame::kAmbientAirTemp, -6}});
    putErrorEntry(s12, 2, 1023, 28, 11, 0x0171, 0, {});
    putErrorEntry(s12, 3, 580, 15, 11, 0xC100, 0, {});

    // Oscilloscope choices of section 10: 10 ms/div, 0.5 V/div, divider 1 : 1, trigger level 20.
    Record &s10 = r[kVehicleSection];
    s10.setU8(kOscTimeDivOffset, 4);
    s10.setU8(kOscVoltDivOffset, 1);
    s10.setU8(kOscInDividerOffset, 0);
    s10.setU16(kOscTrigLevelOffset, 20);
}

// An injector signal: supply level with ripple, the injector pulling it low, then the
// flyback spike. Sample i of the whole 1024-sample record.
int injectorSample(int i)
{
    const int t = (i + 160 - 32) % 160; // the capture triggers on the falling edge at sample 32
    if (t < 26)
        return 9 + (t % 3);
    if (t < 30) {
        const int spike[] = {196, 168, 141, 122};
        return spike[t - 26];
    }
    return qRound(108 + 3 * qSin(2 * M_PI * i / 37.0));
}

void putOscBlock(QByteArray &image, int block)
{
    const int pos = kOscBlockPos[block];
    if (pos + kOscHeaderSize + kOscSampleCount > image.size())
        return;
    const QByteArray header = defaultOscHeader();
    for (int i = 0; i < kOscHeaderSize; ++i)
        image[pos + i] = header[i];
    for (int i = 0; i < kOscSampleCount; ++i)
        image[pos + kOscHeaderSize + i] = char(qBound(0, injectorSample(block * kOscSampleCount + i), 255));
}

} // namespace

namespace {

QByteArray makeImage(quint32 settingsVersion, int memorySize, bool withSamples)
{
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
    if (withSamples)
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
    if (withSamples) {
        putOscBlock(image, 0);
        putOscBlock(image, 1);
    }
    return image;
}

} // namespace

QByteArray makeFreshImage(quint16 modelCode, quint32 settingsVersion, int memorySize)
{
    Q_UNUSED(modelCode);
    return makeImage(settingsVersion, memorySize, false);
}

QByteArray makeFactoryImage(quint16 modelCode, quint32 settingsVersion, int memorySize)
{
    Q_UNUSED(modelCode);
    return makeImage(settingsVersion, memorySize, true);
}

} // namespace mk
