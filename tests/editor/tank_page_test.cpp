// SPDX-License-Identifier: GPL-3.0-or-later
// The page "Бак" driven through its widgets: point rows, the calibration table, the tank file.

#include "editor/PageTestHost.h"
#include "editor/TankPage.h"
#include "image/TankCalibration.h"
#include "settings/FieldTable.h"
#include "settings/TankFile.h"
#include "support/RawFiles.h"
#include "widgets/IniFile.h"
#include "widgets/MessageBoxes.h"
#include "widgets/RadioGroup.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <algorithm>

using namespace mk;
using mk::test::PageTestHost;

namespace {

// Answers file dialogs with the next queued name and records message boxes.
struct Dialogs
{
    QStringList fileNames;
    QStringList filters;
    QStringList dirs;
    QStringList errors;
    ScopedDialogHook hook{[this](QDialog &dialog) -> int {
        if (auto *box = qobject_cast<QMessageBox *>(&dialog)) {
            errors << box->text();
            return QMessageBox::Ok;
        }
        if (auto *files = qobject_cast<QFileDialog *>(&dialog)) {
            filters << files->nameFilters().join(';');
            dirs << files->directory().absolutePath();
            if (fileNames.isEmpty())
                return QDialog::Rejected;
            files->selectFile(fileNames.takeFirst());
            return QDialog::Accepted;
        }
        return QDialog::Rejected;
    }};
};

// Types a value and leaves the box, which is when the value is stored.
void typeInto(QDoubleSpinBox *spin, const QString &text)
{
    QApplication::setActiveWindow(spin->window());
    spin->setFocus();
    spin->selectAll();
    QTest::keyClicks(spin, text);
    QTest::keyClick(spin, Qt::Key_Return);
    spin->clearFocus();
}

// Edits a cell with its own editor, as the user does: type, then Enter.
void typeCell(QTableWidget *grid, int row, int column, const QString &keys)
{
    grid->setFocus();
    grid->setCurrentCell(row, column);
    grid->editItem(grid->item(row, column));
    auto *editor = grid->viewport()->findChild<QLineEdit *>();
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, keys);
    QTest::keyClick(editor, Qt::Key_Return);
}

void setTable(Record &s3, const std::vector<std::pair<int, int>> &rows)
{
    s3.setU8(tank::kTarirLeng, quint8(rows.size()));
    for (size_t i = 0; i < rows.size(); ++i) {
        s3.setU8(tank::kTarirLit + int(i), quint8(rows[i].first));
        s3.setU16(tank::kTarirCode + 2 * int(i), quint16(rows[i].second));
    }
}

} // namespace

class TankPageTest : public QObject
{
    Q_OBJECT

private:
    template<class W>
    W *find(PageTestHost &host, const char *name)
    {
        auto *w = host.sheet()->findChild<W *>(QLatin1String(name));
        if (!w)
            qFatal("no widget %s", name);
        return w;
    }

private slots:
    void pointRowsFollowTheCount()
    {
        PageTestHost host(0x8002, 0);
        host.model().record(2).setU8(tank::kOilCalibrQuant, 0);
        host.makePage<TankPage>("tsOil");
        host.window().show();
        auto *count = find<QDoubleSpinBox>(host, "seOilCalibrQuant");
        QCOMPARE(count->maximum(), 7.0);
        for (int k = 0; k < 7; ++k) {
            QVERIFY(find<QLabel>(host, qPrintable(QStringLiteral("lOilCalibrArr%1").arg(k)))->isHidden());
            QVERIFY(find<QDoubleSpinBox>(host, qPrintable(QStringLiteral("seOilCalibrResArr%1").arg(k)))->isHidden());
            QVERIFY(find<QDoubleSpinBox>(host, qPrintable(QStringLiteral("seOilCalibrLitArr%1").arg(k)))->isHidden());
        }
        typeInto(count, "7");
        QCOMPARE(host.model().record(2).u8(tank::kOilCalibrQuant), 7);
        for (int k = 0; k < 7; ++k)
            QVERIFY(find<QDoubleSpinBox>(host, qPrintable(QStringLiteral("seOilCalibrLitArr%1").arg(k)))->isVisible());
        typeInto(count, "3");
        QVERIFY(find<QLabel>(host, "lOilCalibrArr2")->isVisible());
        QVERIFY(find<QLabel>(host, "lOilCalibrArr3")->isHidden());
    }

