// SPDX-License-Identifier: GPL-3.0-or-later
// mktool apply --device against mksim: read, apply, list, write with backup and verification.

#include "image/SettingsFile.h"
#include "image/TMK.h"
#include "link/ExchangeTexts.h"
#include "settings/NamedSettings.h"
#include "support/Mksim.h"
#include "support/MktoolRun.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace mk::test {
namespace {

void writeText(const QString &path, const QByteArray &text)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

TEST(ProfileDevice, AppliedToTheDeviceEndsVerifiedAndARefusedProfileWritesNothing)
{
    QTemporaryDir dir;
    const auto path = [&dir](const char *name) { return dir.filePath(QString::fromLatin1(name)); };
    writeText(path("good.json"), R"({"profile": 1, "settings": [
        {"name": "VelocityLimit", "value": "90"},
        {"name": "hmParams.0", "value": "VirtLockMenu"},
        {"name": "ColorScheme1.Palette3", "value": "31,0,5"},
        {"name": "EngOilCntK", "value": "10"}]})");
    writeText(path("bad.json"), R"({"profile": 1, "settings": [
        {"name": "VelocityLimit", "value": "90"},
        {"name": "SoundVolume", "value": "3"}]})");
    {
        // Without voice: the second profile does not fit, and the device is not written.
        MksimProcess sim(
            {QStringLiteral("--model"), QStringLiteral("0x0302"), QStringLiteral("--save"), path("mute.tcset")});
        ASSERT_FALSE(sim.path().isEmpty()) << sim.error().toStdString();
        const ToolRun bad =
            mktool({QStringLiteral("apply"), path("bad.json"), QStringLiteral("--device"), QStringLiteral("--port"),
                    sim.path(), QStringLiteral("--backup-dir"), path("backups")});
        EXPECT_EQ(bad.code, 1);
        EXPECT_TRUE(QString::fromUtf8(bad.err).contains(QStringLiteral("SoundVolume: "))) << bad.err.constData();
        EXPECT_FALSE(QDir(path("backups")).exists());
        ASSERT_EQ(sim.stop(), 0);
    }
    TMK untouched;
    loadSettingsFile(untouched, path("mute.tcset"));
    EXPECT_EQ(settingText(*findNamedSetting(QStringLiteral("VelocityLimit")), untouched, SettingsContext(untouched)),
              QStringLiteral("80"));

    MksimProcess sim(
        {QStringLiteral("--model"), QStringLiteral("0x0202"), QStringLiteral("--save"), path("after.tcset")});
    ASSERT_FALSE(sim.path().isEmpty()) << sim.error().toStdString();
    const ToolRun good =
        mktool({QStringLiteral("apply"), path("good.json"), QStringLiteral("--device"), QStringLiteral("--port"),
                sim.path(), QStringLiteral("--backup-dir"), path("backups")});
    EXPECT_EQ(good.code, 0) << good.err.constData();
    const QString out = QString::fromUtf8(good.out);
    EXPECT_TRUE(out.contains(QStringLiteral("(VelocityLimit): 80 → 90"))) << good.out.constData();
    EXPECT_TRUE(out.contains(
        QStringLiteral("(hmParams.0): Заправка до полн. (FullTankMenu) → Вирт. замок Вкл/Откл (VirtLockMenu)")))
        << good.out.constData();
    EXPECT_TRUE(out.contains(kWrittenText)) << good.out.constData();
    ASSERT_EQ(sim.stop(), 0);

    TMK after;
    loadSettingsFile(after, path("after.tcset"));
    const SettingsContext ctx(after);
    EXPECT_EQ(settingText(*findNamedSetting(QStringLiteral("VelocityLimit")), after, ctx), QStringLiteral("90"));
    EXPECT_EQ(settingText(*findNamedSetting(QStringLiteral("hmParams.0")), after, ctx), QStringLiteral("VirtLockMenu"));
    EXPECT_EQ(settingText(*findNamedSetting(QStringLiteral("ColorScheme1.Palette3")), after, ctx),
              QStringLiteral("31,0,5"));
    // A service counter the profile sets is the user's change: written like any setting.
    EXPECT_EQ(settingText(*findNamedSetting(QStringLiteral("EngOilCntK")), after, ctx), QStringLiteral("10"));

    // Applied again, nothing changes and nothing is written.
    MksimProcess again({QStringLiteral("--image"), path("after.tcset")});
    const ToolRun same =
        mktool({QStringLiteral("apply"), path("good.json"), QStringLiteral("--device"), QStringLiteral("--port"),
                again.path(), QStringLiteral("--backup-dir"), path("backups2")});
    EXPECT_EQ(same.code, 0) << same.err.constData();
    EXPECT_FALSE(QDir(path("backups2")).exists());
}

} // namespace
} // namespace mk::test
