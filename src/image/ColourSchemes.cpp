// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/ColourSchemes.h"

#include "image/TMK.h"

namespace mk {

int colourSchemeOffset(int set) { return kColourSchemeOffset + kColourSchemeSize * (set == 1 ? 1 : 0); }

quint16 paletteColour(const Record &section9, int set, int index)
{
    return section9.u16(colourSchemeOffset(set) + 2 * (index & 15));
}

void setPaletteColour(Record &section9, int set, int index, quint16 colour)
{
    section9.setU16(colourSchemeOffset(set) + 2 * (index & 15), colour);
}

int roleIndex(const Record &section9, int set, int role)
{
    return section9.u8(colourSchemeOffset(set) + kRoleIndexOffset + qBound(0, role, kRoleCount - 1)) & 15;
}

void setRoleIndex(Record &section9, int set, int role, int index)
{
    section9.setU8(colourSchemeOffset(set) + kRoleIndexOffset + qBound(0, role, kRoleCount - 1), quint8(index & 15));
}

quint16 roleColour(const Record &section9, int set, int role)
{
    return paletteColour(section9, set, roleIndex(section9, set, role));
}

int activeColourScheme(const Record &section9) { return section9.u8(kActiveColourSchemeOffset) & 15; }

int loadedColourScheme(const Record &section9) { return section9.u8(kActiveColourSchemeOffset) >> 4; }

int editedSetFor(const Record &section9) { return activeColourScheme(section9) == kUserScheme ? 1 : 0; }

namespace {

void setActiveBits(Record &section9, int active, int loaded)
{
    section9.setU8(kActiveColourSchemeOffset, quint8(((loaded & 15) << 4) | (active & 15)));
}

} // namespace

bool chooseColourScheme(Record &section9, int scheme, bool userClicked, const std::function<bool()> &askChange)
{
    const int active = activeColourScheme(section9);
    int loaded = loadedColourScheme(section9);
    if (loaded == 0)
        loaded = active; // never recorded: the active scheme is the one loaded
    if (scheme == kUserScheme) {
        setActiveBits(section9, kUserScheme, loaded);
        return true;
    }
    if (scheme == loaded) {
        setActiveBits(section9, scheme, loaded);
        return true;
    }
    if (userClicked && askChange && !askChange())
        return false;
    section9.setRaw(colourSchemeOffset(0), TMK::colourPreset(scheme));
    setActiveBits(section9, scheme, scheme);
    return true;
}

void copySchemeToUser(Record &section9)
{
    section9.setRaw(colourSchemeOffset(1), section9.raw(colourSchemeOffset(0), kColourSchemeSize));
}

void resetColourSchemes(Record &section9)
{
    section9.setRaw(colourSchemeOffset(0), TMK::colourPreset(1));
    section9.setRaw(colourSchemeOffset(1), TMK::colourPreset(kUserScheme));
    setActiveBits(section9, 1, 1);
}

} // namespace mk
