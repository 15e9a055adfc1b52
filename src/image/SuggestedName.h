// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file name a save dialog offers for what comes from a settings image: the device model and
// the day, "QZ-71B_WS 2026-12-08.tcset", so that files of several cars tell themselves apart.

#include "base/Clock.h"

#include <QDate>
#include <QString>

namespace mk {

class TMK;

// `what` goes between the model and the date ("профиль", "осциллограф"); empty for none.
QString suggestedFileName(const TMK &model, const QString &suffix, const QString &what = {},
                          const QDate &day = currentDate());

} // namespace mk
