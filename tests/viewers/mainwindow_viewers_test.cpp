// SPDX-License-Identifier: GPL-3.0-or-later
// Both viewers from the main window's steps, on settings loaded from a file and on settings
// read from the demo device.

#include "ViewerTestSupport.h"
#include "app/DemoDevice.h"
#include "app/SerialDeviceLink.h"
#include "app/TMainForm.h"
#include "image/SettingsFile.h"
#include "viewers/TMK_ViewJournalsDlg.h"
#include "viewers/TMK_ViewOscDlg.h"
#include "widgets/StringGrid.h"

#include <QPushButton>
#include <QTemporaryDir>

using namespace mk;
using namespace mk::test;

class MainWindowViewersTest : public QObject
{
    Q_OBJECT

private slots:
    void viewersOpenFromTheirSteps()
    {
        QTemporaryDir dir;
        MainFormSetup setup;
        setup.iniPath = dir.filePath(QStringLiteral("mkconf.ini"));
        setup.programDir = dir.path();
        setup.fileDir = dir.path();
        DialogAnswers answers; // before the window: a box it shows while starting is answered, not waited on
        TMainForm form(std::move(setup));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        QStringList tripRow, errorRow;
        bool tracePainted = false;
        answers.onDialog = [&](QDialog &d) {
            if (qobject_cast<TMK_ViewJournalsDlg *>(&d)) {
                tripRow = find<StringGrid>(&d, "sgTrip")->rowTexts().value(1);
                errorRow = find<StringGrid>(&d, "sgErrors")->rowTexts().value(1);
                d.show();
                screenshot(&d, QStringLiteral("mainwindow_journals"));
            } else if (auto *osc = qobject_cast<TMK_ViewOscDlg *>(&d)) {
                const QImage &pic = osc->picture();
                for (int x = 100; x < 1000 && !tracePainted; ++x)
                    for (int y = 0; y < 256 && !tracePainted; ++y)
                        tracePainted = QColor(pic.pixel(x, y)) == QColor(Qt::yellow);
                d.show();
                screenshot(&d, QStringLiteral("mainwindow_osc"));
            }
            return int(QDialog::Rejected);
        };

        TMK device;
        loadFactory(device, 0x0101, 2);
        answers.savePath = dir.filePath(QStringLiteral("device.tcset"));
        saveSettingsFile(device, answers.savePath);
        find<QPushButton>(&form, "bLoadParams")->click();
        QVERIFY(form.editingEnabled());
        QVERIFY2(answers.messages.isEmpty(), qPrintable(answers.messages.join(QLatin1Char('\n'))));

        find<QPushButton>(&form, "bViewJournals")->click();
        QCOMPARE(tripRow.value(1), QStringLiteral("17:45   6.12"));
        QCOMPARE(errorRow.value(2), QStringLiteral("P0133")); // "CAN Ford", the model's first protocol

        find<QPushButton>(&form, "bViewOsc")->click();
        QVERIFY(answers.messages.isEmpty());
        QVERIFY(tracePainted);
        QVERIFY(!form.modified());
    }

    void viewersOpenOnTheDemoDevicesSettings()
    {
        QTemporaryDir dir;
        MainFormSetup setup;
        setup.iniPath = dir.filePath(QStringLiteral("mkconf.ini"));
        setup.programDir = dir.path();
        setup.fileDir = dir.path();
        setup.link = std::make_unique<SerialDeviceLink>(std::make_unique<DemoDevice>(quint16(0x0101), 2));
        DialogAnswers answers; // before the window: a box it shows while starting is answered, not waited on
        TMainForm form(std::move(setup));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        QString code;
        bool oscOpened = false;
        answers.onDialog = [&](QDialog &d) {
            if (qobject_cast<TMK_ViewJournalsDlg *>(&d))
                code = find<StringGrid>(&d, "sgErrors")->cellText(2, 1);
            oscOpened = oscOpened || qobject_cast<TMK_ViewOscDlg *>(&d);
            return int(QDialog::Rejected);
        };
        find<QPushButton>(&form, "bGetParams")->click();
        QVERIFY2(answers.messages.isEmpty(), qPrintable(answers.messages.join(QLatin1Char('\n'))));
        QVERIFY(form.editingEnabled());
        find<QPushButton>(&form, "bViewJournals")->click();
        QCOMPARE(code, QStringLiteral("P0133"));
        find<QPushButton>(&form, "bViewOsc")->click();
        QVERIFY(oscOpened);
        QVERIFY(answers.messages.isEmpty());
    }
};

QTEST_MAIN(MainWindowViewersTest)
#include "mainwindow_viewers_test.moc"