    void spinEditsStoreTheirFields()
    {
        PageTestHost host(0x8002, 0);
        host.makePage<TankPage>("tsOil");
        host.window().show();
        typeInto(find<QDoubleSpinBox>(host, "seOil43L"), "1999");
        typeInto(find<QDoubleSpinBox>(host, "seLit6L"), "55");
        typeInto(find<QDoubleSpinBox>(host, "seOilCalibrResArr6"), "1800");
        typeInto(find<QDoubleSpinBox>(host, "seOilCalibrLitArr0"), "3");
        const Record &s2 = host.model().record(2);
        QCOMPARE(s2.u16(tank::kOil43L), 1999);
        QCOMPARE(s2.u16(tank::kLit6L), 55);
        QCOMPARE(s2.u16(tank::kOilCalibrResArr + 12), 1800);
        QCOMPARE(s2.u16(tank::kOilCalibrLitArr), 3);

        auto *finished = find<QCheckBox>(host, "cbTarirFlagFinish");
        host.model().record(3).setU8(tank::kTarirFlagFinish, 1);
        host.reloadAll();
        QVERIFY(finished->isChecked());
        QTest::mouseClick(finished, Qt::LeftButton);
        QCOMPARE(host.model().record(3).u8(tank::kTarirFlagFinish), 0);

        host.model().record(3).setU8(tank::kTarirIncline, 2);
        host.reloadAll();
        auto *incline = find<RadioGroup>(host, "rgTarirIncline");
        QCOMPARE(incline->itemIndex(), 2);
        QVERIFY(!incline->isEnabled());
    }

    // Every spin edit of the page stores into its own bytes and no others: a byte field written
    // as a word would change the setting next to it.
    void eachSpinEditWritesOnlyItsOwnBytes()
    {
        PageTestHost host(0x8002, 0);
        for (int k : {2, 3})
            host.model().record(k).bytes().fill('\xA5');
        host.model().record(2).setU8(tank::kOilCalibrQuant, 7);
        host.model().record(3).setU8(tank::kTarirLeng, 3);
        host.makePage<TankPage>("tsOil");
        host.window().show();
        QVERIFY(QTest::qWaitForWindowActive(&host.window()));
        std::vector<const FieldDef *> fields;
        for (const FieldDef &def : fieldTable())
            if (def.page == PageId::Tank && def.kind == ControlKind::SpinEdit)
                fields.push_back(&def);
        // The point count last: changing it hides point rows.
        std::stable_partition(fields.begin(), fields.end(),
                              [](const FieldDef *d) { return d->name != u"OilCalibrQuant"; });
        int checked = 0;
        for (const FieldDef *field : fields) {
            const FieldDef &def = *field;
            auto *spin = find<QDoubleSpinBox>(host, qPrintable(def.control));
            const Record before = host.model().record(def.section);
            const double value = spin->value() == spin->maximum() ? spin->minimum() : spin->maximum();
            typeInto(spin, QString::number(value));
            QVERIFY2(loadField(def, host.model(), host.context()).toDouble() == value, qPrintable(def.name));
            const Record &after = host.model().record(def.section);
            QByteArray own(after.size(), '\0');
            for (const FieldByte &b : fieldBytes(def))
                own[b.offset] = '\1';
            for (int i = 0; i < after.size(); ++i)
                if (!own[i])
                    QVERIFY2(after.u8(i) == before.u8(i),
                             qPrintable(def.name + QStringLiteral(" changed byte %1").arg(i)));
            ++checked;
        }
        QCOMPARE(checked, 20);
    }

    void tableShowsStoredRows()
    {
        PageTestHost host(0x8002, 0);
        setTable(host.model().record(3), {{0, 2000}, {10, 1500}, {255, 100}});
        host.makePage<TankPage>("tsOil");
        auto *grid = find<QTableWidget>(host, "sgTarir");
        QCOMPARE(grid->horizontalHeaderItem(0)->text(), QStringLiteral("#"));
        QCOMPARE(grid->horizontalHeaderItem(1)->text(), QStringLiteral("литры"));
        QCOMPARE(grid->horizontalHeaderItem(2)->text(), QStringLiteral("уе"));
        QCOMPARE(grid->rowCount(), 3);
        QCOMPARE(grid->item(2, 0)->text(), QStringLiteral("3"));
        QCOMPARE(grid->item(1, 1)->text(), QStringLiteral("10"));
        QCOMPARE(grid->item(0, 2)->text(), QStringLiteral("2000"));
        QCOMPARE(find<QDoubleSpinBox>(host, "seTarirLeng")->value(), 3.0);
    }

    void lengthAbove68IsResetAndZeroKeepsOneEmptyRow()
    {
        PageTestHost host(0x8002, 0);
        setTable(host.model().record(3), {{7, 700}});
        host.model().record(3).setU8(tank::kTarirLeng, 69);
        host.makePage<TankPage>("tsOil");
        auto *grid = find<QTableWidget>(host, "sgTarir");
        QCOMPARE(host.model().record(3).u8(tank::kTarirLeng), 0);
        QCOMPARE(find<QDoubleSpinBox>(host, "seTarirLeng")->value(), 0.0);
        QCOMPARE(grid->rowCount(), 1);
        QCOMPARE(grid->item(0, 1)->text(), QString());
        QCOMPARE(grid->item(0, 2)->text(), QString());
        QVERIFY(!(grid->item(0, 1)->flags() & Qt::ItemIsEditable));

        // The page's store leaves the stored cells alone when the table has no rows.
        grid->item(0, 1)->setText("99");
        QCoreApplication::processEvents();
        QCOMPARE(host.model().record(3).u8(tank::kTarirLit), 7);
    }

