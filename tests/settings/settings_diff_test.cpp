// SPDX-License-Identifier: GPL-3.0-or-later
// How a comparison words what changed: journals as journals, a hot menu's closed gaps as such,
// values the page shows otherwise with what is stored; and the page's rules through names.

#include "image/FactoryImage.h"
#include "image/TMK.h"
#include "image/TankCalibration.h"
#include "journals/JournalData.h"
#include "settings/HotMenuList.h"
#include "settings/NamedSettings.h"
#include "settings/SettingsDiff.h"
#include "settings/ShownValue.h"
#include "support/QtPrinters.h"

#include <QLocale>
#include <functional>
#include <gtest/gtest.h>

using namespace mk;

namespace {

constexpr quint16 kModel = 0x8002; // CAN in its list, additional systems

TMK factoryModel()
{
    TMK model;
    model.replaceImage(kModel, makeFreshImage(kModel, 0));
    return model;
}

void addTrips(TMK &m, JournalKind kind, int count, int from = 0)
{
    for (int i = 0; i < count; ++i)
        setJournalEntry(m.record(6), kind, from + i, {600, quint8(1 + i), 3, 60, 1000, 100, 0});
}

void setHotMenu(TMK &m, HotMenu list) { writeHotMenu(m.record(9), 0, list); }

QStringList lines(const SettingsDiff &diff)
{
    QStringList all;
    for (const DiffPage &page : diff.pages)
        for (const SettingChange &c : page.changes)
            all << c.line();
    if (!diff.tidyUps.empty())
        all << diff.tidyUpLine();
    return all;
}

} // namespace

TEST(SettingsDiff, WordsWhatChangedAsThePagesAndJournalsShowIt)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); // as the configurator runs
    const TMK fresh = factoryModel();
    const HotMenu menu = readHotMenu(fresh.record(9), 0);
    const QString item1 = SettingsContext(fresh).menuItems().FindMenuItemByCode(menu[1])->Name;
    using Edit = std::function<void(TMK &)>;
    const struct
    {
        const char *what;
        Edit before, after;
        QStringList expected;
    } rows[] = {
        {"trip journal cleared",
         [](TMK &m) { addTrips(m, JournalKind::Trip, 8); },
         [](TMK &m) { clearJournal(m.record(6), JournalKind::Trip); },
         {QStringLiteral("Журнал поездок: очищен, было 8 записей")}},
        {"refuellings: one more",
         [](TMK &m) { addTrips(m, JournalKind::Tank, 2); },
         [](TMK &m) { addTrips(m, JournalKind::Tank, 3); },
         {QStringLiteral("Журнал заправок: 3 записи, отличаются: 1")}},
        {"error journal cleared",
         [](TMK &m) { m.record(12).setU32(kErrorEntriesOffset + 4, 0x0133); },
         [](TMK &m) { clearErrorJournal(m.record(12)); },
         {QStringLiteral("Журнал ошибок: очищен, было 1 запись")}},
        {"a set of averages cleared",
         [](TMK &m) {
             m.record(0).setU32(12, 7500); // the trip set: time, distance, fuel
             m.record(0).setU32(16, 123400);
             m.record(0).setU32(20, 9800);
         },
         [](TMK &m) { clearAccumulators(m.record(0), AccumulatorSet::Trip); },
         {QStringLiteral("Накопленные средние «Поездка»: обнулены, было 123 км, 10 л, 2:05 ч")}},
        {"a gap the page closes: no item moves",
         [menu](TMK &m) {
             setHotMenu(m, {menu[0], 0, menu[1]});
         },
         [menu](TMK &m) {
             setHotMenu(m, {menu[0], menu[1]});
         },
         {QStringLiteral("Горячие меню «Параметры»: страница при открытии убрала пустые места между пунктами. "
                         "Пункты и их порядок те же, это не изменение настроек.")}},
        {"a gap and a removed item",
         [menu](TMK &m) {
             setHotMenu(m, {menu[0], 0, menu[1]});
         },
         [menu](TMK &m) { setHotMenu(m, {menu[0]}); },
         {QStringLiteral("Параметры, пункт 1 (hmParams.1)\t%1 -> ").arg(item1),
          QStringLiteral("Горячие меню, пустые места между пунктами (страница убирает их при открытии): «Параметры» "
                         "места 1 -> нет.")}},
        {"a table length the page resets",
         [](TMK &m) { m.record(3).setU8(tank::kTarirLeng, 70); },
         [](TMK &m) { m.record(3).setU8(tank::kTarirLeng, 0); },
         {QStringLiteral("Количество точек тарировки (TarirLeng)\t0 (хранится 70, страница «Бак» показывает 0) -> 0")}},
        {"a system polled, a decimal with the locale's separator",
         [](TMK &m) { m.record(2).setU16(42, 25); },
         [](TMK &m) {
             m.record(4).setU8(kSystemBitmapOffset + 22 / 8, quint8(m.record(4).u8(kSystemBitmapOffset + 2) | 0x40));
             m.record(2).setU16(42, 30);
         },
         {QStringLiteral("Норма расхода, л/100км (K100Manual)\t2,5 -> 3,0"),
          QStringLiteral("ABS 8/9 (Blocks.ABS 8/9)\tвыкл -> вкл")}},
    };
    for (const auto &row : rows) {
        TMK a = fresh, b = fresh;
        row.before(a);
        row.before(b);
        row.after(b);
        a.encodeAll();
        b.encodeAll();
        const SettingsDiff diff = diffSettings(a, b);
        EXPECT_EQ(lines(diff).join(u'|').toStdString(), row.expected.join(u'|').toStdString()) << row.what;
        EXPECT_FALSE(diff.identical()) << row.what;
        // The page's tidy-up is told but not counted as a change.
        EXPECT_EQ(diff.changeCount(), row.expected.size() - (diff.tidyUps.empty() ? 0 : 1)) << row.what;
    }
    QLocale::setDefault(saved);
}

