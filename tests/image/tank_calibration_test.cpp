// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Error.h"
#include "image/TMK.h"
#include "image/TankCalibration.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace mk;

namespace {

Record tableWithLength(int length)
{
    Record s3(kRecordSizes[3]);
    s3.setU8(tank::kTarirLeng, quint8(length));
    return s3;
}

} // namespace

TEST(TankCalibration, LengthAbove68IsResetInTheRecord)
{
    Record s3 = tableWithLength(68);
    EXPECT_EQ(normalizedTarirLength(s3), 68);
    EXPECT_EQ(s3.u8(tank::kTarirLeng), 68);

    s3 = tableWithLength(69);
    EXPECT_EQ(normalizedTarirLength(s3), 0);
    EXPECT_EQ(s3.u8(tank::kTarirLeng), 0);

    s3 = tableWithLength(255);
    EXPECT_EQ(normalizedTarirLength(s3), 0);
}

TEST(TankCalibration, OnlyDigitsOfACellCount)
{
    EXPECT_EQ(tableCellValue(QStringLiteral("1 2")), 12);
    EXPECT_EQ(tableCellValue(QStringLiteral("  7")), 7);
    EXPECT_EQ(tableCellValue(QString()), 0);
    EXPECT_EQ(tableCellValue(QStringLiteral("   ")), 0);
    EXPECT_EQ(tableCellValue(QStringLiteral("-5")), 5); // a sign is not a digit
    EXPECT_EQ(tableCellValue(QStringLiteral("x1y2z3")), 123);
    EXPECT_EQ(tableCellValue(QStringLiteral("٣")), 0); // digits of other scripts do not count
    EXPECT_EQ(tableCellValue(QStringLiteral("2147483648")), 2147483648LL);
    EXPECT_EQ(tableCellValue(QStringLiteral("99999999999999999999999")), -1); // no overflow
}

TEST(TankCalibration, StoresRowsAndDirectionFromFirstCode)
{
    Record s3 = tableWithLength(3);
    storeTarirTable(s3, {{"1 2", "241"}, {"", "300"}, {"255", "9999"}});
    EXPECT_EQ(s3.u8(tank::kTarirLit + 0), 12);
    EXPECT_EQ(s3.u8(tank::kTarirLit + 1), 0);
    EXPECT_EQ(s3.u8(tank::kTarirLit + 2), 255);
    EXPECT_EQ(s3.s16(tank::kTarirCode + 0), 241);
    EXPECT_EQ(s3.s16(tank::kTarirCode + 2), 300);
    EXPECT_EQ(s3.s16(tank::kTarirCode + 4), 9999);
    EXPECT_EQ(s3.u8(tank::kTarirDir), 1);

    storeTarirTable(s3, {{"12", "240"}, {"0", "300"}, {"255", "9999"}});
    EXPECT_EQ(s3.u8(tank::kTarirDir), 0);
    storeTarirTable(s3, {{"12", ""}, {"0", "300"}, {"255", "9999"}});
    EXPECT_EQ(s3.u8(tank::kTarirDir), 0);
}

TEST(TankCalibration, StoresOnlyRowsOfTheTableLength)
{
    Record s3 = tableWithLength(0);
    s3.setU8(tank::kTarirLit, 33);
    s3.setU16(tank::kTarirCode, 500);
    storeTarirTable(s3, {{"", ""}}); // the one empty row a table of length 0 shows
    EXPECT_EQ(s3.u8(tank::kTarirLit), 33);
    EXPECT_EQ(s3.u16(tank::kTarirCode), 500);
    EXPECT_EQ(s3.u8(tank::kTarirDir), 1); // still follows the first stored code

    s3 = tableWithLength(2);
    s3.setU8(tank::kTarirLit + 1, 44);
    s3.setU8(tank::kTarirLit + 2, 55); // beyond the table
    storeTarirTable(s3, {{"1", "2"}}); // row 2 not given: keeps its value
    EXPECT_EQ(s3.u8(tank::kTarirLit + 0), 1);
    EXPECT_EQ(s3.u8(tank::kTarirLit + 1), 44);
    EXPECT_EQ(s3.u8(tank::kTarirLit + 2), 55);

    s3 = tableWithLength(68);
    std::vector<TarirRowText> rows(70, TarirRowText{"9", "9"});
    storeTarirTable(s3, rows);
    EXPECT_EQ(s3.u8(tank::kTarirLit + 67), 9);
    EXPECT_EQ(s3.u16(tank::kTarirCode + 2 * 67), 9);
    EXPECT_EQ(s3.u8(tank::kTarirLit + 68), 0);
}

TEST(TankCalibration, OutOfRangeCellStoresNothing)
{
    Record s3 = tableWithLength(3);
    storeTarirTable(s3, {{"1", "100"}, {"2", "200"}, {"3", "300"}});
    const Record before = s3;

    EXPECT_THROW(storeTarirTable(s3, {{"5", "250"}, {"256", "200"}, {"7", "300"}}), RangeError);
    EXPECT_EQ(s3, before);
    EXPECT_THROW(storeTarirTable(s3, {{"5", "250"}, {"6", "32768"}, {"7", "300"}}), RangeError);
    EXPECT_EQ(s3, before);
    EXPECT_THROW(storeTarirTable(s3, {{"5", "250"}, {"6", "1"}, {"7", "99999999999999"}}), RangeError);
    EXPECT_EQ(s3, before);

    storeTarirTable(s3, {{"255", "32767"}});
    EXPECT_EQ(s3.u8(tank::kTarirLit), 255);
    EXPECT_EQ(s3.s16(tank::kTarirCode), 32767);
}
