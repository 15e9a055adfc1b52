// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The hot-menu screen as the device shows it: seven numbered sample lines in the menu colours.

#include "image/Record.h"

#include <QString>

namespace mk {

class ScreenRenderer;

constexpr int kHotMenuPreviewRows = 7;
// The sample line row i shows after its number.
QString hotMenuSampleLine(int row);
// The row drawn as the menu's active item.
constexpr int kHotMenuActiveRow = 0;

void drawHotMenuPreview(ScreenRenderer &screen, const Record &section9, int set);

} // namespace mk
