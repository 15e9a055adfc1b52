// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The port kept in the program's ini file between runs: key "Port" in group "RS232", its number or,
// for a node with no number of its own, its path.

#include <QString>

class QSettings;

namespace mk {

class SerialPort;

inline const QString kLinkSettingsGroup = QStringLiteral("RS232");

// Reads the stored number (the port's current one when none is stored) and selects that port;
// nothing is opened before an exchange asks for it.
void LoadSettings(SerialPort &port, QSettings &ini);
void SaveSettings(const SerialPort &port, QSettings &ini);

} // namespace mk
