// SPDX-License-Identifier: GPL-3.0-or-later
// mktool dump (fields), set and diff: the editor's settings by name, from the command line.

#include "base/FileIo.h"
#include "image/FactoryImage.h"
#include "image/SettingsFile.h"
#include "image/TMK.h"
#include "support/MktoolRun.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QJsonObject dump(const QString &file)
{
    const ToolRun r = mktool({"dump", file});
    EXPECT_EQ(r.code, 0) << r.err.constData();
    return QJsonDocument::fromJson(r.out).object();
}

} // namespace

TEST(FieldTool, SetStoresWithTheEditorsConversions)
{
    QTemporaryDir dir;
    const QString a = dir.filePath("a.tcset"), b = dir.filePath("b.tcset");
    ASSERT_EQ(mktool({"new", "--model", "0x8002", "--version", "0", "-o", a}).code, 0);
    const ToolRun set = mktool(
        {"set", a, "VelocityLimit=41", "TripMinStop=995", "ResetPeriod1=Ручн.", "apVel_N=Г", "deliberately", "-o", b});
    EXPECT_EQ(set.code, 1);         // a word without "=" is refused ...
    EXPECT_FALSE(QFile::exists(b)); // ... and nothing is written
    const ToolRun ok = mktool(
        {"set", a, "VelocityLimit=41", "TripMinStop=995", "ResetPeriod1=Ручн.", "apVel_N=Г", "UseTank2=1", "-o", b});
    ASSERT_EQ(ok.code, 0) << ok.err.constData();

    const QJsonObject d = dump(b);
    const QJsonObject fields = d["fields"].toObject();
    EXPECT_EQ(fields["VelocityLimit"].toDouble(), 40.0);
    EXPECT_EQ(fields["TripMinStop"].toDouble(), 995.0);
    EXPECT_EQ(fields["ResetPeriod1"].toString(), QStringLiteral("Ручн."));
    EXPECT_EQ(fields["apVel_N"].toString(), QStringLiteral("Г"));
    EXPECT_TRUE(fields["UseTank2"].toBool());
    EXPECT_EQ(fields["Protocol"].toString(), QStringLiteral("M74CAN"));
    const QByteArray r5 = QByteArray::fromHex(d["records"].toObject()["5"].toString().toLatin1());
    const QByteArray r6 = QByteArray::fromHex(d["records"].toObject()["6"].toString().toLatin1());
    EXPECT_EQ(quint8(r5[0]), 20);
    EXPECT_EQ(quint8(r6[10]) | quint8(r6[11]) << 8, 199);
}

TEST(FieldTool, BadValuesNameTheField)
{
    QTemporaryDir dir;
    const QString a = dir.filePath("a.tcset"), c = dir.filePath("c.tcset");
    ASSERT_EQ(mktool({"new", "--model", "0x0C01", "--version", "0", "-o", a}).code, 0);
    const struct
    {
        const char *assignment;
        const char *message;
    } rows[] = {
        {"VelocityLimit=300", "VelocityLimit: Значение должно быть от 40 до 200."},
        {"AirFiltCntK=10", "AirFiltCntK: Значение должно быть от 0.0 до 9.9."}, // one maintenance counter
        // What the editor would not let be changed: a hidden page, a hidden control, a reference.
        {"UniMeasADC0=1023",
         "Настройка UniMeasADC0 недоступна для этой модели МК: страница «Унив.вход» не показывается."},
        {"ParkStopLeng1=100", "Настройка ParkStopLeng1 недоступна для этой модели МК: страница «Парковка»"},
        {"SoundVolume=3", "Настройка SoundVolume недоступна для этой модели МК и протокола"},
        {"TarirIncline=Прямой", "Настройка TarirIncline показывается только для справки"},
        {"OSAGO=30.02.20", "OSAGO:"},
        {"apVel_F=X", "apVel_F: Допустимые значения"},
        {"Protocol=CAN", "Настройка Protocol недоступна"}, // the list is hidden without manual selection
        {"NoSuchSetting=1", "NoSuchSetting:"},
    };
    for (const auto &row : rows) {
        const ToolRun r = mktool({"set", a, row.assignment, "-o", c});
        EXPECT_EQ(r.code, 1) << row.assignment;
        EXPECT_TRUE(QString::fromUtf8(r.err).contains(QString::fromUtf8(row.message))) << r.err.constData();
        EXPECT_FALSE(QFile::exists(c));
    }
}

