// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/HotMenuList.h"

#include <algorithm>

namespace mk {

QString hotMenuName(int list)
{
    static const std::array<const char *, kHotMenuCount> names = {"hmParams", "hmAver", "hmTax", "hmPark"};
    return list >= 0 && list < kHotMenuCount ? QString::fromLatin1(names[size_t(list)]) : QString();
}

namespace {

bool validList(int list) { return list >= 0 && list < kHotMenuCount; }
bool validRow(int row) { return row >= 0 && row < kHotMenuLength; }
int entryOffset(int list, int row) { return kHotMenuOffset + 2 * (kHotMenuLength * list + row); }

} // namespace

HotMenu readHotMenu(const Record &s9, int list)
{
    HotMenu entries{};
    if (!validList(list))
        return entries;
    for (int r = 0; r < kHotMenuLength; ++r)
        entries[size_t(r)] = s9.u16(entryOffset(list, r));
    return entries;
}

void writeHotMenu(Record &s9, int list, const HotMenu &entries)
{
    if (!validList(list))
        return;
    for (int r = 0; r < kHotMenuLength; ++r)
        s9.setU16(entryOffset(list, r), entries[size_t(r)]);
}

HotMenu compacted(const HotMenu &entries)
{
    HotMenu result{};
    std::copy_if(entries.begin(), entries.end(), result.begin(), [](quint16 code) { return code != 0; });
    return result;
}

bool compactHotMenus(Record &s9)
{
    bool changed = false;
    for (int list = 0; list < kHotMenuCount; ++list) {
        const HotMenu entries = readHotMenu(s9, list);
        const HotMenu tight = compacted(entries);
        if (tight != entries) {
            writeHotMenu(s9, list, tight);
            changed = true;
        }
    }
    return changed;
}

void insertHotMenuItem(Record &s9, int list, int row, quint16 code)
{
    if (!validList(list) || !validRow(row))
        return;
    HotMenu entries = readHotMenu(s9, list);
    std::copy_backward(entries.begin() + row, entries.end() - 1, entries.end());
    entries[size_t(row)] = code;
    writeHotMenu(s9, list, entries);
}

void deleteHotMenuItem(Record &s9, int list, int row)
{
    if (!validList(list) || !validRow(row))
        return;
    s9.setU16(entryOffset(list, row), 0);
}

void clearHotMenu(Record &s9, int list) { writeHotMenu(s9, list, HotMenu{}); }

void moveHotMenuItem(Record &s9, int list, int from, int to)
{
    if (!validList(list) || !validRow(from) || !validRow(to) || from == to)
        return;
    HotMenu entries = readHotMenu(s9, list);
    if (from < to)
        std::rotate(entries.begin() + from, entries.begin() + from + 1, entries.begin() + to + 1);
    else
        std::rotate(entries.begin() + to, entries.begin() + from, entries.begin() + from + 1);
    writeHotMenu(s9, list, entries);
}

} // namespace mk
