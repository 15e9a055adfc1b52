// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/DefaultRecords.h"
#include "image/TMK.h"
#include "journals/OscData.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace mk;

namespace {

OscSettings settings(int timeDiv, int voltDiv, int range = 0, qint16 trig = 0, qint16 level = 0)
{
    OscSettings s;
    s.timeDiv = timeDiv;
    s.voltDiv = voltDiv;
    s.dividerRange = range;
    s.trigLevel = trig;
    s.levelValue = level;
    return s;
}

double scaleOf(int timeDiv) { return 1.0 / oscTimeDivisor(timeDiv); }

} // namespace

TEST(OscData, SampleEndsAtOpening)
{
    const OscGeometry g(settings(4, 1), scaleOf(4), 0);
    EXPECT_DOUBLE_EQ(g.horizontalFactor(), 1.0);
    EXPECT_EQ(g.samplePoint(0, 0).x(), 32);
    EXPECT_EQ(g.samplePoint(1023, 0).x(), 1055); // beyond the 1002-pixel paint box
    EXPECT_EQ(g.triggerMomentX(), 64);
}

TEST(OscData, ScrollingMovesTraceAndTriggerMomentTogether)
{
    const OscGeometry left(settings(4, 1), scaleOf(4), -32);
    EXPECT_EQ(left.samplePoint(0, 0).x(), 64);
    EXPECT_EQ(left.triggerMomentX(), 96);
    // The mark sits under sample 32 whatever the offset and the time base chosen since opening.
    for (int timeDiv : {0, 3, 4, 9})
        for (int offset : {-32, -7, 0, 100, 992}) {
            const OscGeometry g(settings(timeDiv, 0), scaleOf(4), offset);
            EXPECT_EQ(g.triggerMomentX(), g.samplePoint(32, 0).x()) << timeDiv << " " << offset;
        }
}

TEST(OscData, ChangingTheTimeBaseStretchesAgainstTheOpeningScale)
{
    // Opened at 10 ms/div (T = 100), now 20 ms/div (T = 50): half as wide.
    const OscGeometry g(settings(5, 1), scaleOf(4), 0);
    EXPECT_DOUBLE_EQ(g.horizontalFactor(), 0.5);
    EXPECT_EQ(g.samplePoint(0, 0).x(), 48);
    EXPECT_EQ(g.samplePoint(1023, 0).x(), 560); // (1023 − 32) × 0.5 + 64 = 559.5, halves to even
}

TEST(OscData, VerticalScale)
{
    const OscGeometry v0(settings(4, 0), scaleOf(4), 0);
    EXPECT_NEAR(v0.verticalDivisor(), 165.333, 0.001);
    EXPECT_EQ(v0.samplePoint(0, 0).y(), 256); // bottom line
    EXPECT_EQ(v0.samplePoint(0, 165).y(), 1); // near the top line
    EXPECT_EQ(v0.samplePoint(0, 255).y(), -139);
    const OscGeometry v2(settings(4, 2), scaleOf(4), 0);
    EXPECT_NEAR(v2.verticalDivisor(), 206.667, 0.001); // 1.0 / 4 over the step
}

TEST(OscData, TriggerLevelMark)
{
    EXPECT_EQ(OscGeometry(settings(4, 1, 0, 20), scaleOf(4), 0).triggerLevelY(), 128); // 256 − 20·256/0.5/80
    EXPECT_EQ(OscGeometry(settings(4, 0, 0, 0), scaleOf(4), 0).triggerLevelY(), 256);
    EXPECT_EQ(OscGeometry(settings(4, 2, 0, -10), scaleOf(4), 0).triggerLevelY(), 288);
}

TEST(OscData, TextRow)
{
    const OscGeometry g(settings(4, 1, 0, 0, 62), scaleOf(4), 32);
    EXPECT_EQ(g.voltText(), QStringLiteral("0.5В/д"));
    EXPECT_EQ(g.timeText(), QStringLiteral("10мс/д"));
    EXPECT_EQ(g.offsetText(), QStringLiteral("10.0мс")); // 32 samples: one division of 10 ms
    EXPECT_EQ(g.levelText(), QStringLiteral("6.2В"));
    const OscGeometry ranged(settings(0, 2, 2, 0, -62), scaleOf(0), -32);
    EXPECT_EQ(ranged.voltText(), QStringLiteral("100В/д"));
    EXPECT_EQ(ranged.timeText(), QStringLiteral("0.5мс/д"));
    EXPECT_EQ(ranged.offsetText(), QStringLiteral("-0.5мс"));
    EXPECT_EQ(ranged.levelText(), QStringLiteral("-620.0В"));
    EXPECT_EQ(oscVoltDivLabels(1), QStringList({"  2", "  5", " 10"}));
}

