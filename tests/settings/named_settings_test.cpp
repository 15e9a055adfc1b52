// SPDX-License-Identifier: GPL-3.0-or-later
// The special pages' settings by name: each text stores what the page would store and reads back
// the same; texts the page would refuse change nothing.

#include "base/Error.h"
#include "image/FactoryImage.h"
#include "image/TMK.h"
#include "image/ImageLayout.h"
#include "settings/AddSystems.h"
#include "settings/NamedSettings.h"
#include "support/MktoolRun.h"
#include "support/QtPrinters.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace mk;

namespace {

TMK factoryModel(quint16 code)
{
    TMK model;
    model.replaceImage(code, makeFactoryImage(code, 0));
    return model;
}

struct Stored
{
    int section;
    int offset;
    int width; // 1 or 2 bytes, little-endian
    int value;
};

int storedValue(const TMK &model, const Stored &at)
{
    const Record &r = model.record(at.section);
    return at.width == 2 ? r.u16(at.offset) : r.u8(at.offset);
}

} // namespace

TEST(NamedSettings, SpecialTextsStoreWhatThePageStoresAndReadBack)
{
    // 0x0202: voice, additional systems; 0x0302 the same without voice (hot-menu codes move down).
    const struct
    {
        quint16 model;
        const char *name;
        const char *text;
        Stored stored;
    } rows[] = {
        {0x0202, "hmParams.3", "SoundVolumeMenu", {9, 124 + 6, 2, 30}},
        {0x0302, "hmParams.3", "FlagSoundMenu", {9, 124 + 6, 2, 30}},
        {0x0302, "hmPark.9", "ParkUseMenu_1", {9, 124 + 2 * 39, 2, 150}},
        {0x0202, "hmTax.0", "", {9, 124 + 40, 2, 0}},
        {0x0202, "ColorScheme1.Palette15", "31,1,0", {9, 304 + 30, 2, 0xF860}},
        {0x0202, "ColorScheme0.Palette0", "0,31,31", {9, 248, 2, 0x07FF}},
        {0x0202, "ColorScheme1.WideScale", "15", {9, 304 + 32 + 22, 1, 15}},
        {0x0202, "ColorScheme0.DigitColour1", "0", {9, 248 + 32, 1, 0}},
        {0x0202, "ActiveColorScheme", "Схема пользователя", {9, 360, 1, 0x14}},
        {0x0202, "DispVar9", "2", {9, 10, 1, 1}},
        {0x0202, "Graph_8.1", "Отсутствует", {9, 64 + 15, 1, 0}},
        {0x0202, "Digit6_1.5", "Обороты", {9, 405, 1, 13}},
        {0x0202, "Digit9_3.8", "Скорость", {9, 96 + 26, 1, 12}},
        {0x0202, "Tarir.15", "255,32767", {3, 8 + 14, 1, 255}},
        {0x0202, "Tarir.1", "7,241", {3, 6, 1, 1}}, // a first code above 240: the sensor falls
        {0x0202, "Blocks.ABS 8/9", "1", {4, 20 + 22 / 8, 1, 0x40}},
        {0x0202, "BlocksShowList", "По типам", {4, 20, 1, 0x80}},
    };
    for (const auto &row : rows) {
        TMK model = factoryModel(row.model);
        SettingsContext ctx(model);
        const NamedSetting *s = findNamedSetting(QString::fromUtf8(row.name));
        ASSERT_NE(s, nullptr) << row.name;
        const QString text = QString::fromUtf8(row.text);
        EXPECT_NO_THROW(storeSettingText(*s, model, text, ctx)) << row.name;
        EXPECT_EQ(settingText(*s, model, ctx), text) << row.name;
        EXPECT_EQ(storedValue(model, row.stored), row.stored.value) << row.name;
        EXPECT_TRUE(settingShown(*s, model, ctx)) << row.name;
    }
}

TEST(NamedSettings, RefusedTextsChangeNothing)
{
    const struct
    {
        quint16 model;
        const char *name;
        const char *text;
        const char *message;
    } rows[] = {
        {0x0302, "hmParams.0", "SoundVolumeMenu", "Нет такого пункта меню"}, // no such item without voice
        {0x0202, "hmParams.0", "TaxTarifDNMenu", "не предлагается"},         // a taximeter item in the parameters
        {0x0202, "hmAver.0", "#108", "не предлагается"}, // refuelling slot 10: no identifier of its own
        {0x0202, "ColorScheme0.Palette1", "32,0,0", "R,G,B"},
        {0x0202, "ColorScheme0.Palette1", "1,2", "R,G,B"},
        {0x0202, "ColorScheme1.Graph1", "16", "от 0 до 15"},
        {0x0202, "ActiveColorScheme", "Схема 5", "Допустимые значения"},
        {0x0202, "Graph_1.0", "Отсутствует", "не предлагает"}, // only the lower graph may be empty
        {0x0202, "Arrow_1.1", "Время", "не предлагает"},
        {0x0202, "Tarir.1", "256,10", "диапазона"},
        {0x0202, "Tarir.1", "10", "литры,уе"},
        {0x0202, "Blocks.ABS 8/9", "да2", "не является допустимым"},
    };
    for (const auto &row : rows) {
        TMK model = factoryModel(row.model);
        const TMK before = model;
        SettingsContext ctx(model);
        const NamedSetting *s = findNamedSetting(QString::fromUtf8(row.name));
        ASSERT_NE(s, nullptr) << row.name;
        try {
            storeSettingText(*s, model, QString::fromUtf8(row.text), ctx);
            ADD_FAILURE() << row.name << " accepted " << row.text;
        } catch (const Error &e) {
            EXPECT_TRUE(e.text().contains(QString::fromUtf8(row.message)))
                << row.name << ": " << e.text().toStdString();
        }
        for (int k = 0; k <= 10; ++k)
            EXPECT_EQ(model.record(k), before.record(k)) << row.name << " section " << k;
    }
}

