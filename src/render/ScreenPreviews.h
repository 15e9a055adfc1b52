// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Draws each kind of device screen, as section 9 lays it out, in the colours of one colour-scheme
// set, with the sample values and texts of the measured-parameter catalog.

#include "render/ScreenLayouts.h"

namespace mk {

class MeasParCatalog;
class Record;
class ScreenRenderer;

class ScreenPreviews
{
public:
    // section9 and catalog must outlive this object; set is the colour-scheme set (0 or 1).
    ScreenPreviews(const Record &section9, const MeasParCatalog &catalog, int set);

    // index: the measured-parameter code for X1, the screen number (0-based) for the kinds with
    // several screens, ignored for X6 and HotMenu. Codes the catalog does not know draw nothing
    // (an x1 screen stays black, a place keeps its empty background).
    void render(ScreenRenderer &screen, ScreenKind kind, int index) const;

    void drawX1(ScreenRenderer &screen, quint8 code) const;
    void drawX4(ScreenRenderer &screen, int number) const;
    void drawX9(ScreenRenderer &screen, int number) const;
    void drawX7(ScreenRenderer &screen, int number) const;
    void drawX6(ScreenRenderer &screen) const;
    void drawGraph(ScreenRenderer &screen, int number) const;
    void drawArrow(ScreenRenderer &screen, int number) const;
    // A pointer screen with the given codes on its left and right gauge.
    void drawArrowCodes(ScreenRenderer &screen, quint8 left, quint8 right) const;
    void drawHotMenu(ScreenRenderer &screen) const;

private:
    const Record &m_section9;
    const MeasParCatalog &m_catalog;
    int m_set;
};

} // namespace mk
