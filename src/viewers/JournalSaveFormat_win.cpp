// SPDX-License-Identifier: GPL-3.0-or-later
// Saved journals on Windows: Windows-1251 with CR LF lines first, as the device's Windows program
// writes them.

#include "viewers/JournalSaveFormat.h"

namespace mk {

JournalEncoding defaultJournalEncoding() { return JournalEncoding::Windows1251; }

} // namespace mk