    void lengthChangeResizesTheTable()
    {
        PageTestHost host(0x8002, 0);
        setTable(host.model().record(3), {{1, 10}, {2, 20}});
        host.makePage<TankPage>("tsOil");
        host.window().show();
        auto *grid = find<QTableWidget>(host, "sgTarir");
        typeInto(find<QDoubleSpinBox>(host, "seTarirLeng"), "5");
        QCOMPARE(host.model().record(3).u8(tank::kTarirLeng), 5);
        QCOMPARE(grid->rowCount(), 5);
        QCOMPARE(grid->item(4, 0)->text(), QStringLiteral("5"));
        typeInto(find<QDoubleSpinBox>(host, "seTarirLeng"), "0");
        QCOMPARE(host.model().record(3).u8(tank::kTarirLeng), 0);
        QCOMPARE(grid->rowCount(), 1);
        QCOMPARE(grid->item(0, 1)->text(), QString());
    }

    void typedCellsAreStoredDigitsOnly()
    {
        PageTestHost host(0x8002, 0);
        setTable(host.model().record(3), {{1, 10}, {2, 20}, {3, 30}});
        host.makePage<TankPage>("tsOil");
        host.window().show();
        QVERIFY(QTest::qWaitForWindowActive(&host.window()));
        auto *grid = find<QTableWidget>(host, "sgTarir");

        typeCell(grid, 0, 1, "1 2");
        QTRY_COMPARE(host.model().record(3).u8(tank::kTarirLit), 12);
        QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("12"));

        typeCell(grid, 0, 2, "241");
        QTRY_COMPARE(host.model().record(3).u8(tank::kTarirDir), 1);
        QCOMPARE(host.model().record(3).s16(tank::kTarirCode), 241);
        typeCell(grid, 0, 2, "240");
        QTRY_COMPARE(host.model().record(3).s16(tank::kTarirCode), 240);
        QCOMPARE(host.model().record(3).u8(tank::kTarirDir), 0);

