// SPDX-License-Identifier: GPL-3.0-or-later
#include "ViewerTestSupport.h"
#include "app/LayoutChecks.h"
#include "app/Mnemonics.h"
#include "base/Text.h"
#include "journals/JournalCsv.h"
#include "journals/JournalData.h"
#include "viewers/JournalChart.h"
#include "viewers/TMK_ViewJournalsDlg.h"
#include "widgets/IniFile.h"
#include "widgets/StringGrid.h"

#include <QLocale>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>

using namespace mk;
using namespace mk::test;

class JournalsViewerTest : public QObject
{
    Q_OBJECT

private:
    static void clickRow(StringGrid *grid, int row)
    {
        const QRect r = grid->visualRect(grid->model()->index(row, 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, r.center());
    }
    static QByteArray dataFile(const char *name)
    {
        QFile f(QStringLiteral(MK_TEST_DATA "/") + QString::fromLatin1(name));
        if (!f.open(QIODevice::ReadOnly))
            qFatal("missing %s", name);
        return f.readAll();
    }

private slots:
    // As the configurator runs: numbers with the decimal comma, as the editor shows them.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }

    void openingFillsEveryGrid()
    {
        TMK tmk;
        loadFactory(tmk);
        TMK_ViewJournalsDlg dlg(tmk, 0);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));

        QCOMPARE(find<QTabWidget>(&dlg, "pcJournals")->currentIndex(), 0);
        auto *trip = find<StringGrid>(&dlg, "sgTrip");
        QCOMPARE(trip->rowCount(), 22);
        QCOMPARE(trip->columnCount(), 9);
        QCOMPARE(trip->rowTexts().at(1),
                 QStringList({"Посл.", "17:45   6.12", "0:45", "41,300", "3,600", "55", "8,7", "4,80", "213,9"}));
        QCOMPARE(trip->cellText(1, 9), QStringLiteral("Пусто"));
        QCOMPARE(find<StringGrid>(&dlg, "sgTank")->cellText(3, 3), QStringLiteral("530,500"));

        auto *all = find<StringGrid>(&dlg, "sgAllSum");
        QCOMPARE(all->rowCount(), 6);
        QCOMPARE(all->cellText(1, 0), QStringLiteral("512:00"));
        QCOMPARE(all->cellText(1, 1), QStringLiteral("158250,000"));
        QCOMPARE(find<StringGrid>(&dlg, "sgGasOnlySum")->cellText(1, 2), QStringLiteral("412,000"));

