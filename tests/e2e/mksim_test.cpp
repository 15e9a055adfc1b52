// SPDX-License-Identifier: GPL-3.0-or-later
// mksim as a separate program on a pseudo-terminal, reached through the real port code.

#include "base/Error.h"
#include "base/FileIo.h"
#include "image/FactoryImage.h"
#include "image/SettingsFile.h"
#include "link/LinkTexts.h"
#include "link/PortMap.h"
#include "link/TKW_RS.h"
#include "sim/SimulatedDevice.h"
#include "support/LinkFixture.h"
#include "support/Mksim.h"
#include "support/PtyDevice.h"
#include "support/QtPrinters.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace mk::test {
namespace {

TEST(Mksim, AnswersIdentifyOnlyAtItsOwnAddressAndSavesItsMemory)
{
    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("dev.tcset"));
    MksimProcess sim({QStringLiteral("--address"), QStringLiteral("FE"), QStringLiteral("--model"),
                      QStringLiteral("0x8002"), QStringLiteral("--settings-version"), QStringLiteral("7"),
                      QStringLiteral("--save"), saved, QStringLiteral("--log")});
    ASSERT_FALSE(sim.path().isEmpty()) << sim.error().toStdString();
    setPortOverride(30, sim.path());
    TKW_RS link;
    link.port().OpenPort(30);
    ASSERT_TRUE(link.port().IsOpen());
    link.protocol().SetFirstByteTimeout(100);
    link.protocol().CommandExchange(0xFE, 1);
    link.frame().GetByte();
    EXPECT_EQ(link.frame().GetWord(), 0x8002);
    try {
        link.frame().BeginCommand(0xFC, 1);
        link.protocol().ExchangeOnce();
        FAIL() << "0xFC answered";
    } catch (const Error &e) {
        EXPECT_EQ(e.text(), kNoLinkText);
    }
    link.port().ClosePort();
    setPortOverride(30, {});

    EXPECT_EQ(sim.stop(), 0);
    EXPECT_TRUE(sim.standardError().contains(QStringLiteral("FE identify")));
    const SettingsFileContent file = decodeSettingsFile(readWholeFile(saved, kMaxSettingsFileSize));
    EXPECT_EQ(file.modelCode, 0x8002);
    EXPECT_EQ(file.image, makeFactoryImage(0x8002, 7, 32768));
}

TEST(Mksim, PacesInPacketsAndDuplicatesAnswersWhenTold)
{
    MksimProcess sim({QStringLiteral("--line-rate"), QStringLiteral("115200"), QStringLiteral("--delivery"),
                      QStringLiteral("packet:4"), QStringLiteral("--fault"), QStringLiteral("duplicate:1")});
    ASSERT_FALSE(sim.path().isEmpty()) << sim.error().toStdString();
    RawTerminal terminal(sim.path());
    ASSERT_TRUE(terminal.isOpen());
    terminal.write(hex("06 FC 01 00 01 FC"));
    const QByteArray identify = framed(hex("09 FC 01 00 01 01 01 00")); // model 1
    EXPECT_EQ(terminal.read(2 * int(identify.size())), identify + identify);
}

TEST(Mksim, RefusesABadCommandLine)
{
    MksimProcess sim({QStringLiteral("--address"), QStringLiteral("FB")});
    EXPECT_TRUE(sim.path().isEmpty());
    EXPECT_EQ(sim.stop(), 2);
    for (const QStringList &args : {QStringList{QStringLiteral("--fault"), QStringLiteral("gremlins:0.5")},
                                    QStringList{QStringLiteral("--fault"), QStringLiteral("stray:0.1:5")},
                                    QStringList{QStringLiteral("--delivery"), QStringLiteral("chunk")}}) {
        MksimProcess faulty(args);
        EXPECT_EQ(faulty.stop(), 2) << args.join(QLatin1Char(' ')).toStdString();
    }
}

} // namespace
} // namespace mk::test
