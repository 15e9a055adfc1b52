// SPDX-License-Identifier: GPL-3.0-or-later
// mktool catalog and the model part of mktool info, run as a separate program.

#include "base/FileIo.h"
#include "image/FactoryImage.h"
#include "image/SettingsFile.h"
#include "support/MktoolRun.h"
#include "support/QtPrinters.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QJsonArray catalog(const QStringList &args)
{
    const ToolRun r = mktool(QStringList{"catalog"} + args);
    EXPECT_EQ(r.code, 0) << r.err.constData();
    return QJsonDocument::fromJson(r.out).array();
}

} // namespace

TEST(MktoolCatalog, Protocols)
{
    const QJsonArray list = catalog({"protocols", "--model", "32770", "--version", "0"});
    ASSERT_EQ(list.size(), 78);
    EXPECT_EQ(list[0].toObject()["code"].toInt(), 11);
    EXPECT_EQ(list[1].toObject()["code"].toInt(), 16);
    EXPECT_EQ(list[2].toObject()["code"].toInt(), 18);
    EXPECT_EQ(list[3].toObject()["code"].toInt(), 12);
    EXPECT_EQ(list[77].toObject()["code"].toInt(), 255);
    EXPECT_EQ(list[77].toObject()["index"].toInt(), 77);
    EXPECT_EQ(list[77].toObject()["error_format"].toInt(), 1000);

    const QJsonObject m74 = list[0].toObject();
    EXPECT_EQ(m74["name"].toString(), "M74CAN");
    EXPECT_EQ(m74["tank_channels"].toInt(), 2);
    EXPECT_EQ(m74["params"].toArray().size(), 27);
    EXPECT_EQ(m74["systems"].toArray().size(), 20);
    EXPECT_EQ(m74["flags"].toArray().size(), 5);
    const QJsonArray selectors = m74["selectors"].toArray();
    ASSERT_EQ(selectors.size(), 2);
    EXPECT_EQ(selectors[1].toObject()["index"].toInt(), 4);
    EXPECT_EQ(selectors[1].toObject()["items"].toArray()[2].toString(), "ZF 2180");

    const QJsonArray one = catalog({"protocols", "--model", "0x0C01", "--protocol", "1"});
    ASSERT_EQ(one.size(), 1);
    EXPECT_EQ(one[0].toObject()["name"].toString(), "Delphi");
    EXPECT_EQ(one[0].toObject()["index"].toInt(), 1);
}

// The models listed are the codes --model takes (the shell completion offers them), each with
// the settings versions it covers.
TEST(MktoolCatalog, ModelsAreWhatModelTakes)
{
    const QJsonArray models = catalog({"models"});
    ASSERT_EQ(models.size(), 62);
    EXPECT_EQ(models[0].toObject(),
              QJsonObject({{"model", "0x0001"}, {"first_version", 0}, {"last_version", 0}, {"name", "QZ-11"}}));
    for (const QJsonValue &m : models) {
        const QJsonObject o = m.toObject();
        EXPECT_FALSE(catalog({"protocols", "--model", o["model"].toString(), "--version",
                              QString::number(o["first_version"].toInt())})
                         .isEmpty())
            << o["name"].toString().toStdString();
    }
}

TEST(MktoolCatalog, ParamsAndMenu)
{
    const QJsonArray all = catalog({"params", "--model", "2049", "--version", "0"});
    ASSERT_EQ(all.size(), 53);
    const QJsonObject velocity = all[0].toObject();
    EXPECT_EQ(velocity["class"].toString(), "TVelocity");
    EXPECT_EQ(velocity["sample_text"].toString(), " 60");
    EXPECT_EQ(velocity["max_text"].toString(), "240");
    EXPECT_EQ(velocity["gauge_kind"].toInt(), 2);
    EXPECT_TRUE(velocity["graphable"].toBool());

    // With a protocol: its codes in its order, code 34 last on this model.
    const QJsonArray offered = catalog({"params", "--model", "2049", "--version", "0", "--protocol", "0"});
    ASSERT_EQ(offered.size(), 16 + 9 + 1);
    EXPECT_EQ(offered[0].toObject()["code"].toInt(), 1);
    EXPECT_EQ(offered[16].toObject()["code"].toInt(), 17);
    EXPECT_EQ(offered[25].toObject()["code"].toInt(), 34);

    const QJsonArray menu = catalog({"menu", "--model", "2561", "--version", "0"});
    ASSERT_EQ(menu.size(), 167);
    EXPECT_EQ(menu[29].toObject()["ident"].toString(), "FlagSoundMenu");
    EXPECT_EQ(menu[29].toObject()["code"].toInt(), 30);
    EXPECT_EQ(menu[166].toObject()["group"].toInt(), 0);
    EXPECT_EQ(catalog({"menu", "--model", "1"}).size(), 169);
}

TEST(MktoolCatalog, BadArgumentsAreRefused)
{
    EXPECT_EQ(mktool({"catalog", "protocols"}).code, 2);
    EXPECT_EQ(mktool({"catalog", "things", "--model", "1"}).code, 2);
    EXPECT_EQ(mktool({"catalog", "protocols", "--model", "70000"}).code, 1);
    EXPECT_EQ(mktool({"catalog", "protocols", "--model", "1", "--version", "256"}).code, 1);
    const ToolRun past = mktool({"catalog", "protocols", "--model", "0x0C01", "--protocol", "2"});
    EXPECT_EQ(past.code, 1);
    EXPECT_FALSE(past.err.isEmpty());
    EXPECT_EQ(mktool({"catalog", "params", "--model", "2049", "--version", "3", "--protocol", "0"}).code, 1);
}

TEST(MktoolInfo, ModelNameFlagsAndProtocols)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("m.tcset");
    ASSERT_EQ(mktool({"new", "--model", "0x0A01", "--version", "10", "-o", file}).code, 0);
    const ToolRun info = mktool({"info", file, "--json"});
    ASSERT_EQ(info.code, 0) << info.err.constData();
    const QJsonObject o = QJsonDocument::fromJson(info.out).object();
    EXPECT_EQ(o["model_name"].toString(), "QZ-71B_W");
    EXPECT_EQ(o["flags"].toArray(),
              QJsonArray({"NoVoice", "NoDSSwitch", "UniversalInput", "NoParking", "NoGas", "NoVagAuto"}));
    const QJsonArray protocols = o["protocols"].toArray();
    ASSERT_EQ(protocols.size(), 29);
    EXPECT_EQ(protocols[28].toObject(), QJsonObject({{"index", 28}, {"code", 255}, {"name", "Универс."}}));

    const ToolRun text = mktool({"info", file});
    EXPECT_TRUE(text.out.contains("QZ-71B_W"));

    // A settings version beyond a byte has no model row and no device has it: new refuses to make
    // one, and info refuses such a file, printing nothing but why.
    EXPECT_EQ(mktool({"new", "--model", "1", "--version", "300", "-o", file}).code, 2);
    mk::writeFileAtomically(file, mk::encodeSettingsFile(1, mk::makeFactoryImage(1, 300)));
    const ToolRun big = mktool({"info", file, "--json"});
    EXPECT_EQ(big.code, 1);
    EXPECT_TRUE(big.out.isEmpty()) << big.out.constData();
    EXPECT_TRUE(QString::fromUtf8(big.err).contains(QStringLiteral("версия настроек 300"))) << big.err.constData();
}