TEST(SettingsDiff, PageRulesHoldThroughNames)
{
    TMK m = factoryModel();
    SettingsContext ctx(m);
    // A table length above 68 reads as the page shows it, and says what is stored.
    m.record(3).setU8(tank::kTarirLeng, 70);
    const NamedSetting &length = *findNamedSetting(QStringLiteral("TarirLeng"));
    EXPECT_EQ(settingText(length, m, ctx), QStringLiteral("0"));
    EXPECT_EQ(shownValue(length, m, ctx).stored, QStringLiteral("хранится 70, страница «Бак» показывает 0"));
    EXPECT_FALSE(settingShown(*findNamedSetting(QStringLiteral("Tarir.1")), m, ctx));

    // "Показывать" chooses systems as a click on the page does; unlisted systems keep their bits.
    const NamedSetting &show = *findNamedSetting(QStringLiteral("BlocksShow"));
    const quint8 unlisted = 9;
    for (const char *name : {"Все", "Протокол"}) {
        const QString item = QString::fromUtf8(name);
        for (int i = 0; i < kSystemBitmapSize; ++i)
            m.record(4).setU8(kSystemBitmapOffset + i, 0);
        setBlocksShow(m.record(4), 2);
        ASSERT_TRUE(storeSettingText(show, m, item, ctx));
        for (const AddSystem &s : ctx.systems())
            EXPECT_EQ(isSystemSelected(m.record(4), s.code), item == u"Все" || IsProtocolSystem(ctx.device(), s.code))
                << name << s.name.toStdString();
        EXPECT_FALSE(isSystemSelected(m.record(4), unlisted));
        EXPECT_EQ(settingText(show, m, ctx), item);
    }
}

// Every setting a comparison can list is named as the editor names it: a page and a caption of
// its own (never an empty one, never the identifier alone), on every model kind.
TEST(SettingsDiff, EveryChangedSettingHasAPageAndACaption)
{
    for (const quint16 code : {quint16(0x0202), quint16(0x8002), quint16(0x0C01)}) {
        TMK fresh;
        fresh.replaceImage(code, makeFreshImage(code, 0));
        for (const NamedSetting &s : namedSettings()) {
            TMK changed = fresh;
            for (const FieldByte &b : s.bytes)
                if (b.offset < changed.record(s.section).size())
                    changed.record(s.section).setU8(b.offset, quint8(changed.record(s.section).u8(b.offset) ^ b.bits));
            fresh.encodeAll();
            changed.encodeAll();
            for (const DiffPage &page : diffSettings(fresh, changed).pages) {
                EXPECT_FALSE(page.page.isEmpty()) << s.name.toStdString();
                for (const SettingChange &c : page.changes) {
                    EXPECT_FALSE(c.caption.trimmed().isEmpty()) << s.name.toStdString();
                    EXPECT_NE(c.caption, c.name) << s.name.toStdString();
                    EXPECT_NE(c.caption, QStringLiteral("без подписи")) << c.name.toStdString();
                }
            }
        }
    }
}
