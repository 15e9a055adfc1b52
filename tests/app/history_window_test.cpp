// SPDX-License-Identifier: GPL-3.0-or-later
// The trip history from the main window: journals of a loaded file added to a car, the "История"
// window's lists, monthly totals, period, CSV export, renaming and deleting; adding after every
// read; a damaged database shown and left alone.

#include "DialogScript.h"
#include "FakeDeviceLink.h"

#include "app/AccessCheck.h"
#include "app/TMainForm.h"
#include "base/FileIo.h"
#include "image/FactoryImage.h"
#include "image/SettingsFile.h"
#include "image/TMK.h"
#include "journals/FreezeFrame.h"
#include "journals/JournalGrids.h"
#include "link/Backup.h"
#include "viewers/HistoryWindow.h"
#include "viewers/JournalChart.h"
#include "widgets/IniFile.h"
#include "widgets/StringGrid.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace mk;
using namespace mk::test;

namespace {

QString cell(const QTableView *view, int row, int column)
{
    return view->model()->index(row, column).data().toString();
}

// Answers the car question with this name.
int chooseCar(QDialog &dialog, const QString &car)
{
    auto *box = dialog.findChild<QComboBox *>(QStringLiteral("cbHistoryCar"));
    if (!box)
        return QDialog::Rejected;
    box->setCurrentText(car);
    return QDialog::Accepted;
}

} // namespace

class HistoryWindowTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    AccessGuard m_access;

    MainFormSetup setup(FakeLinkScript *script = nullptr)
    {
        MainFormSetup s;
        s.iniPath = m_dir.filePath(QStringLiteral("mkconf.ini"));
        s.programDir = m_dir.path();
        s.historyPath = m_dir.filePath(QStringLiteral("history.sqlite"));
        s.access = &m_access;
        if (script)
            s.link = std::make_unique<FakeDeviceLink>(*script);
        return s;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); // as the configurator runs
    }

    void fileJournalsInTheWindow()
    {
        TMK tmk;
        tmk.replaceImage(0x8002, makeFactoryImage(0x8002, 3));
        const QString file = m_dir.filePath(QStringLiteral("car.tcset"));
        saveSettingsFile(tmk, file);
        {
            QFile f(file); // the journals' year comes from the file's time
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(QDateTime(QDate(2026, 12, 7), QTime(12, 0)), QFileDevice::FileModificationTime));
        }
        TMainForm form(setup());
        form.show();
        form.loadFile(file);
        DialogScript script;
        script.other = [](QDialog &d) { return chooseCar(d, QStringLiteral("Нива")); };
        auto *add = form.findChild<QAction *>(QStringLiteral("miAddToHistory"));
        QVERIFY(add && add->isEnabled());
        add->trigger();
        add->trigger();
        QCOMPARE(script.texts(QMessageBox::Information),
                 (QStringList{QStringLiteral("Добавлено в историю автомобиля «Нива»: 8 поездок, 3 заправки, 4 ошибки."),
                              QStringLiteral("Всё из этих журналов уже есть в истории автомобиля «Нива»: новых "
                                             "записей нет.")}));
        QString opened;
        script.other = [&](QDialog &d) {
            opened = d.objectName();
            return int(QDialog::Rejected);
        };
        form.findChild<QAction *>(QStringLiteral("miHistory"))->trigger();
        QCOMPARE(opened, QStringLiteral("HistoryWindow"));

        HistoryWindow window(m_dir.filePath(QStringLiteral("history.sqlite")));
        window.show();
        auto *trips = window.findChild<QTableView *>(QStringLiteral("tvTrips"));
        QCOMPARE(trips->model()->rowCount(), 8);
        QCOMPARE(cell(trips, 0, 1), QStringLiteral("06.12.2026 17:45"));
        QCOMPARE(cell(trips, 7, 1), QStringLiteral("01.12.2026 08:00"));
        QCOMPARE(cell(trips, 0, 11), QStringLiteral("файл ") + QDir::toNativeSeparators(file));
        // December by hand: 477.6 km, 41.75 l of both fuels, 41.75 × 100 / 477.6 = 8.74 l/100 km.
        auto *months = window.findChild<QTableView *>(QStringLiteral("tvMonths"));
        QCOMPARE(months->model()->rowCount(), 1);
        QStringList december;
        for (int c = 0; c < 5; ++c)
            december << cell(months, 0, c);
        QCOMPARE(december, (QStringList{"2026-12", "8", "477,600", "41,750", "8,74"}));
        // Numbers and trip times as the journals viewer shows them.
        QCOMPARE(cell(trips, 0, 2), QStringLiteral("0:45"));
        QCOMPARE(cell(trips, 0, 3), QStringLiteral("41,300"));
        const PlotSeries km = window.findChild<JournalChart *>(QStringLiteral("chMonthDistance"))->series();
        QCOMPARE(km.points.size(), 1);
        QCOMPARE(km.points[0].value, 477.6);
        // An error's freeze frame as the journals viewer shows it.
        auto *errors = window.findChild<QTableView *>(QStringLiteral("tvErrors"));
        QCOMPARE(errors->model()->rowCount(), 4);
        errors->selectRow(1);
        QCOMPARE(window.findChild<StringGrid *>(QStringLiteral("sgHistoryFrame"))->rowTexts(),
                 shownRows(freezeFrameRows(tmk.record(12), 1)));

        // From 5 December: the trips of the 5th and the 6th.
        window.findChild<QDateEdit *>(QStringLiteral("deFrom"))->setDate(QDate(2026, 12, 5));
        window.findChild<QCheckBox *>(QStringLiteral("cbFrom"))->setChecked(true);
        QCOMPARE(trips->model()->rowCount(), 4);
        QCOMPARE(cell(trips, 3, 1), QStringLiteral("05.12.2026 07:50"));
        QCOMPARE(cell(months, 0, 1), QStringLiteral("4"));

        const QString csv = m_dir.filePath(QStringLiteral("months.csv"));
        script.fileNames << csv;
        window.findChild<QTabWidget *>(QStringLiteral("pcHistory"))->setCurrentIndex(3);
        window.findChild<QPushButton *>(QStringLiteral("bExportCsv"))->click();
        // 41.3 + 23.8 + 96.2 + 0 km, 3.6 + 2.15 + 7.4 + 0 l: 13.15 × 100 / 161.3 = 8.15 l/100 km.
        QCOMPARE(readWholeFile(csv, 4096).split('\n').value(1).left(30), QByteArray("2026-12,4,161.300,13.150,8.15,"));

        script.other = [](QDialog &d) {
            auto *input = qobject_cast<QInputDialog *>(&d);
            if (!input)
                return int(QDialog::Rejected);
            input->setTextValue(QStringLiteral("Нива 4x4"));
            return int(QDialog::Accepted);
        };
        window.findChild<QPushButton *>(QStringLiteral("bRenameCar"))->click();
        auto *car = window.findChild<QComboBox *>(QStringLiteral("cbCar"));
        QCOMPARE(car->currentText(), QStringLiteral("Нива 4x4"));

        // Deleting asks first, No being the default; No keeps everything.
        QStringList asked;
        bool defaultNo = false;
        int answer = QMessageBox::No;
        const ScopedDialogHook question([&](QDialog &d) {
            auto &box = static_cast<QMessageBox &>(d);
            asked << box.text();
            defaultNo = box.defaultButton() == box.button(QMessageBox::No);
            return answer;
        });
        auto *remove = window.findChild<QPushButton *>(QStringLiteral("bDeleteCar"));
        remove->click();
        QVERIFY(defaultNo);
        QCOMPARE(asked.value(0), QStringLiteral("Удалить всю историю автомобиля «Нива 4x4»: поездки, заправки и "
                                                "ошибки за всё время? Восстановить её будет нельзя."));
        QCOMPARE(trips->model()->rowCount(), 4);
        answer = QMessageBox::Yes;
        remove->click();
        QCOMPARE(car->count(), 0);
        QCOMPARE(trips->model()->rowCount(), 0);
        QVERIFY(!remove->isEnabled());
    }

    // With the setting on, every read adds its journals to the chosen car, saying so in the status bar.
    void addedAfterEveryRead()
    {
        const QString db = m_dir.filePath(QStringLiteral("history.sqlite"));
        FakeLinkScript link;
        TMainForm form(setup(&link));
        form.show();
        DialogScript script;
        script.other = [](QDialog &d) { return chooseCar(d, QStringLiteral("Лада")); };
        form.findChild<QAction *>(QStringLiteral("miAutoHistory"))->trigger();
        QVERIFY(form.autoHistory());
        form.bGetParamsClick();
        QVERIFY2(form.statusBar().currentMessage().startsWith(
                     QStringLiteral("Добавлено в историю автомобиля «Лада»: 8 поездок")),
                 qPrintable(form.statusBar().currentMessage()));
        // The setting is the program's: the next start has it.
        form.close();
        TMainForm again(setup());
        again.show();
        QCOMPARE(again.autoHistoryCar(), QStringLiteral("Лада"));
        QVERIFY(again.autoHistory());
    }

    // "В историю…" in the backups dialog: the journals placed by the backup's time, not today's.
    void backupJournalsAtTheBackupsTime()
    {
        FakeLinkScript link;
        link.backupDir = m_dir.filePath(QStringLiteral("backups"));
        saveBackup(link.backupDir, 1, makeFactoryImage(1, 1), QDateTime(QDate(2026, 12, 3), QTime(10, 0)));
        MainFormSetup s = setup(&link);
        s.historyPath = m_dir.filePath(QStringLiteral("backups.sqlite"));
        TMainForm form(std::move(s));
        form.show();
        DialogScript script;
        script.other = [](QDialog &d) {
            if (auto *button = d.findChild<QPushButton *>(QStringLiteral("bBackupToHistory")))
                button->click();
            return chooseCar(d, QStringLiteral("Гольф"));
        };
        form.findChild<QAction *>(QStringLiteral("miBackups"))->trigger();
        QVERIFY(script.texts(QMessageBox::Information)
                    .value(0)
                    .startsWith(QStringLiteral("Добавлено в историю автомобиля «Гольф»: 8 поездок,")));
        HistoryWindow window(m_dir.filePath(QStringLiteral("backups.sqlite")));
        auto *trips = window.findChild<QTableView *>(QStringLiteral("tvTrips"));
        // Recorded on 6 December, backed up on 3 December 2026: the trips are of 2025.
        QCOMPARE(cell(trips, 0, 1), QStringLiteral("06.12.2025 17:45"));
        QVERIFY(cell(trips, 0, 11).startsWith(QStringLiteral("резервная копия ")));
    }

    void damagedDatabaseShownAndKept()
    {
        const QString path = m_dir.filePath(QStringLiteral("damaged.sqlite"));
        const QByteArray junk = QByteArray("SQLite format 3\0", 16) + QByteArray(4080, '\x5a');
        writeFileAtomically(path, junk);
        HistoryWindow window(path);
        QVERIFY(window.findChild<QLabel *>(QStringLiteral("lHistoryStatus"))->text().contains(QDir::toNativeSeparators(path)));
        QVERIFY(!window.findChild<QPushButton *>(QStringLiteral("bDeleteCar"))->isEnabled());
        QCOMPARE(readWholeFile(path, 1 << 20), junk);
    }
};

QTEST_MAIN(HistoryWindowTest)
#include "history_window_test.moc"
