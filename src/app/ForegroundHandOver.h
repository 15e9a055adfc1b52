// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A second start brings the running copy's window to the front. Windows lets a program take
// the foreground only when the program in front allows it: the second copy, which the user
// just started, passes that right on before it hands over and ends.

namespace mk {

// Called by the second copy; nothing to do where any window may come to the front.
void allowRunningCopyToComeForward();

} // namespace mk
