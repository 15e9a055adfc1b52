// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Error.h"
#include "image/DefaultRecords.h"
#include "image/DeviceRecorded.h"
#include "image/FactoryImage.h"
#include "image/TMK.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace mk;

namespace {

// A header with one section entry changed.
QByteArray withSection(QByteArray image, int k, int address, int length)
{
    ImageHeader h = ImageHeader::parse(image);
    h.sections[size_t(k)] = {quint16(address), quint16(length)};
    h.writeTo(image);
    return image;
}

QByteArray factory() { return makeFactoryImage(0x0101, 1, 8192); }

} // namespace

TEST(Image, FreshModelDefaults)
{
    TMK m;
    EXPECT_EQ(m.modelCode(), 1);
    EXPECT_FALSE(m.hasImage());
    EXPECT_EQ(m.record(0).u8(105), 255);
    EXPECT_EQ(m.record(2).u16(0), 1000);
    EXPECT_EQ(m.record(2).u16(20), 600); // OilCalibrResArr6
    EXPECT_EQ(m.record(2).u16(34), 36);  // OilCalibrLitArr6
    // A complete 15-row calibration table in the tank page's layout.
    EXPECT_EQ(m.record(3).u8(2), 15);
    EXPECT_EQ(m.record(3).u8(6), 0); // TarirDir: first code 0
    EXPECT_EQ(m.record(3).u8(8 + 14), 58);
    EXPECT_EQ(m.record(3).u16(144 + 2 * 14), 700);
    EXPECT_EQ(m.record(4).u32(12), 4392u);
    EXPECT_EQ(m.record(4).raw(60, 5), QByteArray("\xD2\xF0\xE8\xEC\0", 5));
    EXPECT_FLOAT_EQ(m.record(5).f32(48), 1.0f);
    EXPECT_EQ(m.record(5).u16(60), 165);
    EXPECT_EQ(m.record(6).u16(0), 250);
    EXPECT_EQ(m.record(9).u8(122), 25);
    EXPECT_EQ(m.record(9).u16(124), 2);   // slot 62: FullTankMenu
    EXPECT_EQ(m.record(9).u16(184), 146); // slot 92: ParkOffMenu
    EXPECT_EQ(m.record(9).raw(248, 56), TMK::colourPreset(1));
    EXPECT_EQ(m.record(9).raw(304, 56), TMK::colourPreset(4));
    EXPECT_EQ(m.record(9).u32(392), 0xFFFFFFFFu);
    EXPECT_EQ(m.record(9).u16(406), 1);
    EXPECT_EQ(m.osc(0).header, QByteArray("\x01\0\0\0\x80\0\x04\0", 8));
    for (int k = 0; k < kSectionCount; ++k)
        EXPECT_EQ(m.record(k).size(), kRecordSizes[size_t(k)]);
}

TEST(Image, FactoryLayout)
{
    const QByteArray image = factory();
    ASSERT_EQ(image.size(), 8128);
    EXPECT_EQ(makeFactoryImage(0x8002, 3, 32768).size(), 32704);
    const ImageHeader h = ImageHeader::parse(image);
    EXPECT_EQ(h.count, 13u);
    EXPECT_EQ(h.version, 1u);
    EXPECT_EQ(h.sections[0].contentPos(), 64);
    int end = 0;
    for (int k = 0; k < kSectionCount; ++k) {
        const SectionEntry &e = h.sections[size_t(k)];
        if (k > 0) {
            EXPECT_EQ(e.contentPos(), end) << k; // back to back
        }
        end = e.contentPos() + e.length;
    }
    EXPECT_LT(end, kOscBlockPos[0]);

    TMK m;
    m.replaceImage(0x0101, image);
    EXPECT_EQ(m.record(2), TMK::defaultRecords()[2]);
    m.readOscBlocks();
    EXPECT_EQ(m.osc(1).header, defaultOscHeader());
}

TEST(Image, EncodeAfterDecodeIsIdentity)
{
    TMK m;
    m.replaceImage(0x0101, factory());
    const QByteArray before = m.image();
    auto records = std::array<Record, kSectionCount>{};
    for (int k = 0; k < kSectionCount; ++k)
        records[size_t(k)] = m.record(k);
    m.encodeAll();
    EXPECT_EQ(m.image(), before); // section 11 and every trailer untouched
    m.decodeAll();
    for (int k = 0; k < kSectionCount; ++k)
        EXPECT_EQ(m.record(k), records[size_t(k)]) << k;
}

TEST(Image, ShortAndLongDeclaredLengths)
{
    const QByteArray base = factory();
    const SectionEntry s2 = ImageHeader::parse(base).sections[2];

    // Older firmware: section 2 holds only 20 bytes of content.
    TMK m;
    m.record(2).setU16(30, 777); // survives: beyond the short content
    m.setImage(withSection(base, 2, s2.address, 24));
    m.decodeSection(2);
    EXPECT_EQ(m.record(2).u16(0), 1000);
    EXPECT_EQ(m.record(2).u16(30), 777);

    // Encoding writes only the declared content: the trailer and the next bytes stay.
    const QByteArray beforeEncode = m.image();
    m.record(2).setU16(0, 1234);
    m.record(2).setU16(22, 4321);
    m.encodeSection(2);
    EXPECT_EQ(uchar(m.image()[s2.contentPos()]), 1234 & 0xFF);
    EXPECT_EQ(m.image().mid(s2.contentPos() + 20), beforeEncode.mid(s2.contentPos() + 20));

    // Newer firmware: a longer section is cut to the record size; the rest of it stays.
    TMK longer;
    QByteArray image = withSection(base, 2, s2.address, 64 + 4 + 40);
    longer.replaceImage(1, image);
    EXPECT_EQ(longer.record(2).raw(0, 64), image.mid(s2.contentPos(), 64));
    longer.encodeAll();
    EXPECT_EQ(longer.image(), image);
}

