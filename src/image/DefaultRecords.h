// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The values a fresh model holds in its section records.

#include "image/ImageLayout.h"
#include "image/Record.h"
#include "image/RecordLayout.h"

#include <array>

namespace mk {

std::array<Record, kSectionCount> makeDefaultRecords();
QByteArray makeColourPreset(int number); // 1..4
QByteArray defaultOscHeader();

// Section 9: hot-menu slots s = 62..101 hold u16 item codes at offset 2·s.
constexpr int kHotMenuFirstSlot = layout::kHotMenus.offset / layout::kHotMenus.item;
constexpr int kHotMenuSlotCount = layout::kHotMenus.width / layout::kHotMenus.item;
static_assert(kHotMenuFirstSlot * layout::kHotMenus.item == layout::kHotMenus.offset);

} // namespace mk
