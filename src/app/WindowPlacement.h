#pragma once
// Window state and position kept in an ini section between runs.

#include <QString>

class QWidget;

namespace mk {

class IniFile;

enum class StoredWindowState { Normal = 0, Minimized = 1, Maximized = 2 };

// Reads "State", "Left", "Top" (and, for a resizable window, "Width" and "Height") with the
// window's current values as defaults. A maximized window keeps its position unapplied;
// negative coordinates become 0 (negative sizes 100). A position that would put the window
// wholly outside every screen is not applied, so the window cannot get lost.
void loadPlacement(const IniFile &ini, const QString &section, QWidget &window);
// Writes all five keys from the window's current values.
void storePlacement(IniFile &ini, const QString &section, const QWidget &window);

} // namespace mk
