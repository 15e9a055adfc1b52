// SPDX-License-Identifier: GPL-3.0-or-later
// The page "Допсистемы" driven through its grids and radio groups.

#include "editor/AddSystemsPage.h"
#include "editor/GridAndMenuHelpers.h"
#include "editor/PageTestHost.h"
#include "image/ImageDeviceModel.h"
#include "widgets/RadioGroup.h"

#include <QHeaderView>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

using namespace mk;
using mk::test::doubleClick;
using mk::test::PageTestHost;

namespace {

QStringList column(const QTableWidget *grid, int c)
{
    QStringList texts;
    for (int r = 0; r < grid->rowCount(); ++r)
        texts << (grid->item(r, c) ? grid->item(r, c)->text() : QString());
    return texts;
}

int protocolIndex(const DeviceModel &device, quint8 code)
{
    for (size_t i = 0; i < device.ProtocolList.size(); ++i)
        if (device.ProtocolList[i].Code == code)
            return int(i);
    return -1;
}

} // namespace

class AddSystemsPageTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PageTestHost> m_host;
    AddSystemsPage *m_page = nullptr;
    QTableWidget *m_all = nullptr;
    QTableWidget *m_used = nullptr;

    // The page of a model with the protocol of this code current, entered.
    void enter(quint16 modelType, quint8 protocolCode, quint8 byte0 = 0)
    {
        const DeviceModel probe = SelectDeviceModel(modelType, 0, 0);
        const int index = protocolIndex(probe, protocolCode);
        QVERIFY(index >= 0);
        m_host = std::make_unique<PageTestHost>(modelType, 0, quint8(index));
        m_host->model().record(4).setU8(kSystemBitmapOffset, byte0);
        m_page = &m_host->makePage<AddSystemsPage>("tsBlocks");
        m_all = m_host->sheet()->findChild<QTableWidget *>("sgAllBlocks");
        m_used = m_host->sheet()->findChild<QTableWidget *>("sgUsedBlocks");
        m_host->window().show();
        m_page->activated();
    }
    Record &s4() { return m_host->model().record(4); }
    RadioGroup *group(const char *name) { return m_host->sheet()->findChild<RadioGroup *>(name); }
    void click(const char *groupName, int item) { QTest::mouseClick(group(groupName)->button(item), Qt::LeftButton); }