// Whatever the capture's time base, the one viewed and the stretch: the ms/div text is what a
// division of the grid spans of the trace as drawn, and the offset text is the time of the sample
// at the trigger mark's resting place.
TEST(OscData, ScaleTextsAgreeWithTheTrace)
{
    const QStringList labels = oscTimeDivLabels();
    for (int capture = 0; capture < kOscTimeDivCount; ++capture)
        for (int viewed = 0; viewed < kOscTimeDivCount; ++viewed)
            for (double zoom : {0.125, 0.5, 1.0, 4.0, 16.0})
                for (int offset : {-32, 0, 100}) {
                    const OscGeometry g(settings(viewed, 0), scaleOf(capture), offset, zoom);
                    const double msPerSample = 1000.0 / oscTimeDivisor(capture) / 32;
                    const int from = 32 + offset, to = from + 640;
                    const double pixels = g.samplePoint(to, 0).x() - g.samplePoint(from, 0).x();
                    const double drawnMs = pixels / kOscDivision * g.msPerDivision();
                    EXPECT_NEAR(drawnMs, (to - from) * msPerSample, g.msPerDivision() / kOscDivision);
                    EXPECT_EQ(g.timeText(), QString::number(g.msPerDivision(), 'g', 4) + QStringLiteral("мс/д"));
                    if (zoom == 1.0) {
                        EXPECT_EQ(g.timeText(), labels[viewed] + QStringLiteral("мс/д"));
                    }
                    EXPECT_TRUE(g.offsetText().endsWith(QStringLiteral("мс")));
                    EXPECT_NEAR(g.offsetText().chopped(2).toDouble(), g.timeAtX(64), 0.05 + 1e-9);
                }
}

TEST(OscData, SettingsFromSectionTenAndTheCaptureHeader)
{
    Record s10 = TMK::defaultRecords()[10];
    storeOscTimeDiv(s10, 7);
    storeOscVoltDiv(s10, 2);
    storeOscInDivider(s10, 1);
    s10.setU16(kOscTrigLevelOffset, quint16(-15));
    EXPECT_EQ(s10.u8(16), 7);
    EXPECT_EQ(s10.u8(17), 2);
    EXPECT_EQ(s10.u8(18), 1);

    const OscSettings fresh = oscSettings(s10, defaultOscHeader());
    EXPECT_EQ(fresh.timeDiv, 7);
    EXPECT_EQ(fresh.voltDiv, 2);
    EXPECT_EQ(fresh.inDivider, 1);
    EXPECT_EQ(fresh.trigLevel, -15);
    EXPECT_EQ(fresh.levelValue, 128); // 12.8 V
    EXPECT_EQ(fresh.dividerRange, 0);

    // Values from a damaged image are brought into their tables instead of reading past them.
    s10.setU8(16, 200);
    s10.setU8(17, 3);
    QByteArray header = defaultOscHeader();
    header[7] = char(9);
    const OscSettings odd = oscSettings(s10, header);
    EXPECT_EQ(odd.timeDiv, 9);
    EXPECT_EQ(odd.voltDiv, 2);
    EXPECT_EQ(odd.dividerRange, 2);
}

TEST(OscData, ShortImageFillsBlocksAsFarAsItReaches)
{
    TMK tmk;
    QByteArray image(8128, '\0');
    for (int i = 0; i < image.size(); ++i)
        image[i] = char(i * 13);
    tmk.setImage(image);
    tmk.readOscBlocks();
    EXPECT_EQ(oscSamples(tmk), image.mid(3550, 512) + image.mid(7614, 512));

    // Now an image ending 100 samples into block 1: the rest keep what they held.
    const QByteArray before = oscSamples(tmk);
    QByteArray shorter(7606 + 8 + 100, '\0');
    tmk.setImage(shorter);
    tmk.readOscBlocks();
    const QByteArray after = oscSamples(tmk);
    EXPECT_EQ(tmk.osc(1).header, QByteArray(8, '\0'));
    EXPECT_EQ(after.mid(0, 512), QByteArray(512, '\0'));
    EXPECT_EQ(after.mid(512, 100), QByteArray(100, '\0'));
    EXPECT_EQ(after.mid(612), before.mid(612));
}
