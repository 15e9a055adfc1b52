// SPDX-License-Identifier: GPL-3.0-or-later
#include "ViewerTestSupport.h"
#include "app/LayoutChecks.h"
#include "journals/JournalCsv.h"
#include "journals/OscData.h"
#include "journals/OscExport.h"
#include "viewers/TMK_ViewOscDlg.h"
#include "widgets/RadioGroup.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWheelEvent>

using namespace mk;
using namespace mk::test;

class OscViewerTest : public QObject
{
    Q_OBJECT

private:
    // A flat trace at sample value 0 makes the yellow pixels easy to find on the bottom line.
    static void flatSamples(TMK &tmk, quint8 value)
    {
        tmk.osc(0).samples.fill(char(value));
        tmk.osc(1).samples.fill(char(value));
    }
    static bool isColour(const QImage &img, int x, int y, QColor c)
    {
        return x >= 0 && y >= 0 && x < img.width() && y < img.height() && QColor(img.pixel(x, y)) == c;
    }
    static int firstYellowColumn(const QImage &img, int y)
    {
        for (int x = 0; x < img.width(); ++x)
            if (isColour(img, x, y, Qt::yellow))
                return x;
        return -1;
    }
    static void wheel(QWidget *box, QPoint at, int notches)
    {
        QWheelEvent e(at, box->mapToGlobal(at), {}, QPoint(0, 120 * notches), Qt::NoButton, {}, Qt::NoScrollPhase,
                      false);
        QApplication::sendEvent(box, &e);
    }
    // The trigger moment mark is drawn where the geometry puts sample 32.
    static void checkTriggerUnderSample32(const TMK_ViewOscDlg &dlg)
    {
        const OscGeometry g = oscGeometry(dlg.drawing());
        const int xt = g.triggerMomentX();
        QCOMPARE(xt, g.samplePoint(32, 0).x());
        if (xt >= 0 && xt < dlg.picture().width())
            QVERIFY(isColour(dlg.picture(), xt, 253, Qt::magenta));
    }
    static void click(QWidget *dlg, const char *group, int item)
    {
        auto *button = find<QRadioButton>(dlg, (QByteArray(group) + '_' + QByteArray::number(item)).constData());
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, button->height() / 2));
    }