private slots:
    void modelWithoutCanListsTheCommonSystems()
    {
        enter(0x0701, 41);
        QCOMPARE(m_all->rowCount(), 29);
        QCOMPARE(m_all->horizontalHeaderItem(0)->text(), QStringLiteral("Название"));
        QCOMPARE(m_all->horizontalHeaderItem(1)->text(), QStringLiteral("Выбр."));
        QCOMPARE(m_used->horizontalHeaderItem(0)->text(), QStringLiteral("Название"));
        QCOMPARE(m_all->item(0, 0)->text(), QStringLiteral("Иммо АПС-4"));
        QCOMPARE(m_all->item(28, 0)->text(), QStringLiteral("Duster ЭМУР 1"));
        QCOMPARE(m_used->rowCount(), 0);
    }

    void canAndExtendedAndHybridWidenTheList()
    {
        enter(0x8002, 1); // CAN in the list, ExtendedSystems
        QCOMPARE(m_all->item(0, 0)->text(), QStringLiteral("Доп.устройства"));
        QCOMPARE(m_all->rowCount(), 1 + 29 + 41 + 37);
        QVERIFY(!column(m_all, 0).contains(QStringLiteral("HV ECU Estima")));

        enter(0x8003, 230); // a hybrid protocol current, no ExtendedSystems
        QVERIFY(column(m_all, 0).contains(QStringLiteral("HV ECU Estima")));
        QVERIFY(!column(m_all, 0).contains(QStringLiteral("Доп.устройства")));
        QCOMPARE(m_all->rowCount(), 29 + 41 + 13 + 37);

        // The list follows a protocol chosen on another page when the page is entered again.
        m_page->deactivated();
        setCurrentProtocol(m_host->deviceModel(), protocolIndex(m_host->device(), 1));
        m_page->activated();
        QVERIFY(!column(m_all, 0).contains(QStringLiteral("HV ECU Estima")));
    }

    void doubleClicksSelectAndDeselect()
    {
        enter(0x0701, 41);
        doubleClick(m_all, 5); // 14 "ЭМУР Махачкала"
        QVERIFY(isSystemSelected(s4(), 14));
        QCOMPARE(m_all->item(5, 1)->text(), QStringLiteral("V"));
        QCOMPARE(column(m_used, 0), QStringList{QStringLiteral("ЭМУР Махачкала")});
        doubleClick(m_all, 0);
        QCOMPARE(column(m_used, 0), (QStringList{QStringLiteral("Иммо АПС-4"), QStringLiteral("ЭМУР Махачкала")}));

        doubleClick(m_used, 1);
        QVERIFY(!isSystemSelected(s4(), 14));
        QVERIFY(isSystemSelected(s4(), 8));
        QCOMPARE(m_all->item(5, 1)->text(), QString());
        QCOMPARE(m_used->rowCount(), 1);

        doubleClick(m_all, 0);
        QVERIFY(!isSystemSelected(s4(), 8));
        QCOMPARE(m_used->rowCount(), 0);
    }

    // The keyboard does what the double click does: Space and Enter on the current row, and the
    // keys move on through the tables without leaving them.
    void spaceAndEnterTickTheCurrentRow()
    {
        enter(0x0701, 41);
        m_all->setFocus();
        m_all->setCurrentCell(0, 0);
        QTest::keyClick(m_all, Qt::Key_Down, Qt::NoModifier); // row 1
        QTest::keyClick(m_all, Qt::Key_Down, Qt::NoModifier);
        QTest::keyClick(m_all, Qt::Key_Down, Qt::NoModifier);
        QTest::keyClick(m_all, Qt::Key_Down, Qt::NoModifier);
        QTest::keyClick(m_all, Qt::Key_Down, Qt::NoModifier); // row 5: 14 "ЭМУР Махачкала"
        QCOMPARE(m_all->currentRow(), 5);
        QTest::keyClick(m_all, Qt::Key_Space);
        QVERIFY(isSystemSelected(s4(), 14));
        QCOMPARE(m_all->item(5, 1)->text(), QStringLiteral("V"));
        QCOMPARE(m_all->currentRow(), 5);
        QTest::keyClick(m_all, Qt::Key_Up);
        QTest::keyClick(m_all, Qt::Key_Up);
        QTest::keyClick(m_all, Qt::Key_Up);
        QTest::keyClick(m_all, Qt::Key_Up);
        QTest::keyClick(m_all, Qt::Key_Up); // row 0: 8 "Иммо АПС-4"
        QTest::keyClick(m_all, Qt::Key_Return);
        QCOMPARE(column(m_used, 0), (QStringList{QStringLiteral("Иммо АПС-4"), QStringLiteral("ЭМУР Махачкала")}));
        QTest::keyClick(m_all, Qt::Key_Enter, Qt::KeypadModifier); // ticked again: off
        QVERIFY(!isSystemSelected(s4(), 8));
        QTest::keyClick(m_all, Qt::Key_Space);

        // The used table drops its current row and stays on the one that takes its place.
        m_used->setFocus();
        m_used->setCurrentCell(0, 0);
        QTest::keyClick(m_used, Qt::Key_Space);
        QVERIFY(!isSystemSelected(s4(), 8));
        QCOMPARE(column(m_used, 0), QStringList{QStringLiteral("ЭМУР Махачкала")});
        QCOMPARE(m_used->currentRow(), 0);
        QTest::keyClick(m_used, Qt::Key_Return);
        QVERIFY(!isSystemSelected(s4(), 14));
        QCOMPARE(m_used->rowCount(), 0);
        QTest::keyClick(m_used, Qt::Key_Space); // nothing left: nothing happens
        QCOMPARE(m_all->item(0, 1)->text(), QString());
    }

    void allSelectsOnlyListedSystems()
    {
        enter(0x0701, 41, 0x82);
        setSystemSelected(s4(), 200, true); // unlisted and set: stays set, shown nowhere
        m_page->activated();
        QCOMPARE(group("rgBlocksShow")->itemIndex(), 2);
        QCOMPARE(group("rgBlocksShowList")->itemIndex(), 1);
        click("rgBlocksShow", 0);
        QCOMPARE(m_used->rowCount(), 29);
        QVERIFY(isSystemSelected(s4(), 200));
        QVERIFY(!isSystemSelected(s4(), 25)); // a CAN system this model does not list
        QCOMPARE(s4().u8(kSystemBitmapOffset), 0x80);
        QCOMPARE(column(m_all, 1).count(QStringLiteral("V")), 29);

        // Connected: the bits stay as they are.
        doubleClick(m_all, 3);
        click("rgBlocksShow", 2);
        QCOMPARE(m_used->rowCount(), 28);
        QCOMPARE(s4().u8(kSystemBitmapOffset), 0x82);
    }

    void protocolSelectsWhatTheProtocolPolls()
    {
        enter(0x8002, 11); // "M74CAN": 8 10 11 15 25 27 77 28 29 30 36 37 55 56 57 58 59 60 76 83
        setSystemSelected(s4(), 12, true);
        click("rgBlocksShow", 1);
        const TProtBase *protocol = CurrentProtocol(m_host->device());
        for (const AddSystem &system : m_page->systems())
            QCOMPARE(isSystemSelected(s4(), system.code), protocol->IsProtocolSystem(system.code));
        QVERIFY(!isSystemSelected(s4(), 12));
        QCOMPARE(m_used->rowCount(), 20);
        QCOMPARE(s4().u8(kSystemBitmapOffset), 0x01);
    }

    void displayChoicesKeepEachOther()
    {
        enter(0x0701, 41, 0x7E); // bits 2-6 set, show item 2
        click("rgBlocksShowList", 1);
        QCOMPARE(s4().u8(kSystemBitmapOffset), 0x82);
        click("rgBlocksShow", 2);
        QCOMPARE(s4().u8(kSystemBitmapOffset), 0x82);
        click("rgBlocksShowList", 0);
        QCOMPARE(s4().u8(kSystemBitmapOffset), 0x02);
        click("rgBlocksShow", 0);
        QCOMPARE(s4().u8(kSystemBitmapOffset), 0x00);
    }

    void choicesCountOnlyWhileThePageIsEntered()
    {
        enter(0x0701, 41);
        m_page->deactivated();
        click("rgBlocksShow", 0);
        QCOMPARE(m_used->rowCount(), 0);
        QVERIFY(!isSystemSelected(s4(), 8));
        QCOMPARE(s4().u8(kSystemBitmapOffset), 0x00);
        // Loading the records again while elsewhere does not enter the page either.
        m_host->reloadAll();
        QVERIFY(!m_page->entered());
    }

    void screenshot()
    {
        const QString dir = qEnvironmentVariable("MK_SCREENSHOT_DIR");
        if (dir.isEmpty())
            QSKIP("MK_SCREENSHOT_DIR not set");
        enter(0x8002, 1, 0x01);
        for (quint8 code : {93, 8, 16, 22, 45, 46, 95, 98})
            setSystemSelected(s4(), code, true);
        m_page->activated();
        QVERIFY(QTest::qWaitForWindowExposed(&m_host->window()));
        QVERIFY(m_host->window().grab().save(dir + "/addsystems_page.png"));
    }
};

QTEST_MAIN(AddSystemsPageTest)
#include "addsystems_page_test.moc"
