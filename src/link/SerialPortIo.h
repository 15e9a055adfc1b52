// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The real port: a serial device node (or pseudo-terminal) on Linux, a COM port on Windows.
// Each platform has its own implementation behind PortIo (SerialPortIo_unix.cpp,
// SerialPortIo_win.cpp). The object lives and dies on the thread that opened it, like the
// exchange that uses it.

#include "link/Clock.h"
#include "link/PortIo.h"

#include <QString>
#include <memory>

namespace mk {

class SerialPortIo : public PortIo
{
public:
    // Opens the node for reading and writing. Returns null when the node cannot be opened
    // (absent); throws Error (PortDenied, PortBusy; the port and the system's code in its
    // context) when the user lacks the right to open it, another program holds it, or on
    // Windows the system refuses it for another reason.
    // portLabel names the port in messages ("COM3 (/dev/ttyACM0)").
    static std::unique_ptr<SerialPortIo> open(const QString &node, const QString &portLabel);
};

// What the system says when the node is opened and closed again at once: Qt reports a
// permission error both for a refusal and for a port another program holds, and the user needs
// different advice for the two.
// systemCode, when given, receives the system's code of a failure (errno; GetLastError on
// Windows), 0 when it opened.
enum class PortOpening { Open, Forbidden, InUse, Other };
PortOpening tryOpeningNode(const QString &node, int *systemCode = nullptr);

// The clock the link's time-outs run on with the system's ports: the steady clock. On Windows
// its microsecond sleeps (the time a frame's missing bytes still need on the line) wait in the
// thread's open port instead, in a ReadFile that returns once those bytes have come: a Sleep
// lasts up to a tick of the system timer (15.6 ms) however short it was asked to be.
Clock &systemLinkClock();

// The message for a port the user may not open.
QString permissionDeniedText(const QString &portLabel);
// The message for a port another program has open.
QString portInUseText(const QString &portLabel);

} // namespace mk