TEST(FieldTool, SetProtocolActsLikeTheProtocolPage)
{
    QTemporaryDir dir;
    const QString a = dir.filePath("a.tcset"), b = dir.filePath("b.tcset");
    ASSERT_EQ(mktool({"new", "--model", "0x8002", "--version", "0", "-o", a}).code, 0);
    // Sub-type items are those of the protocol chosen before them.
    const ToolRun r = mktool({"set", a, "ProtTypeAdd1=1+2", "TankMeth=ДУТ ЭБУ2", "ProtocolSelectMeth=Руч.",
                              "Protocol=J1939", "ProtTypeAdd2=3", "-o", b});
    ASSERT_EQ(r.code, 0) << r.err.constData();
    const QJsonObject f = dump(b)["fields"].toObject();
    EXPECT_EQ(f["Protocol"].toString(), QStringLiteral("J1939"));
    EXPECT_EQ(f["ProtTypeAdd1"].toInt(), 0); // reset by the change
    EXPECT_EQ(f["ProtTypeAdd2"].toString(), QStringLiteral("3"));
    EXPECT_EQ(f["TankMeth"].toString(), QStringLiteral("Расчетный")); // the list became shorter

    const ToolRun diff = mktool({"diff", a, b, "--json"});
    EXPECT_EQ(diff.code, 1);
    const QJsonObject d = QJsonDocument::fromJson(diff.out).object();
    QStringList names;
    for (const QJsonValue &v : d["fields"].toArray())
        names << v.toObject()["name"].toString();
    EXPECT_TRUE(names.contains("Protocol"));
    EXPECT_TRUE(names.contains("ProtTypeAdd2"));
    EXPECT_FALSE(names.contains("VelocityLimit"));
    EXPECT_EQ(d["other_bytes"].toInt(), 1); // the previous-protocol copy at section 10, offset 6
}

TEST(FieldTool, DiffOfEqualFilesAndUnnamedBits)
{
    QTemporaryDir dir;
    const QString a = dir.filePath("a.tcset"), b = dir.filePath("b.tcset");
    ASSERT_EQ(mktool({"new", "--model", "0x0101", "--version", "1", "-o", a}).code, 0);
    const ToolRun same = mktool({"diff", a, a});
    EXPECT_EQ(same.code, 0);
    EXPECT_TRUE(same.out.contains("Различаются настройки: 0; байты вне настроек: 0."));
    // A named bit of the Flags word is a field; its neighbours are not.
    ASSERT_EQ(mktool({"set", a, "GasOil=1", "-o", b}).code, 0);
    const ToolRun one = mktool({"diff", a, b});
    EXPECT_TRUE(one.out.contains("(GasOil)\t0\t1")) << one.out.constData();
    EXPECT_TRUE(one.out.contains("Различаются настройки: 1; байты вне настроек: 0.")) << one.out.constData();
}

// Two files that differ anywhere are never reported equal: one bit flipped at positions spread
// over the whole image (header, records, trailers, section 11, oscilloscope blocks, the end), or a
// model code. Where the shown values look alike, the raw ones tell them apart.
TEST(FieldTool, DiffFindsEveryDifference)
{
    QTemporaryDir dir;
    const QString a = dir.filePath("a.tcset"), b = dir.filePath("b.tcset");
    const QByteArray image = mk::makeFactoryImage(0x0101, 1);
    mk::writeFileAtomically(a, mk::encodeSettingsFile(0x0101, image));
    for (qsizetype pos = 0; pos < image.size(); pos += 211) {
        QByteArray other = image;
        other[pos] = char(other[pos] ^ 0x01);
        mk::writeFileAtomically(b, mk::encodeSettingsFile(0x0101, other));
        EXPECT_EQ(mktool({"diff", a, b}).code, 1) << pos;
    }
    mk::writeFileAtomically(b, mk::encodeSettingsFile(0x0102, image));
    EXPECT_EQ(mktool({"diff", a, b}).code, 1);

    // A correction factor one float step away from 1.0 still shows 0.0.
    mk::TMK m;
    m.replaceImage(0x0101, image);
    m.record(5).setU32(36, m.record(5).u32(36) + 1);
    m.encodeAll();
    mk::writeFileAtomically(b, mk::encodeSettingsFile(0x0101, m.image()));
    const ToolRun corr = mktool({"diff", a, b});
    EXPECT_TRUE(corr.out.contains("(VelocityCorr)\t0.0 (0x3F800000)\t0.0 (0x3F800001)")) << corr.out.constData();
}

// A hot menu with an empty place between its items: the JSON tells the page's tidy-up apart from
// the changes, and the files are not reported equal.
TEST(FieldTool, DiffJsonTellsHotMenuGaps)
{
    QTemporaryDir dir;
    const QString a = dir.filePath("a.tcset"), b = dir.filePath("b.tcset");
    ASSERT_EQ(mktool({"new", "--model", "0x0202", "--version", "0", "-o", a}).code, 0);
    ASSERT_FALSE(dump(a)["fields"].toObject()["hmParams.1"].toString().isEmpty());
    ASSERT_EQ(mktool({"set", a, "hmParams.0=", "-o", b}).code, 0);
    const ToolRun diff = mktool({"diff", a, b, "--json"});
    EXPECT_EQ(diff.code, 1);
    const QJsonObject d = QJsonDocument::fromJson(diff.out).object();
    const QJsonArray tidyUps = d["tidy_ups"].toArray();
    ASSERT_EQ(tidyUps.size(), 1) << diff.out.constData();
    const QJsonObject gap = tidyUps[0].toObject();
    EXPECT_EQ(gap["kind"].toString(), QStringLiteral("hot_menu_gaps"));
    EXPECT_EQ(gap["caption"].toString(), QStringLiteral("Параметры"));
    EXPECT_EQ(gap["a"].toString(), QStringLiteral("места 6"));
    EXPECT_EQ(gap["b"].toString(), QStringLiteral("места 0, 6"));
    EXPECT_FALSE(d["identical"].toBool());
}