        // An emptied cell stores 0.
        grid->item(2, 2)->setText(QString());
        QTRY_COMPARE(host.model().record(3).s16(tank::kTarirCode + 4), 0);
        QCOMPARE(grid->item(2, 2)->text(), QStringLiteral("0"));
    }

    void litresAbove255AreRefusedAndNothingIsStored()
    {
        Dialogs dialogs;
        PageTestHost host(0x8002, 0);
        setTable(host.model().record(3), {{1, 10}, {2, 20}});
        auto &page = host.makePage<TankPage>("tsOil");
        auto *grid = find<QTableWidget>(host, "sgTarir");
        const Record before = host.model().record(3);
        {
            const QSignalBlocker quiet(grid); // two cells typed before the table is stored
            grid->item(0, 1)->setText("5");
        }
        grid->item(1, 1)->setText("256");
        page.store();
        QCOMPARE(
            dialogs.errors,
            QStringList{QStringLiteral(
                "Ошибка проверки диапазона: строка 2, столбец «литры» принимает значения от 0 до 255 (введено 256).")});
        QCOMPARE(host.model().record(3), before);
        QCOMPARE(grid->item(1, 1)->text(), QStringLiteral("2")); // the stored value again
        QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("5")); // still typed, stored next time
        grid->item(1, 1)->setText("255");
        page.store();
        QCOMPARE(host.model().record(3).u8(tank::kTarirLit + 1), 255);
        QCOMPARE(host.model().record(3).u8(tank::kTarirLit), 5);
    }

    void tankFileSaveThenLoad()
    {
        Dialogs dialogs;
        QTemporaryDir dir;
        const QString path = dir.filePath("calibration.tcoil");
        PageTestHost host(0x8002, 0);
        setTable(host.model().record(3), {{5, 1900}, {40, 1000}, {60, 150}});
        host.model().record(2).setU16(tank::kOil6L, 1234);
        host.model().record(3).setU8(tank::kTableFirstByte, 0x5A);
        host.makePage<TankPage>("tsOil");
        const Record s2 = host.model().record(2), s3 = host.model().record(3);

        dialogs.fileNames << path;
        QTest::mouseClick(find<QPushButton>(host, "bOilSave"), Qt::LeftButton);
        QCOMPARE(dialogs.filters, QStringList{QStringLiteral("Файлы настроек бака (*.tcoil)")});
        QCOMPARE(QFileInfo(path).size(), qint64(kTankFileSize));
        // The first dialog starts where the program keeps the user's files, the next one where
        // the last tank file went.
        QCOMPARE(dialogs.dirs.value(0), QDir(defaultFileFolder()).absolutePath());

        // Change everything the file carries, then load it back.
        host.model().record(2).setU16(tank::kOil6L, 1);
        setTable(host.model().record(3), {{1, 1}});
        host.model().record(3).setU8(tank::kTableFirstByte, 0);
        host.reloadAll();
        dialogs.fileNames << path;
        QTest::mouseClick(find<QPushButton>(host, "bOilLoad"), Qt::LeftButton);
        QVERIFY(dialogs.errors.isEmpty());
        QCOMPARE(dialogs.dirs.value(1), QDir(dir.path()).absolutePath());
        QCOMPARE(host.model().record(2), s2);
        QCOMPARE(host.model().record(3), s3);
        QCOMPARE(find<QDoubleSpinBox>(host, "seOil6L")->value(), 1234.0);
        QCOMPARE(find<QTableWidget>(host, "sgTarir")->rowCount(), 3);
        QCOMPARE(find<QTableWidget>(host, "sgTarir")->item(2, 1)->text(), QStringLiteral("60"));

        // Dropped on the page (here on its table), the file loads as through the button; a
        // settings file or two files at once are refused at the border.
        host.model().record(2).setU16(tank::kOil6L, 1);
        setTable(host.model().record(3), {{1, 1}});
        host.reloadAll();
        QVERIFY(QFile::copy(path, dir.filePath("calibration.tcset")));
        const auto drop = [&](const QStringList &paths) {
            QMimeData data;
            QList<QUrl> urls;
            for (const QString &p : paths)
                urls << QUrl::fromLocalFile(p);
            data.setUrls(urls);
            QWidget *on = find<QTableWidget>(host, "sgTarir");
            QDragEnterEvent enter(on->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(on, &enter);
            if (!enter.isAccepted())
                return false;
            QDropEvent dropped(on->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(on, &dropped);
            QApplication::processEvents();
            return true;
        };
        QVERIFY(!drop({dir.filePath("calibration.tcset")}));
        QVERIFY(!drop({path, path}));
        QCOMPARE(host.model().record(2).u16(tank::kOil6L), 1);
        QVERIFY(drop({path}));
        QVERIFY(dialogs.errors.isEmpty());
        QCOMPARE(host.model().record(2), s2);
        QCOMPARE(host.model().record(3), s3);
        QCOMPARE(find<QTableWidget>(host, "sgTarir")->rowCount(), 3);
    }

    void shortTankFileChangesNothing()
    {
        Dialogs dialogs;
        QTemporaryDir dir;
        const QString path = dir.filePath("short.tcoil");
        PageTestHost host(0x8002, 0);
        QVERIFY(writeRaw(path, QByteArray(200, '\x07')));
        host.makePage<TankPage>("tsOil");
        const Record s2 = host.model().record(2), s3 = host.model().record(3);

        dialogs.fileNames << path;
        QTest::mouseClick(find<QPushButton>(host, "bOilLoad"), Qt::LeftButton);
        QCOMPARE(dialogs.errors.size(), 1);
        QVERIFY(dialogs.errors[0].contains("short.tcoil"));
        QCOMPARE(host.model().record(2), s2);
        QCOMPARE(host.model().record(3), s3);
        QCOMPARE(find<QDoubleSpinBox>(host, "seOil6L")->value(), double(s2.u16(tank::kOil6L)));

        // A cancelled dialog does nothing at all.
        QTest::mouseClick(find<QPushButton>(host, "bOilLoad"), Qt::LeftButton);
        QCOMPARE(dialogs.errors.size(), 1);
    }

    // With MK_SCREENSHOT_DIR set, renders the page with a typical calibration for a look at it.
    void screenshot()
    {
        const QString dir = qEnvironmentVariable("MK_SCREENSHOT_DIR");
        if (dir.isEmpty())
            QSKIP("MK_SCREENSHOT_DIR not set");
        PageTestHost host(0x8002, 0);
        std::vector<std::pair<int, int>> rows;
        for (int i = 0; i < 24; ++i)
            rows.push_back({i * 3, 1950 - i * 80});
        setTable(host.model().record(3), rows);
        host.model().record(3).setU8(tank::kTarirFlagFinish, 1);
        host.model().record(2).setU8(tank::kOilCalibrQuant, 5);
        host.makePage<TankPage>("tsOil");
        host.window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&host.window()));
        QVERIFY(host.window().grab().save(dir + "/tank_page.png"));
    }
};

QTEST_MAIN(TankPageTest)
#include "tank_page_test.moc"
