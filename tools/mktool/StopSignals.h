// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The ways the system asks mktool to stop: Ctrl-C, and on Linux also SIGTERM (kill, a shutdown)
// and SIGHUP (the terminal closed). All of them reach one handler, so that a write to the device
// is never cut short by one while another would let it finish.

namespace mk::tool {

using StopHandler = void (*)(int);

void installStopSignals(StopHandler handler);
// Back to the system's defaults.
void restoreStopSignals();

} // namespace mk::tool
