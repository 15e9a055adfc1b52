// SPDX-License-Identifier: GPL-3.0-or-later
// Saved journals on Linux: UTF-8 with LF lines first, as the system's editors read them.

#include "viewers/JournalSaveFormat.h"

namespace mk {

JournalEncoding defaultJournalEncoding() { return JournalEncoding::Utf8; }

} // namespace mk
