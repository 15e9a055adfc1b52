// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Window state and position kept in an ini section between runs.

#include <QString>

class QWidget;

namespace mk {

class IniFile;

enum class StoredWindowState { Normal = 0, Minimized = 1, Maximized = 2 };

// Reads "State", "Left", "Top" (and, for a resizable window, "Width" and "Height") with the
// window's current values as defaults. A maximized window keeps its position unapplied;
// negative coordinates become 0 (negative sizes 100). The window is then fitted to the screen
// that holds most of it (ScreenFit.h), so that it can neither get lost nor hide its title bar.
void loadPlacement(const IniFile &ini, const QString &section, QWidget &window);
// Writes all five keys from the window's current values.
void storePlacement(IniFile &ini, const QString &section, const QWidget &window);

} // namespace mk
