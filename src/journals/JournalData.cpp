// SPDX-License-Identifier: GPL-3.0-or-later
#include "journals/JournalData.h"

#include "base/Error.h"

#include <cmath>

namespace mk {

namespace {

// The caption the viewer shows above each set's grid, in the order of kAccumulatorLayouts.
const char *const kSetCaptions[kAccumulatorSetCount] = {
    "Накопительные / Общие",        "Поездка",       "Сброс 1",   "Пробки", "Без пробок",
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
    const JournalEntryLayout &l = kJournalEntryLayout;
    JournalEntry e;
    e.minutes = quint16(entryField(s6, off, l.minutes));
    e.day = quint8(entryField(s6, off, l.day));
    e.month = quint8(entryField(s6, off, l.month));
    e.seconds = entryField(s6, off, l.seconds);
    e.metres = entryField(s6, off, l.metres);
    e.fuel1 = entryField(s6, off, l.fuel1);
    e.fuel2 = entryField(s6, off, l.fuel2);
    return e;
}

void setJournalEntry(Record &s6, JournalKind kind, int index, const JournalEntry &e)
{
    const int off = entryOffset(kind, index);
    const JournalEntryLayout &l = kJournalEntryLayout;
    setEntryField(s6, off, l.minutes, e.minutes);
    setEntryField(s6, off, l.day, e.day);
    setEntryField(s6, off, l.month, e.month);
    setEntryField(s6, off, l.seconds, e.seconds);
    setEntryField(s6, off, l.metres, e.metres);
    setEntryField(s6, off, l.fuel1, e.fuel1);
    setEntryField(s6, off, l.fuel2, e.fuel2);
}

void clearJournal(Record &s6, JournalKind kind)
{
    for (int k = 0; k < kJournalEntryCount; ++k)
        setEntryField(s6, entryOffset(kind, k), kJournalEntryLayout.day, 0);
}

Prices prices(const Record &s6)
{
    return {s6.u16(layout::kPriceExpense.offset), s6.u16(layout::kPriceTime.offset), s6.u16(layout::kPricePath.offset),
            s6.u16(layout::kPriceGas.offset)};
}

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
    const ErrorEntryLayout &l = kErrorEntryLayout;
    ErrorEntry e;
    e.minutes = quint16(entryField(s12, off, l.minutes));
    e.day = quint8(entryField(s12, off, l.day));
    e.month = quint8(entryField(s12, off, l.month));
    e.code = entryField(s12, off, l.code);
    e.frameCode = entryField(s12, off, l.frameCode);
    for (int i = 0; i < int(e.values.size()); ++i)
        e.values[size_t(i)] = qint16(entryField(s12, off, {l.values.offset + 2 * i, 2}));
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
        setEntryField(s12, off, kErrorEntryLayout.code, 0);
        setEntryField(s12, off, kErrorEntryLayout.frameCode, 0);
    }
}

} // namespace mk
