// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the device records beside its settings: trip and refuelling journals (section 6),
// accumulator sets (section 0) and the error journal with freeze frames (section 12).

#include "image/DeviceRecorded.h"
#include "image/Record.h"

#include <QString>
#include <array>

namespace mk {

// --- Trip and refuelling journals (section 6) ---

enum class JournalKind { Trip, Tank };

struct JournalEntry
{
    quint16 minutes = 0; // time of day
    quint8 day = 0;      // 0 marks an empty entry
    quint8 month = 0;
    quint32 seconds = 0; // time on the road
    quint32 metres = 0;
    quint32 fuel1 = 0; // petrol, millilitres
    quint32 fuel2 = 0; // gas, millilitres

    bool empty() const { return day == 0; }
    quint64 fuel() const { return quint64(fuel1) + fuel2; }
};

int journalOffset(JournalKind kind);
JournalEntry journalEntry(const Record &s6, JournalKind kind, int index);
void setJournalEntry(Record &s6, JournalKind kind, int index, const JournalEntry &entry);
// Marks all 21 entries empty; the rest of each entry stays as it was.
void clearJournal(Record &s6, JournalKind kind);

// Prices of section 6 (u16 each).
struct Prices
{
    quint16 expense = 0; // per litre of fuel 1
    quint16 time = 0;    // per hour
    quint16 path = 0;    // per kilometre
    quint16 gas = 0;     // per litre of fuel 2
};
Prices prices(const Record &s6);
// (km × path + l1 × expense + l2 × gas + s/360 × time) / 10, rounded to the one decimal shown
double journalCost(const JournalEntry &entry, const Prices &prices);

// --- Accumulator sets (section 0) ---

enum class AccumulatorSet { Overall, Trip, Reset1, Jams, FreeDriving, BetweenRefuellings, PetrolOnly, GasOnly };
constexpr std::array<AccumulatorSet, kAccumulatorSetCount> kAccumulatorSets = {
    AccumulatorSet::Overall,    AccumulatorSet::Trip,        AccumulatorSet::Reset1,
    AccumulatorSet::Jams,       AccumulatorSet::FreeDriving, AccumulatorSet::BetweenRefuellings,
    AccumulatorSet::PetrolOnly, AccumulatorSet::GasOnly};

struct Accumulators
{
    quint32 seconds = 0;
    quint32 metres = 0;
    quint32 fuel1 = 0;
    quint32 fuel2 = 0; // 0 for the sets that keep only one fuel
    quint64 fuel() const { return quint64(fuel1) + fuel2; }
};

// The caption the viewer shows above the set's grid.
QString accumulatorCaption(AccumulatorSet set);
Accumulators accumulators(const Record &s0, AccumulatorSet set);
// Whole kilometres the overall set adds (AllPathStart); a negative value is a RangeError.
quint32 allPathStartKm(const Record &s0);
// Writes 0 to time, distance and every fuel field of the set.
void clearAccumulators(Record &s0, AccumulatorSet set);

// --- Error journal (section 12) ---

// Freeze-frame values are numbered like the supported-values bitmap: p = 3..42.
constexpr int kFirstFrameValue = 3;
constexpr int kLastFrameValue = 42;

struct ErrorEntry
{
    quint16 minutes = 0;
    quint8 day = 0;
    quint8 month = 0;
    quint32 code = 0;      // 0 marks an empty entry
    quint32 frameCode = 0; // code the freeze frame was taken for; 0: no freeze frame
    std::array<qint16, kLastFrameValue - kFirstFrameValue + 1> values{};

    bool empty() const { return code == 0; }
    // The value stored at entry offset 12 + 2·(p − 3).
    qint16 valueAtOffset(int entryOffset) const
    {
        return values.at(size_t((entryOffset - kErrorEntryLayout.values.offset) / 2));
    }
};

ErrorEntry errorEntry(const Record &s12, int index);
// Value number p (1..96) of the supported-values bitmap.
bool valueSupported(const Record &s12, int p);
// Zeroes the bitmap and the code and freeze-frame code of all 7 entries.
void clearErrorJournal(Record &s12);

} // namespace mk
