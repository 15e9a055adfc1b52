// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Helpers shared by the screen drawings: catalog entries ready to draw, colour pairs, texts
// fitted into a cell.

#include "catalogs/MeasPars.h"
#include "image/ColourSchemes.h"
#include "image/Record.h"
#include "render/ScreenLayouts.h"
#include "render/ScreenRenderer.h"

#include <QByteArray>
#include <optional>

namespace mk::screen {

// A copy of the catalog entry with MinText/MaxText prepared; nothing for unknown codes.
std::optional<TMeasParBase> preparedEntry(const MeasParCatalog &catalog, quint8 code);
// The prepared entry assigned to a place of a screen; nothing for unknown codes and for
// screens or places the layout does not have.
std::optional<TMeasParBase> placeEntry(const Record &section9, const MeasParCatalog &catalog, ScreenKind kind,
                                       int screen, int place);

struct Colours
{
    quint16 fore = 0;
    quint16 back = 0;
};

// Colour roles of one scheme set.
class Palette
{
public:
    Palette(const Record &section9, int set) : m_section9(section9), m_set(set) {}
    quint16 role(int r) const { return roleColour(m_section9, m_set, r); }
    Colours pair(int fore, int back) const { return {role(fore), role(back)}; }
    Colours value() const { return pair(RoleDigitColour1, RoleDigitBack1); }
    Colours caption() const { return pair(RoleDigitColour2, RoleDigitBack2); }

private:
    const Record &m_section9;
    int m_set;
};

// The value and caption colours of a digital place. The second layout of the x4 and x9 screens
// swaps them on every other place, chequerboard-wise.
struct PlaceColours
{
    Colours value;
    Colours caption;
};
PlaceColours placeColours(const Palette &palette, bool swapped);

// Windows-1251 bytes of a text, cut to at most maxChars characters.
QByteArray fitted(const QString &text, int maxChars);

// Fills a w x h rectangle at (x, y) in a colour (the origin is left at (x, y)).
void fill(ScreenRenderer &s, int x, int y, int w, int h, quint16 colour);
// Draws a text with its top-left pixel at (x, y), in the current font and colours.
void textAt(ScreenRenderer &s, int x, int y, const QByteArray &text);
// Draws a text centred in the w pixels from x, in the current font; cut to fit.
void textCentred(ScreenRenderer &s, int x, int y, int w, const QString &text);

// Where the sample value lies in its range, 0..1: the value in scale units against the axis
// (the scale the gauges and graphs draw); when the axis counts in other units (revolutions in
// thousands) the raw value against the raw range.
double sampleFraction(const TMeasParBase &par);

} // namespace mk::screen
