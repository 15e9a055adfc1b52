// SPDX-License-Identifier: GPL-3.0-or-later
// The record layout table: each byte described once, every row inside its record, and the field
// table agreeing with it where both name the same bytes.
#include "image/RecordLayout.h"
#include "settings/FieldTable.h"

#include <gtest/gtest.h>

namespace mk {
namespace {

TEST(RecordLayout, RowsLieInTheirRecordAndOwnEachByteOnce)
{
    std::array<std::vector<const char *>, kSectionCount> owner;
    for (int k = 0; k < kSectionCount; ++k)
        owner[size_t(k)].assign(size_t(kRecordSizes[size_t(k)]), nullptr);
    for (const LayoutRow &row : recordLayout()) {
        SCOPED_TRACE(row.name);
        ASSERT_GE(row.section, 0);
        ASSERT_LT(row.section, kSectionCount);
        ASSERT_GE(row.offset, 0);
        ASSERT_GT(row.width, 0);
        ASSERT_LE(row.end(), kRecordSizes[size_t(row.section)]);
        if (row.item > 0) {
            EXPECT_EQ(row.width % row.item, 0);
        }
        for (int at = row.offset; at < row.end(); ++at) {
            const char *&by = owner[size_t(row.section)][size_t(at)];
            EXPECT_EQ(by, nullptr) << "byte " << at << " of section " << row.section << " is also " << by;
            by = row.name;
        }
    }
}

// An entry's fields cover its bytes once each, in entry order.
void expectTiles(const std::vector<EntryField> &fields, int entrySize)
{
    int at = 0;
    for (const EntryField &f : fields) {
        EXPECT_EQ(f.offset, at);
        EXPECT_GT(f.width, 0);
        at = f.offset + f.width;
    }
    EXPECT_EQ(at, entrySize);
}

TEST(RecordLayout, EntryFieldsTileTheirEntries)
{
    expectTiles(journalEntryFields(), kJournalEntrySize);
    expectTiles(errorEntryFields(), kErrorEntrySize);
}

// A settings row that touches bytes of a layout row is that row, or one value of its run: the
// same bytes are never described two ways.
TEST(RecordLayout, FieldTableAgreesWhereItNamesTheSameBytes)
{
    int shared = 0;
    for (const FieldDef &def : fieldTable()) {
        const std::vector<FieldByte> bytes = fieldBytes(def);
        if (bytes.empty())
            continue;
        const int begin = bytes.front().offset, end = bytes.back().offset + 1;
        for (const LayoutRow &row : recordLayout()) {
            if (row.section != def.section || end <= row.offset || begin >= row.end())
                continue;
            SCOPED_TRACE(def.name.toStdString() + " on " + row.name);
            ++shared;
            if (begin == row.offset && end == row.end())
                continue;
            ASSERT_GT(row.item, 0) << "the field covers part of a single value";
            EXPECT_EQ(end - begin, row.item);
            EXPECT_EQ((begin - row.offset) % row.item, 0);
        }
    }
    EXPECT_GT(shared, 0); // the odometer, the reset periods and the calibrations are settings too
}

} // namespace
} // namespace mk
