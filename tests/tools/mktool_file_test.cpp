// SPDX-License-Identifier: GPL-3.0-or-later
// mktool's settings-file commands, run as a separate program the way installers use it.

#include "image/FactoryImage.h"
#include "image/SettingsFile.h"
#include "support/MktoolRun.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(MktoolFile, NewInfoDump)
{
    QTemporaryDir dir;
    const QString a = dir.filePath("a.tcset");
    ASSERT_EQ(mktool({"new", "--model", "0x0101", "--version", "1", "-o", a}).code, 0);
    const ToolRun info = mktool({"info", a, "--json"});
    ASSERT_EQ(info.code, 0) << info.err.constData();
    const QJsonObject o = QJsonDocument::fromJson(info.out).object();
    EXPECT_EQ(o["model_code"].toInt(), 0x0101);
    EXPECT_EQ(o["settings_version"].toInt(), 1);
    EXPECT_EQ(o["image_length"].toInt(), 8128);
    EXPECT_EQ(o["sections"].toArray().size(), 13);
    EXPECT_EQ(o["sections"].toArray()[0].toObject()["address"].toInt(), 96);

    const ToolRun dump = mktool({"dump", a});
    ASSERT_EQ(dump.code, 0);
    const QJsonObject d = QJsonDocument::fromJson(dump.out).object();
    EXPECT_EQ(d["records"].toObject()["2"].toString().left(8), QStringLiteral("e8030600")); // Oil6L 1000, Lit6L 6
    EXPECT_FALSE(d["records"].toObject().contains("11"));
    // A new file is factory-fresh: no journals, counters or waveform from the simulated device.
    QFile file(a);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(mk::decodeSettingsFile(file.readAll()).image, mk::makeFreshImage(0x0101, 1));
    EXPECT_NE(mk::makeFreshImage(0x0101, 1), mk::makeFactoryImage(0x0101, 1));

    const QString big = dir.filePath("big.tcset");
    ASSERT_EQ(mktool({"new", "--model", "32770", "--version", "3", "--memory", "32768", "-o", big}).code, 0);
    EXPECT_EQ(QFileInfo(big).size(), 32706);
}

TEST(MktoolFile, BadInputIsRefusedWithAMessage)
{
    QTemporaryDir dir;
    const QString one = dir.filePath("one.tcset"), huge = dir.filePath("huge.tcset");
    QFile f1(one);
    ASSERT_TRUE(f1.open(QIODevice::WriteOnly));
    f1.write("x");
    f1.close();
    QFile f2(huge);
    ASSERT_TRUE(f2.open(QIODevice::WriteOnly));
    f2.write(QByteArray(2 * 1024 * 1024, 'x'));
    f2.close();
    for (const QString &path : {one, huge, dir.filePath("missing.tcset")}) {
        const ToolRun r = mktool({"info", path});
        EXPECT_EQ(r.code, 1) << path.toStdString();
        EXPECT_FALSE(r.err.isEmpty());
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_EQ(mktool({"info"}).code, 2);
    // Option values out of range are usage errors, found before anything else happens (no port
    // is searched for).
    for (const QStringList &args :
         {QStringList{"new", "--model", "0x10000", "--version", "1", "-o", dir.filePath("x")},
          QStringList{"new", "--model", "1", "--version", "300", "-o", dir.filePath("x")},
          QStringList{"new", "--model", "1", "--version", "1", "--memory", "4096", "-o", dir.filePath("x")},
          QStringList{"read", "--wait", "soon", "-o", dir.filePath("x")},
          QStringList{"read", "--port", "257", "-o", dir.filePath("x")},
          QStringList{"read", "--port", "COM257", "-o", dir.filePath("x")}, QStringList{"identify", "--wait", "-1"},
          QStringList{"write", one, "--port", "0"}})
        EXPECT_EQ(mktool(args).code, 2) << args.join(' ').toStdString();
    // The target of a read is checked before the device is looked for.
    const ToolRun toFolder = mktool({"read", "--port", "/dev/nonexistent-tty", "-o", dir.path()});
    EXPECT_EQ(toFolder.code, 1);
    EXPECT_TRUE(QString::fromUtf8(toFolder.err).contains(QStringLiteral("это папка"))) << toFolder.err.constData();
    const ToolRun noFolder = mktool({"read", "--port", "/dev/nonexistent-tty", "-o", dir.filePath("none/x.tcset")});
    EXPECT_TRUE(QString::fromUtf8(noFolder.err).contains(QStringLiteral("папка не существует")))
        << noFolder.err.constData();
    EXPECT_EQ(mktool({"frobnicate"}).code, 2);
    EXPECT_EQ(mktool({"--help"}).code, 0);
}
