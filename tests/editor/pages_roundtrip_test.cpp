// SPDX-License-Identifier: GPL-3.0-or-later
// The tank, hot-menu and additional-systems pages inside the whole round of the main window:
// read from the demo device, edit the three pages in the real editor, OK, save, load, write to
// the device and read it back.

#include "app/AccessCheck.h"
#include "app/CommandLine.h"
#include "app/DemoSetup.h"
#include "app/DialogScript.h"
#include "app/SerialDeviceLink.h"
#include "app/TMainForm.h"
#include "catalogs/MenuItems.h"
#include "editor/GridAndMenuHelpers.h"
#include "editor/TMK_SetParamsDlg.h"
#include "image/ImageDeviceModel.h"
#include "image/TMK.h"
#include "image/TankCalibration.h"
#include "settings/AddSystems.h"
#include "settings/HotMenuList.h"

#include <QDoubleSpinBox>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace mk;
using namespace mk::test;

namespace {

constexpr quint16 kModel = 0x8002; // has the additional systems and the CAN protocol

void click(QWidget &form, const char *name)
{
    QTest::mouseClick(form.findChild<QPushButton *>(QLatin1String(name)), Qt::LeftButton);
}

void showPage(QDialog &dialog, const char *tabs, const char *page)
{
    dialog.findChild<QTabWidget *>(QLatin1String(tabs))
        ->setCurrentWidget(dialog.findChild<QWidget *>(QLatin1String(page)));
    QApplication::processEvents();
}

// A value typed into a spin edit, which is stored when the focus leaves it.
void enter(QDoubleSpinBox *spin, double value)
{
    QApplication::setActiveWindow(spin->window());
    spin->setFocus();
    spin->setValue(value);
    spin->clearFocus();
    QApplication::processEvents();
}

// What the edits below leave in the records.
struct Expected
{
    quint16 oil6L = 1234;
    quint8 tarirLength = 3;
    quint8 firstLitres = 12; // typed as "1 2"
    quint16 firstCode = 1999;
    quint16 hotMenuFirst = 0; // the identifier inserted at row 0 of the parameters list
    quint8 system = 0;        // the first listed system, chosen by a double click
    bool systemWasChosen = false;
};

void editThePages(QDialog &dialog, Expected &expected)
{
    dialog.show();
    QApplication::processEvents();

    // Tank: a calibration point, the table length and the first table row.
    showPage(dialog, "pcMain", "tsOil");
    enter(dialog.findChild<QDoubleSpinBox *>(QStringLiteral("seOil6L")), expected.oil6L);
    enter(dialog.findChild<QDoubleSpinBox *>(QStringLiteral("seTarirLeng")), expected.tarirLength);
    auto *table = dialog.findChild<QTableWidget *>(QStringLiteral("sgTarir"));
    QCOMPARE(table->rowCount(), int(expected.tarirLength));
    table->item(0, 1)->setText(QStringLiteral("1 2"));
    table->item(0, 2)->setText(QString::number(expected.firstCode));
    QApplication::processEvents();

    // Hot menus: "Вставить пункт" at row 0 of the parameters list.
    showPage(dialog, "pcMain", "tsDisp");
    showPage(dialog, "pcDisp", "tsHotMenu");
    auto *grid = dialog.findChild<QTableWidget *>(QStringLiteral("sghmParams"));
    rightClick(grid, 0);
    dialog.findChild<QMenu *>(QStringLiteral("pmHotMenu"))->actions().at(0)->trigger();
    QAction *item =
        findAction(dialog.findChild<QMenu *>(QStringLiteral("pmHotMenuAdd")), QStringLiteral("FullTankMenu"));
    QVERIFY(item);
    item->trigger();
    QVERIFY(!grid->item(0, 1)->text().isEmpty());

    // Additional systems: the first listed system by a double click, "По типам".
    showPage(dialog, "pcMain", "tsBlocks");
    auto *all = dialog.findChild<QTableWidget *>(QStringLiteral("sgAllBlocks"));
    QVERIFY(all->rowCount() > 0);
    expected.systemWasChosen = all->item(0, 1)->text() == QStringLiteral("V");
    doubleClick(all, 0);
    QCOMPARE(all->item(0, 1)->text() == QStringLiteral("V"), !expected.systemWasChosen);
    QTest::mouseClick(dialog.findChild<QWidget *>(QStringLiteral("rgBlocksShowList_1")), Qt::LeftButton);

    click(dialog, "bOk");
}

} // namespace

class PagesRoundTripTest : public QObject
{
    Q_OBJECT

private slots:
    void pageEditsSurviveOkSaveLoadAndWrite()
    {
        QTemporaryDir dir;
        AccessGuard access;
        MainFormSetup setup = demoSetup(dir.path(), access, kModel, 0);
        DialogScript dialogs;
        TMainForm form(std::move(setup));
        form.show();

        click(form, "bGetParams");
        QVERIFY2(dialogs.boxes.isEmpty(), qPrintable(dialogs.boxes.value(0).text));
        QCOMPARE(form.model().modelCode(), kModel);

        Expected expected;
        dialogs.other = [&](QDialog &dialog) {
            editThePages(dialog, expected);
            return dialog.result();
        };
        click(form, "bEditParams");
        QVERIFY(form.modified());

        // The records decoded afresh from the image the main window holds.
        const auto check = [&](const char *where) {
            TMK model;
            model.replaceImage(form.model().modelCode(), form.model().image());
            model.decodeAll();
            const Record &s2 = model.record(2);
            const Record &s3 = model.record(3);
            QVERIFY2(s2.u16(tank::kOil6L) == expected.oil6L, where);
            QVERIFY2(s3.u8(tank::kTarirLeng) == expected.tarirLength, where);
            QVERIFY2(s3.u8(tank::kTarirLit) == expected.firstLitres, where);
            QVERIFY2(s3.u16(tank::kTarirCode) == expected.firstCode, where);
            QVERIFY2(s3.u8(tank::kTarirDir) == 1, where); // the first code is above 240
            const MenuItemCatalog catalog(SelectDeviceModel(kModel, 0, 0).Flags);
            const TMKMenuItem *fullTank = catalog.FindMenuItemByIdent(QStringLiteral("FullTankMenu"));
            QVERIFY2(readHotMenu(model.record(9), 0)[0] == fullTank->Code, where);
            const quint8 firstSystem = 93; // "Доп.устройства" heads the list of this model
            QVERIFY2(isSystemSelected(model.record(4), firstSystem) == !expected.systemWasChosen, where);
            QVERIFY2(blocksShowList(model.record(4)) == 1, where);
        };
        check("after OK");

        const QString file = dir.filePath(QStringLiteral("pages.tcset"));
        dialogs.fileNames.enqueue(file);
        click(form, "bSaveParams");
        QVERIFY(!form.modified());
        dialogs.fileNames.enqueue(file);
        click(form, "bLoadParams");
        check("after save and load");

        // The write's preview of the changes is confirmed.
        dialogs.other = [](QDialog &dialog) {
            return int(dialog.objectName() == QLatin1String("WritePreviewDialog") ? QDialog::Accepted
                                                                                  : QDialog::Rejected);
        };
        click(form, "bSetParams");
        QCOMPARE(dialogs.texts(QMessageBox::Information).size(), 1);
        QVERIFY(dialogs.texts(QMessageBox::Critical).isEmpty());
        click(form, "bGetParams");
        QVERIFY(dialogs.texts(QMessageBox::Critical).isEmpty());
        check("read back from the device");
        QVERIFY(form.close());
    }
};

QTEST_MAIN(PagesRoundTripTest)
#include "pages_roundtrip_test.moc"