TEST(Image, BrokenSectionEntriesStayInsideTheImage)
{
    const QByteArray base = factory();
    struct Case
    {
        const char *what;
        int address;
        int length;
    };
    const Case cases[] = {{"address in header", 10, 68},        {"address 0", 0, 68},
                          {"length below trailer", 300, 2},     {"length 0", 300, 0},
                          {"past the end", 8128 + 32 - 10, 68}, {"far past", 65000, 68}};
    for (const Case &c : cases) {
        TMK m;
        const Record before = m.record(2);
        const QByteArray image = withSection(base, 2, c.address, c.length);
        m.setImage(image);
        m.decodeSection(2); // must not read outside
        if (c.address >= 32 && c.length >= 4 && c.address - 32 >= image.size()) {
            EXPECT_EQ(m.record(2), before) << c.what;
        }
        m.encodeSection(2); // must not write before position 0 nor corrupt the header
        EXPECT_EQ(m.image().left(64), image.left(64)) << c.what;
        if (c.address < 32 || c.length < 4) {
            EXPECT_EQ(m.image(), image) << c.what; // no place in the image: left alone
        }
    }

    // Content that starts inside and runs past the end: the image does not hold the section.
    // Decoding gives the record a fresh model holds (nothing of an earlier image stays), and
    // encoding neither writes nor grows the image.
    TMK m;
    QByteArray image = withSection(base, 2, 8128 + 32 - 10, 68);
    m.setImage(image);
    m.record(2).setU16(12, 0xBEEF);
    m.decodeSection(2);
    EXPECT_FALSE(m.sectionHeld(2));
    EXPECT_EQ(m.record(2), TMK::defaultRecords()[2]);
    m.record(2).setU16(0, 0xBEEF);
    m.encodeSection(2);
    EXPECT_EQ(m.image(), image);
    EXPECT_EQ(m.missingSections(), QList<int>{2});
}

TEST(Image, FeatureKeyRange)
{
    TMK m;
    m.replaceImage(1, makeFactoryImage(1, 255));
    EXPECT_NO_THROW(m.checkFeatureKey());
    m.record(10).setU16(4, 256);
    EXPECT_THROW(m.checkFeatureKey(), RangeError);
    m.replaceImage(1, makeFactoryImage(1, 256));
    EXPECT_THROW(m.checkFeatureKey(), RangeError);
}

TEST(Image, OscilloscopeBlocksOnlyAsFarAsTheImageReaches)
{
    TMK m;
    QByteArray image = factory();
    image.truncate(kOscBlockPos[1] + 8 + 100); // block 1: header and 100 samples
    m.setImage(image);
    m.osc(1).samples.fill('\x77');
    m.readOscBlocks();
    EXPECT_EQ(m.osc(0).samples, factory().mid(kOscBlockPos[0] + 8, 512));
    EXPECT_EQ(m.osc(1).samples.left(100), image.mid(kOscBlockPos[1] + 8, 100));
    EXPECT_EQ(m.osc(1).samples.mid(100), QByteArray(412, '\x77'));
}

// Every byte of a journal entry is owned by exactly one field of its layout, and the field
// readers give back what the writers put, at every width.
TEST(EntryLayout, EveryByteOwnedByExactlyOneFieldAndReadBackAsWritten)
{
    const struct
    {
        const char *name;
        std::vector<EntryField> fields;
        int size;
    } layouts[] = {{"trip and refuelling entry", journalEntryFields(), kJournalEntrySize},
                   {"error entry", errorEntryFields(), kErrorEntrySize}};
    for (const auto &l : layouts) {
        std::vector<int> owners(size_t(l.size), 0);
        for (const EntryField &f : l.fields) {
            ASSERT_GE(f.offset, 0) << l.name;
            ASSERT_LE(f.offset + f.width, l.size) << l.name;
            for (int b = f.offset; b < f.offset + f.width; ++b)
                ++owners[size_t(b)];
        }
        for (int b = 0; b < l.size; ++b)
            EXPECT_EQ(owners[size_t(b)], 1) << l.name << ", byte " << b;
    }
    Record r(16);
    r.bytes().fill('\x5a');
    setEntryField(r, 4, {1, 1}, 0x1ff);
    setEntryField(r, 4, {2, 2}, 0x12345);
    setEntryField(r, 4, {4, 4}, 0xdeadbeef);
    EXPECT_EQ(entryField(r, 4, {1, 1}), 0xffu);
    EXPECT_EQ(entryField(r, 4, {2, 2}), 0x2345u);
    EXPECT_EQ(entryField(r, 4, {4, 4}), 0xdeadbeefu);
    EXPECT_EQ(r.bytes().left(5), QByteArray(5, '\x5a')) << "nothing before the entry's field moves";
    EXPECT_EQ(r.u8(6), 0x45);
    EXPECT_EQ(r.u8(7), 0x23);
    EXPECT_EQ(r.bytes().mid(12), QByteArray(4, '\x5a'));
}
