// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Port numbers 1..256 (what the ini file stores and the user sees as "COMn") and the Linux
// device nodes behind them. The mapping is fixed, so a number keeps meaning the same node:
//   COM1..COM2      /dev/ttyS0..ttyS1       on-board serial ports
//   COM3..COM12     /dev/ttyACM0..ttyACM9   USB modems (the trip computer's own USB port)
//   COM13..COM22    /dev/ttyUSB0..ttyUSB9   USB serial adapters
//   COM23..COM32    /dev/ttyS2..ttyS11      further on-board ports
//   COM33..COM122   /dev/ttyACM10..ttyACM99 further USB modems
//   COM123..COM212  /dev/ttyUSB10..ttyUSB99 further USB serial adapters
//   COM213..COM256  /dev/ttyS12..ttyS55     further on-board ports
// A number can be pointed at any other node (a pseudo-terminal for tests and the demo) by
// setPortOverride, or from outside by the environment variable MK_PORTS="7=/dev/pts/3,8=...".
// On Windows the number is the COM port number itself.

#include <QString>
#include <optional>

namespace mk {

// Windows numbers its COM ports up to COM256.
constexpr int kMaxPortNumber = 256;

// The node of port n (override first, then the table); empty when n is out of 1..kMaxPortNumber.
QString nodeForPort(int n);
// The table alone: the Linux node above, or "COMn" on Windows.
QString systemPortNode(int n);
// The number whose node is this node (after resolving symbolic links); 0 when none.
int portForNode(const QString &node);
// Points port n at node; an empty node removes the override.
void setPortOverride(int n, const QString &node);
void clearPortOverrides();
// The number for a node: its own number, or else an override at the highest number that no
// present port uses. 0 when every number is taken.
int assignPortForNode(const QString &node);
// Whether n is such a number given by assignPortForNode (not the node's own, nor one set by
// setPortOverride or MK_PORTS): messages and lists then name the port by its node alone.
bool isAssignedPort(int n);

// "COM3" in messages and lists, with the node beside it where that says more (Linux):
// portLabel: "COM3 (/dev/ttyACM0)"; portDisplayName: "COM3 — /dev/ttyACM0", or with the
// device's stable name when it has one: "COM3 — /dev/mk-0 (/dev/ttyACM0)". On Windows both
// are "COM3", unless the number was pointed at another port. A node that has no number of its
// own (isAssignedPort) is named by its path alone: "/dev/pts/3", "/dev/mk-0 (/dev/ttyACM100)".
QString portLabel(int n);
QString portDisplayName(int n);
// The number after the letters "COM" at the start of a list item; 0 when there is none.
int portNumberFromName(const QString &name);
// The number a user typed for a port: "40", "COM40", "com40" or "\\\\.\\COM40" give 40, in range or not;
// nothing for any other text (a node such as "/dev/ttyACM0").
std::optional<int> typedPortNumber(const QString &text);

// The stable names the package's udev rule gives the trip computer: "/dev/mk-0" beside its
// "/dev/ttyACM0". The folder is /dev unless a test points it elsewhere.
void setDeviceLinkFolder(const QString &folder); // empty: /dev again
// The "mk-*" link in that folder that leads to this node (after resolving links); empty when none.
QString deviceLinkForNode(const QString &node);
// The same for the node of port n.
QString deviceLinkForPort(int n);

// Whether a port node exists as a usable device: absent nodes and the phantom on-board
// ports that every kernel lists are not; a node the user may not open, or another program
// holds, counts as present, so that opening it tells why it fails.
bool probePortNode(const QString &node);

} // namespace mk