TEST(NamedSettings, EveryNameIsUniqueAndItsShownTextStoresNothingNew)
{
    QSet<QString> names;
    for (const NamedSetting &s : namedSettings()) {
        EXPECT_FALSE(names.contains(s.name)) << s.name.toStdString();
        names.insert(s.name);
    }
    // A stored value the page could not choose (a code no catalog names) is kept as it is.
    for (const quint16 code : {quint16(0x0202), quint16(0x0302), quint16(0x8002)}) {
        TMK model = factoryModel(code);
        model.record(9).setU16(124 + 2, 500);
        model.record(9).setU8(12, 250);
        const TMK before = model;
        SettingsContext ctx(model);
        for (const NamedSetting &s : namedSettings()) {
            for (const FieldByte &b : s.bytes)
                ASSERT_LT(b.offset, model.record(s.section).size()) << s.name.toStdString();
            if (s.actsAsClick)
                continue; // a click's own rule, below
            EXPECT_FALSE(storeSettingText(s, model, settingText(s, model, ctx), ctx)) << s.name.toStdString();
        }
        EXPECT_EQ(settingText(*findNamedSetting(QStringLiteral("hmParams.1")), model, ctx), QStringLiteral("#500"));
        for (int k = 0; k <= 10; ++k)
            EXPECT_EQ(model.record(k), before.record(k));
        // «Все» acts as a click on it, also when it is already stored: every listed system is chosen.
        const NamedSetting &show = *findNamedSetting(QStringLiteral("BlocksShow"));
        storeSettingText(show, model, QStringLiteral("Все"), ctx);
        for (const AddSystem &system : ctx.systems())
            setSystemSelected(model.record(kServiceSection), system.code, false);
        EXPECT_EQ(settingText(show, model, ctx), QStringLiteral("Все"));
        EXPECT_EQ(storeSettingText(show, model, QStringLiteral("Все"), ctx), !ctx.systems().empty());
        for (const AddSystem &system : ctx.systems())
            EXPECT_TRUE(isSystemSelected(model.record(kServiceSection), system.code)) << system.name.toStdString();
    }
}

TEST(NamedSettings, ToolDumpsSetsAndComparesSpecialSettings)
{
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("a.tcset")), b = dir.filePath(QStringLiteral("b.tcset"));
    ASSERT_EQ(mktool({QStringLiteral("new"), QStringLiteral("--model"), QStringLiteral("0x0202"),
                      QStringLiteral("--version"), QStringLiteral("0"), QStringLiteral("-o"), a})
                  .code,
              0);
    const ToolRun bad = mktool({QStringLiteral("set"), a, QStringLiteral("Tarir.1=300,1"), QStringLiteral("-o"), b});
    EXPECT_EQ(bad.code, 1);
    EXPECT_TRUE(QString::fromUtf8(bad.err).contains(QStringLiteral("Tarir.1: Ошибка проверки диапазона")))
        << bad.err.constData();
    const ToolRun set =
        mktool({QStringLiteral("set"), a, QStringLiteral("hmParams.0=VirtLockMenu"), QStringLiteral("Blocks.ABS 8/9=1"),
                QStringLiteral("ColorScheme1.Palette2=1,2,3"), QStringLiteral("-o"), b});
    ASSERT_EQ(set.code, 0) << set.err.constData();
    const QJsonObject dump = QJsonDocument::fromJson(mktool({QStringLiteral("dump"), b}).out).object();
    const QJsonObject fields = dump[QStringLiteral("fields")].toObject();
    EXPECT_EQ(dump[QStringLiteral("captions")][QStringLiteral("hmParams.0")].toString(),
              QStringLiteral("Вирт. замок Вкл/Откл"));
    EXPECT_EQ(fields[QStringLiteral("hmParams.0")].toString(), QStringLiteral("VirtLockMenu"));
    EXPECT_EQ(fields[QStringLiteral("Blocks.ABS 8/9")].toString(), QStringLiteral("1"));
    EXPECT_EQ(fields[QStringLiteral("ColorScheme1.Palette2")].toString(), QStringLiteral("1,2,3"));
    const ToolRun diff = mktool({QStringLiteral("diff"), a, b});
    EXPECT_EQ(diff.code, 1);
    EXPECT_EQ(
        QString::fromUtf8(diff.out).toStdString(),
        QStringLiteral("[Цветовые схемы]\nЦветовые схемы / Схема пользователя: Цвет #2 (ColorScheme1.Palette2)\t"
                       "31,13,0\t1,2,3\n[Горячие меню]\nГорячие меню / Параметры, пункт 0 (hmParams.0)\t"
                       "Заправка до полн. (FullTankMenu)\tВирт. замок Вкл/Откл (VirtLockMenu)\n[Допсистемы]\n"
                       "Допсистемы / ABS 8/9 (Blocks.ABS 8/9)\tвыкл (0)\tвкл (1)\n"
                       "Различаются настройки: 3; байты вне настроек: 0.\n")
            .toStdString());
}
