// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The controls of the special pages that special settings bind (NamedSetting::control): each
// control's objectName is declared here once. A description (NamedSettingsSpecial.cpp) names the
// control it binds from here, and the page that makes the control (src/editor/…Page.cpp) takes
// the objectName from here too; EditorVisibility's test fails when a shown setting's control is
// not on its page.

#include "image/ScreenPlaces.h"

#include <QString>

namespace mk::special_control {

// Colour schemes: the scheme choice, the palette grid, the tabs of the colour roles and the grids
// of the display variants (4 or 9 digits).
QString activeColourScheme();
QString palette();
QString colourRoles();
QString displayVariantGrid(int digits);
// A display-layout page's preview of `screen` (0-based) of a kind ("pbDigit4_1").
QString layoutPreview(ScreenKind kind, int screen);
// A hot menu's grid.
QString hotMenuGrid(int list);
// Additional systems: the two show choices and the grid of every system.
QString blocksShow();
QString blocksShowList();
QString allBlocks();
// The tank table's grid.
QString tankTable();

} // namespace mk::special_control
