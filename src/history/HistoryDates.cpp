// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/HistoryDates.h"

#include <tuple>

namespace mk {

namespace {

bool possible(const YearlessMoment &m)
{
    // Any year: 29 February is checked against the year found later.
    return m.month >= 1 && m.month <= 12 && m.minutes < 24 * 60 && QDate(2000, m.month, m.day).isValid();
}

} // namespace

QList<PlacedYear> placeYears(const QList<YearlessMoment> &latestFirst, const QDateTime &readTime)
{
    const QDate readDate = readTime.date();
    int boundYear = readDate.year();
    auto bound =
        std::make_tuple(readDate.month(), readDate.day(), readTime.time().hour() * 60 + readTime.time().minute());
    QList<PlacedYear> years;
    years.reserve(latestFirst.size());
    for (const YearlessMoment &m : latestFirst) {
        const auto at = std::make_tuple(int(m.month), int(m.day), int(m.minutes));
        int year = at > bound ? boundYear - 1 : boundYear;
        if (!possible(m)) {
            years.append({year, true});
            continue;
        }
        while (!QDate(year, m.month, m.day).isValid()) // 29 February: the latest leap year
            --year;
        years.append({year, false});
        boundYear = year;
        bound = at;
    }
    return years;
}

} // namespace mk
