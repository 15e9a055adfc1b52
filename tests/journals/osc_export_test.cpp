// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/FileIo.h"
#include "image/FactoryImage.h"
#include "image/SettingsFile.h"
#include "image/TMK.h"
#include "journals/JournalCsv.h"
#include "journals/OscExport.h"
#include "support/MktoolRun.h"
#include "support/QtPrinters.h"

#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace mk;

namespace {

OscSettings settings(int timeDiv, int voltDiv, int range)
{
    OscSettings s;
    s.timeDiv = timeDiv;
    s.voltDiv = voltDiv;
    s.dividerRange = range;
    return s;
}

// A ramp: sample i holds i mod 256, so the first sample is 0 and the last 255.
QByteArray ramp()
{
    QByteArray samples(kOscTotalSamples, '\0');
    for (int i = 0; i < kOscTotalSamples; ++i)
        samples[i] = char(i % 256);
    return samples;
}

} // namespace

// Time: ms per division / 32 per sample, 0 at sample 32. Volts: a division is 32 sample heights
// of the drawing (S / G × 826.67 steps over 8 divisions) worth the volt/div label.
TEST(OscExport, CsvOfACraftedWaveformInTheRecordsScale)
{
    struct Case
    {
        int timeDiv, voltDiv, range;
        const char *first, *last;
    };
    for (const Case &c : {
             // 10 ms/div, 0.2 V/div: 0.3125 ms and 0.2 / 165.33 × 8 V per step.
             Case{4, 0, 0, "-10.000000,0.00000", "309.687500,2.46774"},
             // 0.5 ms/div, 5 V/div at gain 2 with the 1 : 10 range.
             Case{0, 1, 1, "-0.500000,0.00000", "15.484375,49.35484"},
             // 500 ms/div, 100 V/div at gain 4 with the 1 : 100 range.
             Case{9, 2, 2, "-500.000000,0.00000", "15484.375000,987.09677"},
         }) {
        const QList<QStringList> rows = oscCsvRows(settings(c.timeDiv, c.voltDiv, c.range), ramp());
        ASSERT_EQ(rows.size(), kOscTotalSamples + 1);
        EXPECT_EQ(csvLine(rows[0]), QStringLiteral("\"Время, мс\",\"Напряжение, В\""));
        EXPECT_EQ(csvLine(rows[1]), QLatin1String(c.first)) << c.timeDiv;
        EXPECT_EQ(csvLine(rows[33]), QStringLiteral("0.000000,") + rows[33][1]) << "the trigger moment is time 0";
        EXPECT_EQ(csvLine(rows.last()), QLatin1String(c.last)) << c.timeDiv;
    }
}

// The cursor reads off the drawing what the export writes for the same sample, at any zoom.
TEST(OscExport, CursorReadoutAgreesWithTheExport)
{
    for (int timeDiv : {0, 4, 9})
        for (int voltDiv : {0, 1, 2})
            for (double zoom : {0.5, 1.0, 4.0, 16.0})
                for (int offset : {-32, 0, 300}) {
                    const OscSettings s = settings(timeDiv, voltDiv, 1);
                    const OscGeometry g(s, 1.0 / oscTimeDivisor(timeDiv), offset, zoom);
                    const OscScale scale = oscScale(s);
                    for (int i : {0, 32, 500, 1023}) {
                        const QPoint at = g.samplePoint(i, quint8(i % 200));
                        EXPECT_NEAR(g.timeAtX(at.x()), oscSampleMs(scale, i), scale.msPerSample / zoom);
                        EXPECT_NEAR(g.voltsAtY(at.y()), oscSampleVolts(scale, i % 200), scale.voltsPerStep);
                        EXPECT_NEAR(g.sampleAtX(at.x()), i, 0.5 / zoom + 1e-9);
                    }
                    // Zoom stretches about the trigger moment: the mark stays under sample 32.
                    EXPECT_EQ(g.triggerMomentX(), g.samplePoint(kOscTriggerSample, 0).x());
                }
}

TEST(OscExport, MktoolPrintsTheCsvAndDrawsThePicture)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // The simulated device's memory holds a recorded waveform (a new file has none).
    const QString file = dir.filePath(QStringLiteral("factory.tcset"));
    writeFileAtomically(file, encodeSettingsFile(1, makeFactoryImage(1, 1)));
    TMK tmk;
    loadSettingsFile(tmk, file);
    tmk.readOscBlocks();
    const QByteArray expected = csvText(oscCsvRows(oscSettings(tmk.record(10), tmk.osc(0).header), oscSamples(tmk)));

    const ToolRun csv = mktool({QStringLiteral("osc"), file, QStringLiteral("--csv")});
    ASSERT_EQ(csv.code, 0) << csv.err.constData();
    EXPECT_EQ(csv.bytes, expected);
    EXPECT_EQ(csv.out.count('\n'), kOscTotalSamples + 1);

    const QString png = dir.filePath(QStringLiteral("trace.png"));
    const ToolRun drawn = mktool({QStringLiteral("osc"), file, QStringLiteral("-o"), png, QStringLiteral("--zoom"),
                                  QStringLiteral("4"), QStringLiteral("--offset"), QStringLiteral("100")});
    ASSERT_EQ(drawn.code, 0) << drawn.err.constData();
    EXPECT_TRUE(drawn.out.isEmpty());
    const QImage picture(png);
    ASSERT_EQ(picture.size(), QSize(1002, 278));
    // Drawn as the viewer draws: the middle grid line across, the yellow trace over it.
    int grey = 0, yellow = 0;
    for (int x = 0; x < picture.width(); ++x) {
        grey += QColor(picture.pixel(x, 128)) == QColor(128, 128, 128);
        for (int y = 0; y <= 256; ++y)
            yellow += QColor(picture.pixel(x, y)) == QColor(Qt::yellow);
    }
    EXPECT_GT(grey, 900);
    EXPECT_GT(yellow, 1002);

    for (const QStringList &bad : {QStringList{QStringLiteral("osc"), file},
                                   QStringList{QStringLiteral("osc"), file, QStringLiteral("--csv"),
                                               QStringLiteral("--zoom"), QStringLiteral("0")},
                                   QStringList{QStringLiteral("osc"), file, QStringLiteral("--csv"),
                                               QStringLiteral("--offset"), QStringLiteral("2000")}})
        EXPECT_EQ(mktool(bad).code, 2) << bad.join(' ').toStdString();
    EXPECT_EQ(mktool({QStringLiteral("osc"), dir.filePath(QStringLiteral("none.tcset")), QStringLiteral("--csv")}).code,
              1);
    // A model that keeps no oscilloscope record is refused as the viewer refuses it.
    const QString plain = dir.filePath(QStringLiteral("plain.tcset"));
    writeFileAtomically(plain, encodeSettingsFile(0x0101, makeFactoryImage(0x0101, 0)));
    const ToolRun refused = mktool({QStringLiteral("osc"), plain, QStringLiteral("--csv")});
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(QString::fromUtf8(refused.err).contains(QStringLiteral("оцилллограф не поддерживается")))
        << refused.err.constData();
    EXPECT_TRUE(refused.out.isEmpty());
}
