// SPDX-License-Identifier: GPL-3.0-or-later
// On Windows every session the program can start in has a desktop.

#include "app/DisplayCheck.h"

namespace mk {

QString missingDisplayText(const QStringList &) { return {}; }

} // namespace mk
