// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The four hot menus of section 9: lists of ten item codes the driver reaches with one key, and
// the edits the hot-menu page makes to them. Code 0 is an empty place.

#include "image/Record.h"
#include "image/RecordLayout.h"

#include <QString>
#include <array>

namespace mk {

constexpr int kHotMenuCount = 4; // parameters, averages, taximeter, parking sensors
constexpr int kHotMenuLength = 10;
constexpr int kHotMenuOffset = layout::kHotMenus.offset; // section 9: list L, entry r at +2·(10·L + r)
static_assert(kHotMenuCount * kHotMenuLength * 2 == layout::kHotMenus.width);

using HotMenu = std::array<quint16, kHotMenuLength>;

// The list's name ("hmParams"): its places are the settings "hmParams.<row>", its grid "sghmParams".
QString hotMenuName(int list);

HotMenu readHotMenu(const Record &s9, int list);
void writeHotMenu(Record &s9, int list, const HotMenu &entries);

// Removes the empty places: later entries move up keeping their order, zeros fill the end.
HotMenu compacted(const HotMenu &entries);
// Compacts every list in the record; true when anything moved.
bool compactHotMenus(Record &s9);

// The edits of the page, on one list. Rows are 0..9; any other row or list changes nothing.
// Insert: entries from the row on move down one place (the last one falls off), the row takes
// the code.
void insertHotMenuItem(Record &s9, int list, int row, quint16 code);
// Delete: the entry becomes an empty place (compaction then closes the gap).
void deleteHotMenuItem(Record &s9, int list, int row);
void clearHotMenu(Record &s9, int list);
// Drag: the entry moves to row `to`; the entries between shift one place towards `from`.
void moveHotMenuItem(Record &s9, int list, int from, int to);

} // namespace mk
