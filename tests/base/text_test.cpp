// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Text.h"

#include <gtest/gtest.h>

using namespace mk;

TEST(Text, TimeOfDay)
{
    EXPECT_EQ(minutesToText(450), QStringLiteral("07:30"));
    EXPECT_EQ(minutesToText(0), QStringLiteral("00:00"));
    EXPECT_EQ(minutesToText(24 * 60 + 5), QStringLiteral("00:05")); // hours wrap at 24
    EXPECT_EQ(textToMinutes(QStringLiteral("07:30")), 450);
    EXPECT_EQ(textToMinutes(QStringLiteral("23:59")), 23 * 60 + 59);
    EXPECT_EQ(textToMinutes(QStringLiteral("7:30")), 0); // third character must be ':'
    EXPECT_EQ(textToMinutes(QStringLiteral("07.30")), 0);
    EXPECT_EQ(textToMinutes(QString()), 0);
}

TEST(Text, RussianPluralForms)
{
    const std::pair<int, const char *> cases[] = {{0, "0 записей"},  {1, "1 запись"},    {2, "2 записи"},
                                                  {4, "4 записи"},   {5, "5 записей"},   {11, "11 записей"},
                                                  {14, "14 записей"}, {21, "21 запись"},  {22, "22 записи"},
                                                  {111, "111 записей"}, {101, "101 запись"}};
    for (const auto &[n, text] : cases)
        EXPECT_EQ(countedText(n, "запись", "записи", "записей"), QString::fromUtf8(text)) << n;
}

TEST(Text, DayNumbers)
{
    EXPECT_EQ(dateToDayNumber({1, 1, 1}), 367);
    EXPECT_EQ(dateToDayNumber({4, 3, 1}), 1522);
    EXPECT_EQ(dayNumberToDate(367), (DayDate{1, 1, 1}));
    EXPECT_EQ(dayNumberToDate(1522), (DayDate{4, 3, 1}));
    EXPECT_EQ(dayNumberToText(4392), dayNumberToText(dateToDayNumber(*dayNumberToDate(4392))));
    // Every date of the years 1..99 survives the round trip.
    for (int y = 1; y < 100; ++y)
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= 28; ++d) {
                const DayDate date{y, m, d};
                ASSERT_EQ(dayNumberToDate(dateToDayNumber(date)), date) << y << "-" << m << "-" << d;
            }
    EXPECT_EQ(dayNumberToDate(dateToDayNumber({8, 2, 29})), (DayDate{8, 2, 29}));
    EXPECT_EQ(dayNumberToDate(dateToDayNumber({7, 12, 31})), (DayDate{7, 12, 31}));
    EXPECT_EQ(twoDigit(7), QStringLiteral("07"));
    EXPECT_EQ(twoDigit(12), QStringLiteral("12"));
}

TEST(Text, Win1251)
{
    const QString text = QStringLiteral("Замена рем.ГРМ ёЁ №");
    const QByteArray bytes = toWin1251(text);
    EXPECT_EQ(bytes.size(), text.size());
    EXPECT_EQ(uchar(bytes[0]), 0xC7); // З
    EXPECT_EQ(fromWin1251(bytes), text);
    for (int b = 0; b < 256; ++b) {
        if (b == 0x98)
            continue; // unassigned in the code page
        const QByteArray one(1, char(b));
        ASSERT_EQ(toWin1251(fromWin1251(one)), one) << b;
    }
    EXPECT_EQ(toWin1251(QStringLiteral("€✓")), QByteArray("\x88?"));
    EXPECT_EQ(toWin1251Z(QStringLiteral("Трим"), 7), QByteArray("\xD2\xF0\xE8\xEC\0\0\0", 7));
    EXPECT_EQ(toWin1251Z(QStringLiteral("ABCDEFGHIJ"), 7), QByteArray("ABCDEF\0", 7)); // always terminated
    EXPECT_EQ(fromWin1251Z(QByteArray("Ab\0cd", 5)), QStringLiteral("Ab"));
}
