// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The colour schemes of the display section: two 56-byte records (set 0 the loaded predefined scheme,
// set 1 the user scheme), each 16 palette words and the palette index of every screen part.

#include "image/Record.h"
#include "image/RecordLayout.h"

#include <functional>

namespace mk {

constexpr int kColourSchemeOffset = layout::kColourSchemes.offset; // set s at its offset + 56·s
constexpr int kColourSchemeSize = layout::kColourSchemes.item;
constexpr int kPaletteSize = 16;
constexpr int kRoleIndexOffset = 2 * kPaletteSize; // index byte of role r at 32 + r within the record
constexpr int kRoleCount = 23;
static_assert(kRoleIndexOffset + kRoleCount <= kColourSchemeSize);
// bits 0-3 active scheme 1..4, bits 4-7 last loaded 1..3
constexpr int kActiveColourSchemeOffset = layout::kActiveColourScheme.offset;
constexpr int kDispVar4Offset = layout::kDispVar4.offset;
constexpr int kDispVar9Offset = layout::kDispVar9.offset;
constexpr int kUserScheme = 4;

// Screen parts, in the order of their index bytes.
enum ColourRole {
    RoleDigitColour1,
    RoleDigitBack1,
    RoleDigitColour2,
    RoleDigitBack2,
    RoleDigitFrame,
    RoleMenuActive,
    RoleMenuActiveBack,
    RoleMenuHotNumber,
    RoleGraphAxes,
    RoleGraphBack,
    RoleGraph1,
    RoleGraph2,
    RoleGraphCaptionBack,
    RoleArrowBack,
    RoleArrowCaption,
    RoleLeftDial,
    RoleRightDial,
    RoleLeftScale,
    RoleRightScale,
    RoleLeftArrow,
    RoleRightArrow,
    RoleArrowCaptionBack,
    RoleWideScale,
};

int colourSchemeOffset(int set);
quint16 paletteColour(const Record &section9, int set, int index);
void setPaletteColour(Record &section9, int set, int index, quint16 colour);
// The palette index assigned to a role (only the low four bits count: the palette has 16 colours).
int roleIndex(const Record &section9, int set, int role);
void setRoleIndex(Record &section9, int set, int role, int index);
quint16 roleColour(const Record &section9, int set, int role);

int activeColourScheme(const Record &section9); // bits 0-3
int loadedColourScheme(const Record &section9); // bits 4-7
// The set the editor works on for the active scheme: 1 for the user scheme, else 0.
int editedSetFor(const Record &section9);

// Choosing scheme c (1..4). askChange is called only when a different predefined scheme would
// replace set 0, and only if userClicked; it returns true to go ahead. Returns false when the
// change was refused (the record is then unchanged).
bool chooseColourScheme(Record &section9, int scheme, bool userClicked, const std::function<bool()> &askChange);
// Copies all 56 bytes of set 0 into set 1.
void copySchemeToUser(Record &section9);
// Scheme 1 into set 0, the initial user scheme into set 1, scheme 1 active and loaded.
void resetColourSchemes(Record &section9);

} // namespace mk
