// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/DeviceRecorded.h"

#include <algorithm>

namespace mk {

namespace {

RecordedUnit single(int section, int begin, int end) { return {section, {{begin, end}}}; }

// Bytes [begin, end) of a record as units of `width` bytes (the last one shorter).
void addWords(std::vector<RecordedUnit> &units, int section, int begin, int end, int width)
{
    for (int at = begin; at < end; at += width)
        units.push_back(single(section, at, std::min(at + width, end)));
}

std::vector<RecordedPart> makeParts()
{
    std::vector<RecordedPart> parts;
    constexpr int journalBytes = kJournalEntryCount * kJournalEntrySize;

    // The bytes between the trip settings and the trip journal, and after the refuelling journal,
    // are the device's bookkeeping of its journals.
    RecordedPart trips{QStringLiteral("Журнал поездок"),
                       {single(kTripsSection, 12, kTripJournalOffset),
                        single(kTripsSection, kTripJournalOffset, kTripJournalOffset + journalBytes)}};
    RecordedPart tank{QStringLiteral("Журнал заправок"),
                      {single(kTripsSection, kTankJournalOffset, kTankJournalOffset + journalBytes),
                       single(kTripsSection, kTankJournalOffset + journalBytes, kRecordSizes[kTripsSection])}};
    RecordedPart errors{QStringLiteral("Журнал ошибок"), {single(kErrorsSection, 0, kRecordSizes[kErrorsSection])}};

    // Section 0 is the device's counters but for the reset periods (+104, +105, +134), which are settings.
    RecordedPart averages{QStringLiteral("Накопленные средние"), {}};
    std::vector<bool> inSet(size_t(kRecordSizes[kCountersSection]), false);
    for (const AccumulatorLayout &set : kAccumulatorLayouts) {
        RecordedUnit unit{kCountersSection, {}};
        for (const int field : {set.time, set.distance, set.fuel1, set.fuel2})
            if (field >= 0) {
                unit.spans.push_back({field, field + 4});
                std::fill_n(inSet.begin() + field, 4, true);
            }
        averages.units.push_back(unit);
    }
    const std::vector<ByteSpan> settingsBytes = {{kAllPathStartOffset, kAllPathStartOffset + 4}, {104, 106}, {134, 135}};
    for (const ByteSpan &s : settingsBytes)
        std::fill(inSet.begin() + s.begin, inSet.begin() + s.end, true);
    // The rest of the section, word by word: counters no field names yet.
    for (int at = 0; at < kRecordSizes[kCountersSection];) {
        if (inSet[size_t(at)]) {
            ++at;
            continue;
        }
        int end = at;
        while (end < kRecordSizes[kCountersSection] && !inSet[size_t(end)])
            ++end;
        addWords(averages.units, kCountersSection, at, end, 4);
        at = end;
    }
    RecordedPart distance{QStringLiteral("Общий пробег"),
                          {single(kCountersSection, kAllPathStartOffset, kAllPathStartOffset + 4)}};
    RecordedPart service{QStringLiteral("Счётчики ТО"), {}};
    addWords(service.units, kServiceSection, kServiceCounterOffset, kServiceCounterOffset + kServiceCounterCount, 1);

    for (RecordedPart *p : {&trips, &tank, &errors, &averages, &distance, &service})
        parts.push_back(std::move(*p));
    return parts;
}

} // namespace

const std::vector<RecordedPart> &deviceRecordedParts()
{
    static const std::vector<RecordedPart> parts = makeParts();
    return parts;
}

bool holdsDeviceRecorded(int section)
{
    for (const RecordedPart &part : deviceRecordedParts())
        for (const RecordedUnit &unit : part.units)
            if (unit.section == section)
                return true;
    return false;
}

QByteArray unitBytes(const QByteArray &record, const RecordedUnit &unit)
{
    QByteArray bytes;
    for (const ByteSpan &s : unit.spans)
        if (s.begin < record.size())
            bytes += record.mid(s.begin, std::min<qsizetype>(s.end, record.size()) - s.begin);
    return bytes;
}

void copyUnit(QByteArray &to, const QByteArray &from, const RecordedUnit &unit)
{
    for (const ByteSpan &s : unit.spans)
        for (int i = s.begin; i < s.end && i < to.size() && i < from.size(); ++i)
            to[i] = from[i];
}

} // namespace mk
