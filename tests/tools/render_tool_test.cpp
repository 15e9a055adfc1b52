// SPDX-License-Identifier: GPL-3.0-or-later
// mktool render, run as a separate program the way scripts use it.

#include <QImage>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

int mktool(const QStringList &args, QByteArray *err = nullptr)
{
    QProcess p;
    p.start(QStringLiteral(MK_BIN_DIR "/mktool"), args);
    p.waitForFinished(30000);
    if (err)
        *err = p.readAllStandardError();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

int colourCount(const QImage &image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return int(colours.size());
}

} // namespace

TEST(RenderTool, EveryScreenKindBecomesA320x240Png)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("f.tcset");
    ASSERT_EQ(mktool({"new", "--model", "1", "--version", "1", "-o", file}), 0);
    const QStringList screens = {"x1:12", "x4:1", "x4:6", "x9:3", "x7:4", "graph:8", "arrow:1", "x6", "hotmenu"};
    for (const QString &screen : screens) {
        const QString png = dir.filePath(QString(screen).replace(':', '_') + ".png");
        QByteArray err;
        ASSERT_EQ(mktool({"render", file, "--screen", screen, "-o", png}, &err), 0)
            << qPrintable(screen) << err.constData();
        const QImage image(png);
        ASSERT_EQ(image.size(), QSize(320, 240)) << qPrintable(screen);
        EXPECT_GE(colourCount(image), 3) << qPrintable(screen);
    }
    // The scheme set changes the colours.
    const QString user = dir.filePath("user.png"), predefined = dir.filePath("predefined.png");
    ASSERT_EQ(mktool({"render", file, "--screen", "x4:1", "--scheme", "1", "-o", user}), 0);
    ASSERT_EQ(mktool({"render", file, "--screen", "x4:1", "--scheme", "0", "-o", predefined}), 0);
    EXPECT_NE(QImage(user).pixel(0, 0), QImage(predefined).pixel(0, 0));
}

TEST(RenderTool, BadRequestsAreRefused)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("f.tcset"), png = dir.filePath("out.png");
    ASSERT_EQ(mktool({"new", "--model", "1", "--version", "0", "-o", file}), 0);
    for (const QStringList &bad : {QStringList{"render", file, "--screen", "x4:7", "-o", png},
                                   QStringList{"render", file, "--screen", "x4:0", "-o", png},
                                   QStringList{"render", file, "--screen", "x9", "-o", png},
                                   QStringList{"render", file, "--screen", "x1:256", "-o", png},
                                   QStringList{"render", file, "--screen", "radar:1", "-o", png},
                                   QStringList{"render", file, "--screen", "x6", "--scheme", "2", "-o", png},
                                   QStringList{"render", file, "--screen", "x6"}})
        EXPECT_EQ(mktool(bad), 2) << qPrintable(bad.join(' '));
    QByteArray err;
    EXPECT_EQ(mktool({"render", dir.filePath("missing.tcset"), "--screen", "x6", "-o", png}, &err), 1);
    EXPECT_FALSE(err.isEmpty());
    EXPECT_FALSE(QFile::exists(png));
}
