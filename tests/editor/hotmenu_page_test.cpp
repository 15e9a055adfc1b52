// SPDX-License-Identifier: GPL-3.0-or-later
// The page "Горячие меню" driven through its grids and menus.

#include "catalogs/MenuItems.h"
#include "editor/GridAndMenuHelpers.h"
#include "editor/HotMenuPage.h"
#include "editor/PageTestHost.h"
#include "settings/HotMenuList.h"

#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QTableWidget>
#include <QTest>

using namespace mk;
using mk::test::cellCentre;
using mk::test::findAction;
using mk::test::PageTestHost;
using mk::test::rightClick;

namespace {

const HotMenu kFull = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};

void drag(QTableWidget *grid, int from, int to)
{
    QWidget *viewport = grid->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, cellCentre(grid, from, 0));
    QTest::mouseMove(viewport, cellCentre(grid, (from + to) / 2, 0));
    QTest::mouseMove(viewport, cellCentre(grid, to, 1));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, cellCentre(grid, to, 1));
}

QStringList actionTexts(const QMenu *menu)
{
    QStringList texts;
    for (const QAction *a : menu->actions())
        texts << a->text();
    return texts;
}

} // namespace

class HotMenuPageTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PageTestHost> m_host;
    HotMenuPage *m_page = nullptr;

    // A page on a model without feature flags, list `list` holding `entries`.
    void open(int list, const HotMenu &entries, quint16 modelType = 0x8002)
    {
        m_host = std::make_unique<PageTestHost>(modelType, 0);
        writeHotMenu(m_host->model().record(9), list, entries);
        m_page = &m_host->makePage<HotMenuPage>("tsHotMenu");
        m_host->window().show();
    }
    HotMenu list(int l) { return readHotMenu(m_host->model().record(9), l); }
    QMenu *menu(const char *name) { return m_host->sheet()->findChild<QMenu *>(QLatin1String(name)); }

    // Right click on the row, "Вставить пункт", then the item with this identifier.
    void insertVia(int l, int row, const QString &ident)
    {
        rightClick(m_page->grid(l), row);
        QMenu *context = menu("pmHotMenu");
        QVERIFY(context->isVisible());
        context->actions().at(0)->trigger();
        QMenu *add = menu("pmHotMenuAdd");
        QVERIFY(add->isVisible());
        QAction *item = findAction(add, ident);
        QVERIFY2(item, qPrintable(ident));
        item->trigger();
    }

