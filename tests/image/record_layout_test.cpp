// SPDX-License-Identifier: GPL-3.0-or-later
// The record layout table: each byte described once, every row inside its record, and the field
// table agreeing with it where both name the same bytes.
#include "image/DefaultRecords.h"
#include "image/FactoryImage.h"
#include "image/RecordLayout.h"
#include "settings/FieldTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

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

// The bytes of the value a settings row stores (the whole word of a bit).
int storedWidth(const FieldDef &def)
{
    if (def.type == FieldType::Bytes || def.conversion == Conversion::Text)
        return def.param;
    switch (def.type) {
    case FieldType::Int8:
    case FieldType::UInt8: return 1;
    case FieldType::Int16:
    case FieldType::UInt16: return 2;
    case FieldType::UInt64: return 8;
    default: return 4;
    }
}

// The freeze frame's values fill the entry's value bytes two at a time, each announced by a bit of
// its own within the supported-values bitmap.
TEST(RecordLayout, FrameValueSlotsTileTheFrameValues)
{
    std::vector<FrameValueSlot> sorted = frameValueSlots();
    std::sort(sorted.begin(), sorted.end(),
              [](const FrameValueSlot &a, const FrameValueSlot &b) { return a.entryOffset < b.entryOffset; });
    std::vector<EntryField> fields;
    std::set<int> bits;
    for (const FrameValueSlot &slot : sorted) {
        SCOPED_TRACE(slot.name);
        fields.push_back({slot.entryOffset, 2});
        EXPECT_TRUE(bits.insert(slot.bit).second);
        EXPECT_GE(slot.bit, 1);
        EXPECT_LE(slot.bit, 8 * kSupportedBitmapSize);
    }
    ASSERT_FALSE(fields.empty());
    const EntryField values = kErrorEntryLayout.values;
    for (EntryField &f : fields)
        f.offset -= values.offset;
    expectTiles(fields, values.width);
}

// A settings row that touches bytes of a layout row is that row, or one value of its run: the
// same bytes are never described two ways.
TEST(RecordLayout, FieldTableAgreesWhereItNamesTheSameBytes)
{
    int shared = 0;
    for (const FieldDef &def : fieldTable()) {
        if (fieldBytes(def).empty())
            continue;
        const int begin = def.offset, end = def.offset + storedWidth(def);
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

// A layout row named as a setting holds exactly that setting's value: the defaults write it
// through the row, the editor through the field table.
TEST(RecordLayout, RowNamedAsASettingIsThatSetting)
{
    int named = 0;
    for (const LayoutRow &row : recordLayout()) {
        for (const FieldDef &def : fieldTable()) {
            if (def.name != QLatin1String(row.name))
                continue;
            SCOPED_TRACE(row.name);
            ++named;
            EXPECT_EQ(def.section, row.section);
            EXPECT_EQ(def.offset, row.offset);
            EXPECT_EQ(storedWidth(def), row.width);
        }
    }
    EXPECT_GE(named, 40); // the limits, the service and universal-input settings, the tank volumes
}

// Every byte a fresh model or the simulated device's image sets lies in a row: nothing is written
// at an offset the table does not describe.
void expectEveryByteSetIsDescribed(const std::array<Record, kSectionCount> &records)
{
    std::array<std::vector<bool>, kSectionCount> described;
    for (int k = 0; k < kSectionCount; ++k)
        described[size_t(k)].assign(size_t(records[size_t(k)].size()), false);
    for (const LayoutRow &row : recordLayout())
        for (int at = row.offset; at < row.end() && at < records[size_t(row.section)].size(); ++at)
            described[size_t(row.section)][size_t(at)] = true;
    for (int k = 0; k < kSectionCount; ++k) {
        if (k == kUndecodedSection)
            continue;
        const QByteArray &bytes = records[size_t(k)].bytes();
        for (int at = 0; at < bytes.size(); ++at)
            if (bytes[at] != 0) {
                EXPECT_TRUE(described[size_t(k)][size_t(at)]) << "byte " << at << " of section " << k;
            }
    }
}

TEST(RecordLayout, DefaultsAndFactoryImageSetOnlyDescribedBytes)
{
    expectEveryByteSetIsDescribed(makeDefaultRecords());

    const QByteArray image = makeFactoryImage(1, 1);
    const ImageHeader header = ImageHeader::parse(image);
    std::array<Record, kSectionCount> records;
    for (int k = 0; k < kSectionCount; ++k) {
        const SectionEntry e = header.sections[size_t(k)];
        records[size_t(k)] = Record(kRecordSizes[size_t(k)]);
        if (k != kUndecodedSection)
            records[size_t(k)].setRaw(0, image.mid(e.contentPos(), kRecordSizes[size_t(k)]));
    }
    expectEveryByteSetIsDescribed(records);
}

} // namespace
} // namespace mk
