// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's one reading of the wall clock: every "now" and "today" the windows show or
// store comes from here, so that a run that must not depend on the day (the manual's pictures)
// can fix it.

#include <QDate>
#include <QDateTime>

namespace mk {

// The local date and time now, or the fixed moment while one is set.
QDateTime currentDateTime();
QDate currentDate();

// Fixes the clock at `when` for the rest of the run; an invalid moment gives back the real clock.
void setFixedClock(const QDateTime &when);

} // namespace mk
