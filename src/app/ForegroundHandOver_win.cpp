// SPDX-License-Identifier: GPL-3.0-or-later
// The second copy is in front (the user just started it), so it may pass the right to take the
// foreground on; the running copy's activateWindow() then brings its window up instead of
// only flashing its taskbar button.

#include "app/ForegroundHandOver.h"

#include <windows.h>

namespace mk {

void allowRunningCopyToComeForward() { AllowSetForegroundWindow(ASFW_ANY); }

} // namespace mk