private slots:
    void gridsLabelsAndText()
    {
        open(0, {});
        const char *grids[] = {"sghmParams", "sghmAver", "sghmTax", "sghmPark"};
        for (int l = 0; l < 4; ++l) {
            auto *grid = m_host->sheet()->findChild<QTableWidget *>(grids[l]);
            QVERIFY(grid);
            QCOMPARE(grid, m_page->grid(l));
            QCOMPARE(grid->rowCount(), 10);
            QCOMPARE(grid->columnCount(), 2);
            QCOMPARE(grid->item(9, 0)->text(), QStringLiteral("9"));
        }
        QStringList labels;
        for (QLabel *label : m_host->sheet()->findChildren<QLabel *>())
            labels << label->text();
        for (const char *text : {"Параметры", "Средние", "Таксометр", "Парктроник"})
            QVERIFY(labels.contains(QString::fromUtf8(text)));
        const auto *text = m_host->sheet()->findChild<QLabel *>("Label59");
        QVERIFY(text->text().startsWith(QStringLiteral("Для того, чтобы добавить или удалить пункт меню")));
        QVERIFY(text->text().contains(QStringLiteral("\n\nДля того, чтобы поменять местами")));
    }

    void loadCompactsIntoTheRecordAndShowsCaptions()
    {
        open(1, {5, 0, 7, 0, 0, 999, 0, 0, 0, 0});
        QCOMPARE(list(1), (HotMenu{5, 7, 999}));
        QTableWidget *grid = m_page->grid(1);
        const MenuItemCatalog &catalog = m_host->menuItems();
        QCOMPARE(grid->item(0, 1)->text(), catalog.FindMenuItemByCode(5)->Name);
        QCOMPARE(grid->item(1, 1)->text(), catalog.FindMenuItemByCode(7)->Name);
        QCOMPARE(grid->item(2, 1)->text(), QString()); // unknown code: empty, but it keeps its place
        QCOMPARE(grid->item(3, 1)->text(), QString());
    }

    void contextMenuItems()
    {
        open(0, kFull);
        rightClick(m_page->grid(2), 4);
        QMenu *context = menu("pmHotMenu");
        QVERIFY(context->isVisible());
        QCOMPARE(actionTexts(context), (QStringList{QStringLiteral("Вставить пункт"), QStringLiteral("Удалить пункт"),
                                                    QStringLiteral("Очистить список")}));
        QCOMPARE(m_page->grid(2)->currentRow(), 4);
        context->hide();
    }

    void insertIntoAFullList()
    {
        open(0, kFull);
        const quint16 tankLimit = m_host->menuItems().FindMenuItemByIdent("TankLimitMenu")->Code;
        insertVia(0, 3, "TankLimitMenu");
        QCOMPARE(list(0), (HotMenu{1, 2, 3, tankLimit, 4, 5, 6, 7, 8, 9}));
        QCOMPARE(m_page->grid(0)->item(3, 1)->text(), QStringLiteral("Ост.бака"));

        insertVia(0, 9, "VirtLockMenu");
        QCOMPARE(list(0)[9], m_host->menuItems().FindMenuItemByIdent("VirtLockMenu")->Code);
        QCOMPARE(list(0)[8], 8);
    }

    void insertBeyondTheLastItemLandsAfterIt()
    {
        open(3, {146, 148});
        insertVia(3, 7, "ParkSpeedMenu_1");
        QCOMPARE(list(3), (HotMenu{146, 148, 155}));
    }

    void deleteAndClear()
    {
        open(1, {46, 47, 48});
        rightClick(m_page->grid(1), 0);
        menu("pmHotMenu")->actions().at(1)->trigger();
        QCOMPARE(list(1), (HotMenu{47, 48}));
        QCOMPARE(m_page->grid(1)->item(0, 1)->text(), QStringLiteral("Сброс Сброс1"));

        writeHotMenu(m_host->model().record(9), 2, kFull);
        m_host->reloadAll();
        rightClick(m_page->grid(2), 5);
        menu("pmHotMenu")->actions().at(2)->trigger();
        QCOMPARE(list(2), HotMenu{});
        QCOMPARE(list(1), (HotMenu{47, 48}));
        QCOMPARE(m_page->grid(2)->item(0, 1)->text(), QString());
    }

    void dragRows()
    {
        open(0, kFull);
        drag(m_page->grid(0), 0, 4);
        QCOMPARE(list(0), (HotMenu{2, 3, 4, 5, 1, 6, 7, 8, 9, 10}));

        writeHotMenu(m_host->model().record(9), 0, kFull);
        m_host->reloadAll();
        drag(m_page->grid(0), 4, 0);
        QCOMPARE(list(0), (HotMenu{5, 1, 2, 3, 4, 6, 7, 8, 9, 10}));
        QCOMPARE(m_page->grid(0)->item(0, 1)->text(), m_host->menuItems().FindMenuItemByCode(5)->Name);

        // A press on the caption column is not a drag, and neither is a release on the same row.
        writeHotMenu(m_host->model().record(9), 0, kFull);
        QWidget *viewport = m_page->grid(0)->viewport();
        QTest::mousePress(viewport, Qt::LeftButton, {}, cellCentre(m_page->grid(0), 1, 1));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, cellCentre(m_page->grid(0), 6, 1));
        drag(m_page->grid(0), 2, 2);
        QCOMPARE(list(0), kFull);
    }

    void addMenuOffersWhatTheCatalogHolds()
    {
        open(0, {});
        rightClick(m_page->grid(0), 0);
        menu("pmHotMenu")->actions().at(0)->trigger();
        QMenu *add = menu("pmHotMenuAdd");
        QCOMPARE(actionTexts(add),
                 (QStringList{"Управление", "Источники", "Границы", "Время", "Дисплей", "Озвуч.сообщения", "TO"}));
        QVERIFY(findAction(add, "apHoloMenu"));
        QVERIFY(findAction(add, "SoundVolumeMenu"));
        QVERIFY(!findAction(add, "LightsOnMenu"));
        add->hide();

        // Averages: the catalog has no "InitResetOnlyParamsMenu", so it is left out.
        rightClick(m_page->grid(1), 0);
        menu("pmHotMenu")->actions().at(0)->trigger();
        add = menu("pmHotMenuAdd");
        QVERIFY(!findAction(add, "InitResetOnlyParamsMenu"));
        QVERIFY(findAction(add, "WriteTrip20Menu"));
        QCOMPARE(actionTexts(add).size(), 7 + 1 + 1 + 1);
        add->hide();

        // Taximeter: 27 items at the top level.
        rightClick(m_page->grid(2), 0);
        menu("pmHotMenu")->actions().at(0)->trigger();
        QCOMPARE(menu("pmHotMenuAdd")->actions().size(), 27);
        menu("pmHotMenuAdd")->hide();
    }

    void addMenuOnAModelWithoutAirTemperatureOrVoice()
    {
        open(0, {}, 0x0601); // no voice, no air-temperature input
        rightClick(m_page->grid(0), 0);
        menu("pmHotMenu")->actions().at(0)->trigger();
        QMenu *add = menu("pmHotMenuAdd");
        QVERIFY(findAction(add, "LightsOnMenu"));
        QVERIFY(!findAction(add, "apHoloMenu"));
        QVERIFY(!findAction(add, "SoundVolumeMenu"));
        QVERIFY(!findAction(add, "SayParamPeriodMenu"));
        QAction *lights = findAction(add, "LightsOnMenu");
        lights->trigger();
        QCOMPARE(list(0)[0], m_host->menuItems().FindMenuItemByIdent("LightsOnMenu")->Code);
    }

    void screenshot()
    {
        const QString dir = qEnvironmentVariable("MK_SCREENSHOT_DIR");
        if (dir.isEmpty())
            QSKIP("MK_SCREENSHOT_DIR not set");
        open(0, {2, 3, 31, 15, 6, 8, 28});
        writeHotMenu(m_host->model().record(9), 1, {52, 47, 48, 53, 97});
        writeHotMenu(m_host->model().record(9), 2, {119, 120, 121, 122});
        writeHotMenu(m_host->model().record(9), 3, {146, 148, 149, 150, 151});
        m_host->reloadAll();
        QVERIFY(QTest::qWaitForWindowExposed(&m_host->window()));
        QVERIFY(m_host->window().grab().save(dir + "/hotmenu_page.png"));

        // The add menu of the parameters list with its sub-menu "Границы", drawn over the page.
        rightClick(m_page->grid(0), 7);
        menu("pmHotMenu")->actions().at(0)->trigger();
        QMenu *add = menu("pmHotMenuAdd");
        QMenu *limits = add->actions().at(2)->menu();
        limits->popup(add->mapToGlobal(add->actionGeometry(add->actions().at(2)).topRight()));
        QPixmap shot = m_host->window().grab();
        QPainter painter(&shot);
        const QPoint origin = m_host->window().mapToGlobal(QPoint(0, 0));
        painter.drawPixmap(add->pos() - origin, add->grab());
        painter.drawPixmap(limits->pos() - origin, limits->grab());
        painter.end();
        QVERIFY(shot.save(dir + "/hotmenu_add_menu.png"));
    }
};

QTEST_MAIN(HotMenuPageTest)
#include "hotmenu_page_test.moc"
