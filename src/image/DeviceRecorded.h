// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the device records and advances by itself in its memory, beside the settings: the trip,
// refuelling and error journals, the accumulated averages with the overall distance, and the
// service counters it counts down. A write keeps the device's own copy of these unless the user
// changed them since the settings were read or loaded (or restores a backup as a whole): a file
// or a read from last week must not take back the trips recorded since.
//
// Each part is cut into units, the bytes that are kept or written together: a journal is one
// unit (clearing it marks every entry), a set of averages is its time, distance and fuel fields,
// a service counter is its byte. A unit the user changed is written as the user left it; every
// other unit of the part is the device's.

#include "image/ImageLayout.h"

#include <QString>
#include <vector>

namespace mk {

// Trip and refuelling journals (section 6): 21 entries of 20 bytes each, entry 0 the latest.
constexpr int kJournalEntryCount = 21;
constexpr int kJournalEntrySize = 20;
constexpr int kTripJournalOffset = 16;
constexpr int kTankJournalOffset = 436;

// One set of averages (section 0): u32 seconds, metres and millilitres of each fuel;
// fuel2 < 0 where the set keeps one fuel.
struct AccumulatorLayout
{
    int time, distance, fuel1, fuel2;
};
constexpr int kAccumulatorSetCount = 8;
constexpr AccumulatorLayout kAccumulatorLayouts[kAccumulatorSetCount] = {
    {0, 4, 8, 136},    {12, 16, 20, 140},   {24, 28, 32, 144},   {36, 40, 44, 148},
    {48, 52, 56, 152}, {60, 64, 68, 156},   {108, 112, 116, -1}, {120, 124, 128, -1},
};
// Whole kilometres the overall set adds (u32, section 0).
constexpr int kAllPathStartOffset = 100;
// Service counters (section 4, one byte each): thousands of kilometres left until each service.
constexpr int kServiceCounterOffset = 0;
constexpr int kServiceCounterCount = 7;

struct ByteSpan
{
    int begin, end; // record bytes [begin, end)
};

struct RecordedUnit
{
    int section;
    std::vector<ByteSpan> spans;
};

struct RecordedPart
{
    QString caption; // "Журнал поездок"
    std::vector<RecordedUnit> units;
};

const std::vector<RecordedPart> &deviceRecordedParts();
// Whether any part lies in the section.
bool holdsDeviceRecorded(int section);

// The unit's bytes of a record (as far as the record reaches), back to back.
QByteArray unitBytes(const QByteArray &record, const RecordedUnit &unit);
// Puts `from`'s bytes of the unit into `to`.
void copyUnit(QByteArray &to, const QByteArray &from, const RecordedUnit &unit);

} // namespace mk
