// SPDX-License-Identifier: GPL-3.0-or-later
#include "StopSignals.h"

#include <csignal>
#include <windows.h>

namespace mk::tool {

namespace {

StopHandler g_handler = nullptr;

// Ctrl-C and Ctrl-Break are Ctrl-C; a closed console window, a log-off or a shutdown ask the
// program to end, as SIGTERM does on Linux.
BOOL WINAPI onConsoleEvent(DWORD event)
{
    if (!g_handler)
        return FALSE;
    g_handler(event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT ? SIGINT : SIGTERM);
    return TRUE;
}

} // namespace

void installStopSignals(StopHandler handler)
{
    g_handler = handler;
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

void restoreStopSignals()
{
    SetConsoleCtrlHandler(onConsoleEvent, FALSE);
    g_handler = nullptr;
}

} // namespace mk::tool
