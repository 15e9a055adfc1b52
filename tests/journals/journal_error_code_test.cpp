// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/TMK.h"
#include "journals/ErrorCodeText.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace mk;

namespace {

struct Case
{
    quint32 code;
    int format;
    ErrorCodeFlags flags;
    const char *text;
};

} // namespace

TEST(ErrorCodeText, Formats)
{
    const ErrorCodeFlags none{0, 0};
    const ErrorCodeFlags one{1, 1};
    const ErrorCodeFlags two{2, 2};
    const Case cases[] = {
        // 0: OBD-II letters by the top two bits of the low 16 bits
        {0x0301, 0, none, "P0301"},
        {0x4301, 0, none, "C0301"},
        {0x8ABC, 0, none, "B0ABC"},
        {0xC100, 0, none, "U0100"},
        {0x1C100, 0, none, "U0100"},
        {0x3FFF, 0, none, "P3FFF"},
        // 1: four hexadecimal digits of the low 14 bits
        {0xC13A, 1, none, "013A"},
        {0x0005, 1, none, "0005"},
        // 2: decimal
        {532, 2, none, "532"},
        {0xFFFFFFFF, 2, none, "4294967295"},
        // 3: decimal with the first of bits 15, 14, 13 that is set
        {0x8000 + 0x4000 + 12, 3, none, "49164п"},
        {0x4000 + 12, 3, none, "16396н"},
        {0x2000 + 12, 3, none, "8204м"},
        {12, 3, none, "12"},
        // 4: hexadecimal with "Sub" outside 256..4095
        {0x0013, 4, none, "0013Sub"},
        {0x0100, 4, none, "0100"},
        {0x0FFF, 4, none, "0FFF"},
        {0x1000, 4, none, "1000Sub"},
        {0x00FF, 4, none, "00FFSub"},
        // 5: J1939 SPN/FMI/occurrence
        {(3u << 24) | (5u << 16) | 110, 5, none, "SPN = 110  FMI = 5  Q = 3"},
        {(126u << 24) | (0xE0u << 16) | 0x1234, 5, none, "SPN = 463412  FMI = 0  Q = 126"},
        {(127u << 24) | (31u << 16) | 100, 5, none, "SPN = 100  FMI = 31  Q = ----"},
        {0xFF000000u, 5, none, "SPN = 0  FMI = 0  Q = ----"},
        // 6 and 1000: no text
        {0x0133, 6, none, ""},
        {0x0133, kNoCodeTextFormat, none, ""},
        {0x0133, 42, none, ""},
        // 7: OBD letters only for the flag value 1
        {0x0133, 7, one, "P0133"},
        {0x0133, 7, none, "0133"},
        {0x0133, 7, two, "0133"},
        // 8: VAG, OBD codes stored as decimal digits
        {0x4123, 8, none, "P0291"},
        {0x4523, 8, none, "P0291"},
        {0x4C2C, 8, none, "P0044"},
        {0x4000 + 300, 8, none, "P0300"},
        {0x43FF, 8, none, "P1023"},
        {532, 8, one, "532"},
        {532, 8, none, ""},
        {532, 8, two, ""},
        {0x5000, 8, none, "20480"},
        // 9: OBD letters for any non-zero flag, else decimal
        {0x0133, 9, none, "307"},
        {0x0133, 9, one, "P0133"},
        {0x0133, 9, two, "P0133"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(formatErrorCode(c.code, c.format, c.flags), QString::fromUtf8(c.text))
            << "code " << std::hex << c.code << std::dec << " format " << c.format;
}

TEST(ErrorCodeText, FlagsComeFromTheErrorTypeChoice)
{
    Record s10 = TMK::defaultRecords()[10];
    EXPECT_EQ(errorCodeFlags(s10).codeStyle, 0);
    s10.setU8(kErrorTypeOffset, 1);
    EXPECT_EQ(errorCodeFlags(s10).codeStyle, 1);
    EXPECT_EQ(errorCodeFlags(s10).codeNumber, 1);
    EXPECT_EQ(formatErrorCode(0x0133, 7, errorCodeFlags(s10)), QStringLiteral("P0133"));
}
