// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/ScreenHotMenu.h"

#include "image/ColourSchemes.h"
#include "render/ScreenRenderer.h"

namespace mk {

QString hotMenuSampleLine(int row)
{
    static const QString kLines[kHotMenuPreviewRows] = {
        QStringLiteral("Заправлено л      0"), QStringLiteral("Теперь в баке л  50"),
        QStringLiteral("Заправка до полн.  "), QStringLiteral("Вентилятор     Откл"),
        QStringLiteral("% на впрыск     Вкл"), QStringLiteral("Сушка свечей       "),
        QStringLiteral("Сброс ЭБУ          "),
    };
    return kLines[qBound(0, row, kHotMenuPreviewRows - 1)];
}

void drawHotMenuPreview(ScreenRenderer &screen, const Record &section9, int set)
{
    const auto role = [&](int r) { return roleColour(section9, set, r); };
    // The menu list sits on the digital screens' first background; the active item is
    // highlighted and the hot numbers have their own colour.
    screen.clear(role(RoleDigitBack1));
    screen.selectFont(2);
    const int fontHeight = screen.font().height;
    const int top = (ScreenRenderer::kHeight - kHotMenuPreviewRows * fontHeight) / 2;
    for (int i = 0; i < kHotMenuPreviewRows; ++i) {
        const bool active = i == kHotMenuActiveRow;
        screen.setOrigin(0, top + fontHeight * i);
        screen.setBackground(role(active ? RoleMenuActiveBack : RoleDigitBack1));
        screen.fillRect(ScreenRenderer::kWidth, fontHeight);
        screen.setForeground(role(RoleMenuHotNumber));
        screen.drawText(0, 0, QString::number(i));
        screen.setForeground(role(active ? RoleMenuActive : RoleDigitColour1));
        screen.drawText(1, 0, hotMenuSampleLine(i));
    }
    screen.setOrigin(0, 0);
}

} // namespace mk