        auto *errors = find<StringGrid>(&dlg, "sgErrors");
        QCOMPARE(errors->rowCount(), 8);
        QCOMPARE(errors->currentRow(), 1);
        QCOMPARE(errors->rowTexts().at(1), QStringList({"0", "18:42 6.12", "P0133"}));
        QCOMPARE(errors->cellText(2, 4), QStringLiteral("U0100"));
        auto *frame = find<StringGrid>(&dlg, "sgStopCadr");
        QCOMPARE(frame->rowTexts().at(0), QStringList({"Код ошибки", "P0133"}));
        QCOMPARE(frame->rowTexts().at(1), QStringList({"Сост. топливной системы 1", "Замкнута"}));
    }

    void clearingChangesOnlyTheRecords()
    {
        TMK tmk;
        loadFactory(tmk);
        const QByteArray image = tmk.image();
        const Record s0 = tmk.record(0);
        const Record s6 = tmk.record(6);
        TMK_ViewJournalsDlg dlg(tmk, 0);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));

        QTest::mouseClick(find<QPushButton>(&dlg, "bTripReset"), Qt::LeftButton);
        auto *trip = find<StringGrid>(&dlg, "sgTrip");
        for (int r = 1; r <= 21; ++r)
            QCOMPARE(trip->cellText(1, r), QStringLiteral("Пусто"));
        for (int k = 0; k < kJournalEntryCount; ++k) {
            QVERIFY(journalEntry(tmk.record(6), JournalKind::Trip, k).empty());
            QCOMPARE(journalEntry(tmk.record(6), JournalKind::Tank, k).day, journalEntry(s6, JournalKind::Tank, k).day);
        }
        QCOMPARE(find<StringGrid>(&dlg, "sgTank")->cellText(1, 1), QStringLiteral("18:30   4.12"));

        QTest::mouseClick(find<QPushButton>(&dlg, "bTankReset"), Qt::LeftButton);
        QCOMPARE(find<StringGrid>(&dlg, "sgTank")->cellText(1, 1), QStringLiteral("Пусто"));

        find<QTabWidget>(&dlg, "pcJournals")->setCurrentIndex(2);
        auto *tankSum = find<StringGrid>(&dlg, "sgTankSum");
        QTest::mouseDClick(tankSum->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
        QCOMPARE(tankSum->cellText(1, 0), QStringLiteral("0:00"));
        QCOMPARE(tankSum->cellText(1, 3), QStringLiteral("-----"));
        QCOMPARE(accumulators(tmk.record(0), AccumulatorSet::BetweenRefuellings).metres, 0u);
        QCOMPARE(accumulators(tmk.record(0), AccumulatorSet::Trip).metres,
                 accumulators(s0, AccumulatorSet::Trip).metres);
        QCOMPARE(find<StringGrid>(&dlg, "sgTripSum")->cellText(1, 1), QStringLiteral("41,300"));

        QCOMPARE(tmk.image(), image); // the image changes only through the transaction's OK
    }

    void errorPageFollowsTheSelectedRow()
    {
        TMK tmk;
        loadFactory(tmk);
        TMK_ViewJournalsDlg dlg(tmk, 0);
        dlg.show();
        find<QTabWidget>(&dlg, "pcJournals")->setCurrentIndex(3);
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        auto *errors = find<StringGrid>(&dlg, "sgErrors");
        auto *frame = find<StringGrid>(&dlg, "sgStopCadr");

        clickRow(errors, 2);
        QCOMPARE(frame->rowTexts().at(0), QStringList({"Код ошибки", "P0300"}));
        QCOMPARE(frame->cellText(1, 8), QStringLiteral("820")); // revolutions of the second entry
        clickRow(errors, 3);                                    // an error without a freeze frame
        QCOMPARE(frame->rowCount(), 0);
        errors->setCurrentCell(1, 0); // keyboard selection refills too
        QCOMPARE(frame->cellText(1, 0), QStringLiteral("P0133"));

        QTest::mouseClick(find<QPushButton>(&dlg, "bErrrJReset"), Qt::LeftButton);
        for (int r = 1; r <= 7; ++r)
            QCOMPARE(errors->cellText(2, r), QString());
        QCOMPARE(errors->currentRow(), 1);
        QCOMPARE(frame->rowCount(), 0);
        QCOMPARE(errorEntry(tmk.record(12), 0).code, 0u);
        QCOMPARE(errorEntry(tmk.record(12), 0).minutes, quint16(1122)); // the time stays recorded
    }

    void savedJournalsMatchTheExpectedText()
    {
        TMK tmk;
        loadFactory(tmk);
        TMK_ViewJournalsDlg dlg(tmk, 0);
        QTemporaryDir dir;
        DialogAnswers answers;
        answers.savePath = dir.filePath(QStringLiteral("trip.txt"));
        answers.filter = QStringLiteral("Текст Windows-1251 (*.txt)"); // as the device's Windows program writes
        QTest::mouseClick(find<QPushButton>(&dlg, "bTrip"), Qt::LeftButton);
        QCOMPARE(answers.lastFolder, QDir(defaultFileFolder()).absolutePath()); // beside the ini, or Documents
        QFile trip(answers.savePath);
        QVERIFY(trip.open(QIODevice::ReadOnly));
        QCOMPARE(trip.readAll(), dataFile("factory_trip_journal.txt"));

        answers.savePath = dir.filePath(QStringLiteral("tank.txt"));
        QTest::mouseClick(find<QPushButton>(&dlg, "bTank"), Qt::LeftButton);
        QCOMPARE(answers.lastFolder, QDir(dir.path()).absolutePath()); // then where the last file went
        QFile tank(answers.savePath);
        QVERIFY(tank.open(QIODevice::ReadOnly));
        QCOMPARE(tank.readAll(), dataFile("factory_tank_journal.txt"));
        tank.close(); // Windows replaces no file that is open

        // Saving again overwrites; cancelling the file dialog writes nothing.
        QTest::mouseClick(find<QPushButton>(&dlg, "bTankReset"), Qt::LeftButton);
        QTest::mouseClick(find<QPushButton>(&dlg, "bTank"), Qt::LeftButton);
        QVERIFY(tank.open(QIODevice::ReadOnly));
        QVERIFY(tank.readAll().contains("\t\xcf\xf3\xf1\xf2\xee\t")); // "Пусто" in Windows-1251
        answers.savePath.clear();
        QTest::mouseClick(find<QPushButton>(&dlg, "bTrip"), Qt::LeftButton);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
        QVERIFY2(answers.messages.isEmpty(), qPrintable(answers.messages.join(u'\n')));
    }

    // Windows-1251 with CR LF is the default on Windows, UTF-8 elsewhere; the UTF-8 filter writes
    // UTF-8 with LF lines.
    void journalsSaveInEitherEncoding()
    {
        TMK tmk;
        loadFactory(tmk);
        TMK_ViewJournalsDlg dlg(tmk, 0);
        QTemporaryDir dir;
        DialogAnswers answers;
        answers.savePath = dir.filePath(QStringLiteral("trip-utf8.txt"));
        answers.filter = QStringLiteral("Текст UTF-8 (*.txt)");
        QTest::mouseClick(find<QPushButton>(&dlg, "bTrip"), Qt::LeftButton);
        QCOMPARE(
            answers.filters,
            (QStringList{defaultJournalEncoding() == JournalEncoding::Windows1251 ? QStringLiteral("Текст Windows-1251 (*.txt)")
                                                                                 : QStringLiteral("Текст UTF-8 (*.txt)"),
                         QStringLiteral("Текст Windows-1251 (*.txt)"),
                         QStringLiteral("Текст UTF-8 (*.txt)"), QStringLiteral("CSV UTF-8 (*.csv)"),
                         QStringLiteral("CSV для Excel (русский) (*.csv)")}));
        QFile utf8(answers.savePath);
        QVERIFY(utf8.open(QIODevice::ReadOnly));
        const QByteArray expected = dataFile("factory_trip_journal.txt");
        const QByteArray expectedUtf8 =
            fromWin1251(expected).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).toUtf8();
        QCOMPARE(utf8.readAll(), expectedUtf8);

        // Without a choice, the file is written the system's way.
        answers.filter.clear();
        answers.savePath = dir.filePath(QStringLiteral("trip-default.txt"));
        QTest::mouseClick(find<QPushButton>(&dlg, "bTrip"), Qt::LeftButton);
        QFile chosen(answers.savePath);
        QVERIFY(chosen.open(QIODevice::ReadOnly));
        QCOMPARE(chosen.readAll(), defaultJournalEncoding() == JournalEncoding::Utf8 ? expectedUtf8 : expected);
    }

    // Either CSV filter writes the journal's records, not the grid's texts, in its own dialect.
    void journalsSaveAsCsv()
    {
        for (const CsvDialectName &d : csvDialects()) {
            TMK tmk;
            loadFactory(tmk);
            TMK_ViewJournalsDlg dlg(tmk, 0);
            QTemporaryDir dir;
            DialogAnswers answers;
            answers.savePath = dir.filePath(QStringLiteral("tank.csv"));
            answers.filter = d.caption;
            QTest::mouseClick(find<QPushButton>(&dlg, "bTank"), Qt::LeftButton);
            QFile csv(answers.savePath);
            QVERIFY(csv.open(QIODevice::ReadOnly));
            QCOMPARE(csv.readAll(), csvText(journalCsvRows(tmk.record(6), JournalKind::Tank), d.dialect));
        }
    }

    // "Графики" comes after the journals' own pages; its charts follow the records, clearing too.
    // "Очистить" becomes "Вернуть" until the window closes; each puts back only what it cleared,
    // in any order, and the records end as they were.
    void clearingCanBeUndoneWhileOpen()
    {
        TMK tmk;
        loadFactory(tmk);
        const Record s6 = tmk.record(6), s12 = tmk.record(12);
        TMK_ViewJournalsDlg dlg(tmk, 0);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        auto *trip = find<QPushButton>(&dlg, "bTripReset");
        auto *tank = find<QPushButton>(&dlg, "bTankReset");
        auto *errors = find<QPushButton>(&dlg, "bErrrJReset");
        for (QPushButton *b : {trip, tank, errors}) {
            b->click();
            QCOMPARE(b->text(), QStringLiteral("&Вернуть"));
        }
        QVERIFY(tmk.record(6).bytes() != s6.bytes());
        QVERIFY(tmk.record(12).bytes() != s12.bytes());
        QCOMPARE(find<StringGrid>(&dlg, "sgTank")->cellText(1, 1), QStringLiteral("Пусто"));
        trip->click(); // back while the tank journal stays cleared
        QCOMPARE(trip->text(), QStringLiteral("&Очистить"));
        QVERIFY(!journalEntry(tmk.record(6), JournalKind::Trip, 0).empty());
        QVERIFY(journalEntry(tmk.record(6), JournalKind::Tank, 0).empty());
        QCOMPARE(find<JournalChart>(&dlg, "chTripDistance")->series().points.size(), 8);
        tank->click();
        errors->click();
        QCOMPARE(tmk.record(6).bytes(), s6.bytes());
        QCOMPARE(tmk.record(12).bytes(), s12.bytes());
        QCOMPARE(find<StringGrid>(&dlg, "sgTank")->cellText(1, 1), QStringLiteral("18:30   4.12"));
    }

    // Each bar tells its entry, date and value under the mouse; the charts save as one picture.
    void chartsShowValuesAndSaveAsPicture()
    {
        TMK tmk;
        loadFactory(tmk);
        TMK_ViewJournalsDlg dlg(tmk, 0);
        dlg.show();
        find<QTabWidget>(&dlg, "pcJournals")->setCurrentIndex(4);
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        auto *distance = find<JournalChart>(&dlg, "chTripDistance");
        distance->repaint();
        const PlotSeries &series = distance->series();
        QStringList texts;
        for (int x = 0; x < distance->width(); ++x) {
            const QString t = distance->valueText(QPoint(x, distance->height() / 2));
            if (!t.isEmpty() && !texts.contains(t))
                texts << t;
        }
        QCOMPARE(texts.size(), series.points.size());
        QCOMPARE(texts.last(), QStringLiteral("Посл. от %1: 41,3 км").arg(series.points.last().label));
        // Numbered as the journal's rows are.
        QVERIFY2(texts.first().startsWith(QStringLiteral("№%1 от ").arg(series.points.first().entry)),
                 qPrintable(texts.first()));
        QVERIFY(distance->valueText(QPoint(2, 2)).isEmpty());

        QTemporaryDir dir;
        DialogAnswers answers;
        answers.savePath = dir.filePath(QStringLiteral("charts.png"));
        QTest::mouseClick(find<QPushButton>(&dlg, "bChartsSave"), Qt::LeftButton);
        QCOMPARE(answers.filters.first(), QStringLiteral("Изображение PNG (*.png)"));
        const QImage saved(answers.savePath);
        QCOMPARE(saved.size(), dlg.chartsPicture().size());
        QVERIFY(saved.height() >= 3 * distance->height());
    }

    void chartsPageFollowsTheJournals()
    {
        TMK tmk;
        loadFactory(tmk);
        TMK_ViewJournalsDlg dlg(tmk, 0);
        auto *pages = find<QTabWidget>(&dlg, "pcJournals");
        QCOMPARE(pages->count(), 5);
        QCOMPARE(pages->tabText(4), QStringLiteral("Графики"));
        QCOMPARE(pages->tabText(0), QStringLiteral("Журнал поездок"));
        QCOMPARE(pages->tabText(3), QStringLiteral("Журнал ошибок"));
        auto *consumption = find<JournalChart>(&dlg, "chTripConsumption");
        auto *distance = find<JournalChart>(&dlg, "chTripDistance");
        auto *refuellings = find<JournalChart>(&dlg, "chRefuellings");
        // The factory's eight trips, oldest first; the one that never moved has no consumption bar.
        QCOMPARE(distance->series().points.size(), 8);
        QCOMPARE(distance->series().points.first().label, QStringLiteral("1.12"));
        QCOMPARE(distance->series().points.last().value, 41.3);
        QCOMPARE(consumption->series().points[4].present, false);
        QCOMPARE(refuellings->series().points.size(), 3);
        QCOMPARE(refuellings->series().points.first().value, 46.8);

        QTest::mouseClick(find<QPushButton>(&dlg, "bTripReset"), Qt::LeftButton);
        QVERIFY(consumption->series().empty());
        QVERIFY(distance->series().empty());
        QCOMPARE(refuellings->series().points.size(), 3);
    }

    void buttonsHaveAltShortcuts()
    {
        TMK tmk;
        loadFactory(tmk);
        TMK_ViewJournalsDlg dlg(tmk, 0);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        auto *pages = find<QTabWidget>(&dlg, "pcJournals");
        for (int i = 0; i < pages->count(); ++i) {
            pages->setCurrentIndex(i);
            const QStringList faults = mnemonicFaults(dlg);
            QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
        }
        pages->setCurrentIndex(0);
        QApplication::setActiveWindow(&dlg);
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        DialogAnswers answers; // Alt+С saves the trip journal (its file dialog cancelled here)
        altKey(&dlg, u'С');
        QTRY_COMPARE(answers.filters.size(), 5); // the one chosen, then all four
    }

    void saveFailureIsReported()
    {
        TMK tmk;
        loadFactory(tmk);
        TMK_ViewJournalsDlg dlg(tmk, 0);
        QTemporaryDir dir;
        DialogAnswers answers;
        answers.savePath = dir.filePath(QStringLiteral("missing/trip.txt"));
        QTest::mouseClick(find<QPushButton>(&dlg, "bTrip"), Qt::LeftButton);
        QCOMPARE(answers.messages.size(), 1);
        QVERIFY(!answers.messages[0].isEmpty());
        QVERIFY(!QFile::exists(answers.savePath));
    }

    void escapeCloses()
    {
        TMK tmk;
        loadFactory(tmk);
        TMK_ViewJournalsDlg dlg(tmk, 0);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QTest::keyClick(&dlg, Qt::Key_Escape);
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QVERIFY(!dlg.isVisible());
    }

    void screenshots()
    {
        TMK tmk;
        loadFactory(tmk);
        TMK_ViewJournalsDlg dlg(tmk, 0);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        auto *pages = find<QTabWidget>(&dlg, "pcJournals");
        const char *names[] = {"journals_trip", "journals_tank", "journals_averages", "journals_errors",
                               "journals_charts"};
        QCOMPARE(pages->count(), int(std::size(names)));
        for (int i = 0; i < pages->count(); ++i) {
            pages->setCurrentIndex(i);
            QTest::qWait(20);
            screenshot(&dlg, QString::fromLatin1(names[i]));
            const QStringList clipped = clippedWidgets(dlg);
            QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QLatin1Char('\n'))));
        }
        QTest::mouseClick(find<QPushButton>(&dlg, "bTripReset"), Qt::LeftButton);
        QTest::qWait(20);
        screenshot(&dlg, QStringLiteral("journals_charts_no_trips"));
    }
};

QTEST_MAIN(JournalsViewerTest)
#include "journals_viewer_test.moc"