private slots:
    void openingSelectsTheImageChoices()
    {
        TMK tmk;
        loadFactory(tmk);
        tmk.readOscBlocks();
        tmk.osc(0).header[7] = 1; // recorded with the 1 : 10 range
        TMK_ViewOscDlg dlg(tmk);
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Просмотр данных осциллографа"));
        auto *volt = find<RadioGroup>(&dlg, "rgOscVoltDiv");
        QCOMPARE(volt->title(), QStringLiteral("Вольт/деление"));
        QCOMPARE(volt->items(), QStringList({"  2", "  5", " 10"}));
        QCOMPARE(volt->itemIndex(), 1);
        QCOMPARE(find<RadioGroup>(&dlg, "rgOscTimeDiv")->itemIndex(), 4);
        QCOMPARE(find<RadioGroup>(&dlg, "rgOscTimeDiv")->items().size(), 10);
        QCOMPARE(find<RadioGroup>(&dlg, "rgOscInDivider")->items(), QStringList({"1 : 1", "1 : 10", "1 : 100"}));
        QCOMPARE(find<RadioGroup>(&dlg, "rgOscInDivider")->itemIndex(), 0);
        auto *scroll = find<QScrollBar>(&dlg, "sbSclollOffset");
        QCOMPARE(scroll->minimum(), -32);
        QCOMPARE(scroll->maximum(), 992);
        QCOMPARE(scroll->value(), 0);
        QCOMPARE(find<QWidget>(&dlg, "PB")->size(), QSize(1002, 278));
        QCOMPARE(dlg.picture().size(), QSize(1002, 278));
    }

    void traceAndMarksWhereTheyBelong()
    {
        TMK tmk;
        loadFactory(tmk);
        tmk.readOscBlocks();
        flatSamples(tmk, 0);
        TMK_ViewOscDlg dlg(tmk);
        const QImage &pic = dlg.picture();
        // Sample 0 at x = 32 on the bottom line; nothing yellow left of it.
        QCOMPARE(firstYellowColumn(pic, 256), 32);
        QVERIFY(isColour(pic, 1001, 256, Qt::yellow)); // the trace runs past the right edge
        QVERIFY(isColour(pic, 64, 255, Qt::magenta));  // trigger moment under sample 32
        QVERIFY(isColour(pic, 64, 253, Qt::magenta));
        QVERIFY(!isColour(pic, 64, 252, Qt::magenta));
        QVERIFY(isColour(pic, 67, 256, Qt::magenta));
        QVERIFY(isColour(pic, 0, 128, Qt::cyan)); // trigger level 20 at 0.5 V/div
        QVERIFY(isColour(pic, 3, 128, Qt::cyan));
        QVERIFY(isColour(pic, 96, 100, QColor(128, 128, 128)));  // grid line x = 96
        QVERIFY(isColour(pic, 500, 224, QColor(128, 128, 128))); // grid line y = 224
        QVERIFY(isColour(pic, 500, 10, Qt::black));

        find<QScrollBar>(&dlg, "sbSclollOffset")->setValue(-32);
        QCOMPARE(dlg.offset(), -32);
        QCOMPARE(firstYellowColumn(pic, 256), 64);
        QVERIFY(isColour(pic, 96, 255, Qt::magenta));
        QVERIFY(!isColour(pic, 64, 255, Qt::magenta));
    }

    void clicksStoreTheChoicesIntoSectionTen()
    {
        TMK tmk;
        loadFactory(tmk);
        tmk.readOscBlocks();
        flatSamples(tmk, 0);
        const Record before = tmk.record(10);
        TMK_ViewOscDlg dlg(tmk);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QVERIFY(!dlg.settingsChanged());

        click(&dlg, "rgOscTimeDiv", 5); // 20 ms/div: the trace halves its width
        QCOMPARE(tmk.record(10).u8(kOscTimeDivOffset), quint8(5));
        QCOMPARE(firstYellowColumn(dlg.picture(), 256), 48);
        QVERIFY(!isColour(dlg.picture(), 600, 256, Qt::yellow));
        QVERIFY(dlg.settingsChanged());

        click(&dlg, "rgOscVoltDiv", 2);
        QCOMPARE(tmk.record(10).u8(kOscVoltDivOffset), quint8(2));

        // The divider choice is stored too; the volt/div choice is stored again, labels stay.
        tmk.record(10).setU8(kOscVoltDivOffset, 0);
        click(&dlg, "rgOscInDivider", 2);
        QCOMPARE(tmk.record(10).u8(kOscInDividerOffset), quint8(2));
        QCOMPARE(tmk.record(10).u8(kOscVoltDivOffset), quint8(2));
        QCOMPARE(find<RadioGroup>(&dlg, "rgOscVoltDiv")->items(), QStringList({"0.2", "0.5", "  1"}));

        // Nothing else in the record moved.
        for (int i = 0; i < before.size(); ++i)
            if (i < kOscTimeDivOffset || i > kOscInDividerOffset)
                QCOMPARE(tmk.record(10).u8(i), before.u8(i));
    }

    // The time base is the one zoom: the wheel steps "мс/деление" about the sample under the mouse
    // and stores it as a click does. At every step the group, the ms/div text, the grid and the
    // readout say the same: one division right of the trigger mark is one division's time.
    void wheelStepsTheTimeBaseAndEverythingAgrees()
    {
        TMK tmk;
        loadFactory(tmk);
        tmk.readOscBlocks();
        flatSamples(tmk, 100);
        TMK_ViewOscDlg dlg(tmk);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QVERIFY(!dlg.findChild<QComboBox *>()); // no second zoom control
        auto *box = find<QWidget>(&dlg, "PB");
        auto *scroll = find<QScrollBar>(&dlg, "sbSclollOffset");
        auto *timeDiv = find<RadioGroup>(&dlg, "rgOscTimeDiv");
        QCOMPARE(timeDiv->itemIndex(), 4); // 10 ms/div, as captured

        const QPoint at(300, 100);
        const double before = oscGeometry(dlg.drawing()).sampleAtX(at.x());
        wheel(box, at, 2); // 10 → 2 ms/div
        QCOMPARE(timeDiv->itemIndex(), 2);
        QCOMPARE(tmk.record(10).u8(kOscTimeDivOffset), quint8(2));
        QVERIFY(dlg.settingsChanged());
        QCOMPARE(scroll->value(), dlg.offset());
        QVERIFY(qAbs(oscGeometry(dlg.drawing()).sampleAtX(at.x()) - before) <= 0.5); // offsets are whole samples
        checkTriggerUnderSample32(dlg);

        // Panning by dragging: 50 pixels right at five pixels a sample is 10 samples back.
        const int offset = dlg.offset();
        QTest::mousePress(box, Qt::LeftButton, {}, QPoint(500, 100));
        QTest::mouseMove(box, QPoint(550, 100));
        QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(550, 100));
        QCOMPARE(dlg.offset(), offset - 10);

        const QStringList labels = oscTimeDivLabels();
        for (int index = 0; index < kOscTimeDivCount; ++index) {
            dlg.setTimeDivAt(index, 501);
            QCOMPARE(timeDiv->itemIndex(), index);
            for (int position : {-32, 0, 17, 500, 992}) {
                scroll->setValue(position);
                checkTriggerUnderSample32(dlg);
                const OscGeometry g = oscGeometry(dlg.drawing());
                QCOMPARE(g.timeText(), labels[index] + QStringLiteral("мс/д"));
                // The grid: a line every 32 pixels, whatever the scale.
                QVERIFY(isColour(dlg.picture(), 32 * 20, 10, QColor(128, 128, 128)));
                // The readout: two grid lines a division apart are the text's time apart.
                const auto timeAt = [&](int x) {
                    return dlg.cursorText(QPoint(x, 200)).section(u' ', 2, 2).toDouble();
                };
                QVERIFY(qAbs(timeAt(7 * kOscDivision) - timeAt(6 * kOscDivision) - labels[index].toDouble()) < 0.002);
            }
        }
        // Wheeling past the ends stops at the last time base.
        wheel(box, at, 20);
        QCOMPARE(timeDiv->itemIndex(), 0);
        wheel(box, at, -20);
        QCOMPARE(timeDiv->itemIndex(), kOscTimeDivCount - 1);
        // At 500 ms/div the whole record fits: sample 1023 inside the picture from offset −32.
        scroll->setValue(-32);
        QVERIFY(oscGeometry(dlg.drawing()).samplePoint(1023, 0).x() < 1002);
    }

    // Time from the trigger moment and volts under the mouse, in the texts' own scales.
    void cursorReadsTimeAndVoltage()
    {
        TMK tmk;
        loadFactory(tmk);
        tmk.readOscBlocks();
        TMK_ViewOscDlg dlg(tmk);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        // Factory: 10 ms/div, 0.5 V/div. One division right of the mark and two up.
        QCOMPARE(dlg.cursorText(QPoint(96, 192)), QStringLiteral("t = 10.000 мс   U = 1.00 В"));
        QCOMPARE(dlg.cursorText(QPoint(32, 256)), QStringLiteral("t = -10.000 мс   U = 0.00 В"));
        QCOMPARE(dlg.cursorText(QPoint(100, 270)), QString()); // the text row
        QTest::mouseMove(find<QWidget>(&dlg, "PB"), QPoint(96, 192));
        QTRY_COMPARE(find<QLabel>(&dlg, "lOscCursor")->text(), QStringLiteral("t = 10.000 мс   U = 1.00 В"));
    }

    void savesPictureAndData()
    {
        TMK tmk;
        loadFactory(tmk);
        tmk.readOscBlocks();
        TMK_ViewOscDlg dlg(tmk);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        const OscSettings opening = dlg.drawing().settings;
        click(&dlg, "rgOscTimeDiv", 7); // a choice for the next capture: the data keep their scale
        QTemporaryDir dir;
        DialogAnswers answers;
        answers.savePath = dir.filePath(QStringLiteral("trace.png"));
        QTest::mouseClick(find<QPushButton>(&dlg, "bOscSavePicture"), Qt::LeftButton);
        QCOMPARE(answers.filters.first(), QStringLiteral("Изображение PNG (*.png)"));
        QCOMPARE(QImage(answers.savePath).convertToFormat(QImage::Format_RGB32), dlg.picture());

        answers.savePath = dir.filePath(QStringLiteral("trace.csv"));
        QTest::mouseClick(find<QPushButton>(&dlg, "bOscSaveData"), Qt::LeftButton);
        QFile csv(answers.savePath);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(csv.readAll(), csvText(oscCsvRows(opening, oscSamples(tmk))));
        QVERIFY(answers.messages.isEmpty());

        answers.savePath = dir.filePath(QStringLiteral("missing/trace.csv"));
        QTest::mouseClick(find<QPushButton>(&dlg, "bOscSaveData"), Qt::LeftButton);
        QCOMPARE(answers.messages.size(), 1);
    }

    void escapeCloses()
    {
        TMK tmk;
        loadFactory(tmk);
        TMK_ViewOscDlg dlg(tmk);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QTest::keyClick(&dlg, Qt::Key_Escape);
        QVERIFY(!dlg.isVisible());
    }

    void screenshots()
    {
        TMK tmk;
        loadFactory(tmk);
        tmk.readOscBlocks();
        TMK_ViewOscDlg dlg(tmk);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        screenshot(&dlg, QStringLiteral("osc_opening"));
        const QStringList clipped = clippedWidgets(dlg);
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QLatin1Char('\n'))));
        find<QScrollBar>(&dlg, "sbSclollOffset")->setValue(-32);
        click(&dlg, "rgOscTimeDiv", 3);
        click(&dlg, "rgOscVoltDiv", 0);
        QTest::qWait(20);
        screenshot(&dlg, QStringLiteral("osc_scrolled_rescaled"));
        click(&dlg, "rgOscTimeDiv", 4);
        dlg.setTimeDivAt(2, 96); // 2 ms/div about the trigger moment mark
        QTest::mouseMove(find<QWidget>(&dlg, "PB"), QPoint(300, 150));
        QTest::qWait(20);
        screenshot(&dlg, QStringLiteral("osc_zoomed"));
    }
};

QTEST_MAIN(OscViewerTest)
#include "osc_viewer_test.moc"
