// SPDX-License-Identifier: GPL-3.0-or-later
#include "journals/JournalData.h"

#include "base/Error.h"

#include <cmath>

namespace mk {

namespace {

// The caption the viewer shows above each set's grid, in the order of kAccumulatorLayouts.
const char *const kSetCaptions[kAccumulatorSetCount] = {
    "Накопительные / Общие", "Поездка",    "Сброс 1",       "Пробки", "Без пробок",
    "Сброс 2 ( Между заправками )", "Только бензин", "Только газ"};

const AccumulatorLayout &layoutOf(AccumulatorSet set) { return kAccumulatorLayouts[int(set)]; }

int entryOffset(JournalKind kind, int index)
{
    Q_ASSERT(index >= 0 && index < kJournalEntryCount);
    return journalOffset(kind) + kJournalEntrySize * index;
}

} // namespace

int journalOffset(JournalKind kind) { return kind == JournalKind::Trip ? kTripJournalOffset : kTankJournalOffset; }

JournalEntry journalEntry(const Record &s6, JournalKind kind, int index)
{
    const int off = entryOffset(kind, index);
    JournalEntry e;
    e.minutes = s6.u16(off);
    e.day = s6.u8(off + 2);
    e.month = s6.u8(off + 3);
    e.seconds = s6.u32(off + 4);
    e.metres = s6.u32(off + 8);
    e.fuel1 = s6.u32(off + 12);
    e.fuel2 = s6.u32(off + 16);
    return e;
}

void setJournalEntry(Record &s6, JournalKind kind, int index, const JournalEntry &e)
{
    const int off = entryOffset(kind, index);
    s6.setU16(off, e.minutes);
    s6.setU8(off + 2, e.day);
    s6.setU8(off + 3, e.month);
    s6.setU32(off + 4, e.seconds);
    s6.setU32(off + 8, e.metres);
    s6.setU32(off + 12, e.fuel1);
    s6.setU32(off + 16, e.fuel2);
}

void clearJournal(Record &s6, JournalKind kind)
{
    for (int k = 0; k < kJournalEntryCount; ++k)
        s6.setU8(entryOffset(kind, k) + 2, 0);
}

Prices prices(const Record &s6) { return {s6.u16(0), s6.u16(2), s6.u16(4), s6.u16(6)}; }

double journalCost(const JournalEntry &e, const Prices &p)
{
    const double cost = (e.metres / 1000.0 * p.path + e.fuel1 / 1000.0 * p.expense + e.fuel2 / 1000.0 * p.gas +
                         e.seconds / 360.0 * p.time) /
                        10.0;
    // Shown with one decimal; totals add the costs as shown.
    return std::round(cost * 10.0) / 10.0;
}

QString accumulatorCaption(AccumulatorSet set) { return QString::fromUtf8(kSetCaptions[int(set)]); }

Accumulators accumulators(const Record &s0, AccumulatorSet set)
{
    const AccumulatorLayout &l = layoutOf(set);
    Accumulators a;
    a.seconds = s0.u32(l.time);
    a.metres = s0.u32(l.distance);
    a.fuel1 = s0.u32(l.fuel1);
    a.fuel2 = l.fuel2 >= 0 ? s0.u32(l.fuel2) : 0;
    return a;
}

quint32 allPathStartKm(const Record &s0)
{
    const qint32 km = s0.s32(kAllPathStartOffset);
    if (km < 0)
        throw RangeError();
    return quint32(km);
}

void clearAccumulators(Record &s0, AccumulatorSet set)
{
    const AccumulatorLayout &l = layoutOf(set);
    s0.setU32(l.time, 0);
    s0.setU32(l.distance, 0);
    s0.setU32(l.fuel1, 0);
    if (l.fuel2 >= 0)
        s0.setU32(l.fuel2, 0);
}

ErrorEntry errorEntry(const Record &s12, int index)
{
    Q_ASSERT(index >= 0 && index < kErrorEntryCount);
    const int off = kErrorEntriesOffset + kErrorEntrySize * index;
    ErrorEntry e;
    e.minutes = s12.u16(off);
    e.day = s12.u8(off + 2);
    e.month = s12.u8(off + 3);
    e.code = s12.u32(off + 4);
    e.frameCode = s12.u32(off + 8);
    for (int i = 0; i < int(e.values.size()); ++i)
        e.values[size_t(i)] = s12.s16(off + 12 + 2 * i);
    return e;
}

bool valueSupported(const Record &s12, int p)
{
    if (p < 1 || p > 8 * kSupportedBitmapSize)
        return false;
    const quint8 byte = s12.u8(kSupportedBitmapOffset + (p - 1) / 8);
    return (byte >> (7 - (p - 1) % 8)) & 1;
}

void clearErrorJournal(Record &s12)
{
    s12.setRaw(kSupportedBitmapOffset, QByteArray(kSupportedBitmapSize, '\0'));
    for (int i = 0; i < kErrorEntryCount; ++i) {
        const int off = kErrorEntriesOffset + kErrorEntrySize * i;
        s12.setU32(off + 4, 0);
        s12.setU32(off + 8, 0);
    }
}

} // namespace mk
