// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Full dates for journal entries, which the device records without a year.

#include <QDateTime>
#include <QList>

namespace mk {

// A moment as a journal entry records it.
struct YearlessMoment
{
    quint8 month = 0;
    quint8 day = 0;
    quint16 minutes = 0; // time of day
};

struct PlacedYear
{
    int year = 0;
    bool uncertain = false; // the date exists in no year (31 April, month 13 ...)
};

// Years for the entries of one journal, latest first, read at readTime. The latest entry gets the
// latest year that puts it not after the read; each older entry the latest year that puts it not
// after the newer entry placed before it, so that a journal spanning more than a year keeps its
// order. A 29 February goes back to the latest leap year not after that bound. An entry whose
// date exists in no year (31 April, month 13) is marked uncertain and does not move the bound for
// the entries after it.
QList<PlacedYear> placeYears(const QList<YearlessMoment> &latestFirst, const QDateTime &readTime);

} // namespace mk
