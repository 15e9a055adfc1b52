// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/ScreenPreviews.h"

#include "render/ScreenHotMenu.h"
#include "render/ScreenRenderer.h"

namespace mk {

ScreenPreviews::ScreenPreviews(const Record &section9, const MeasParCatalog &catalog, int set)
    : m_section9(section9), m_catalog(catalog), m_set(set == 1 ? 1 : 0)
{}

void ScreenPreviews::render(ScreenRenderer &screen, ScreenKind kind, int index) const
{
    switch (kind) {
    case ScreenKind::X1: drawX1(screen, quint8(index)); break;
    case ScreenKind::X4: drawX4(screen, index); break;
    case ScreenKind::X9: drawX9(screen, index); break;
    case ScreenKind::X7: drawX7(screen, index); break;
    case ScreenKind::Graph: drawGraph(screen, index); break;
    case ScreenKind::Arrow: drawArrow(screen, index); break;
    case ScreenKind::X6: drawX6(screen); break;
    case ScreenKind::HotMenu: drawHotMenu(screen); break;
    }
}

void ScreenPreviews::drawHotMenu(ScreenRenderer &screen) const { drawHotMenuPreview(screen, m_section9, m_set); }

} // namespace mk
