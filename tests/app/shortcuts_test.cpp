// SPDX-License-Identifier: GPL-3.0-or-later
// Alt shortcuts over every window of the configurator: no letter twice in a window, the menu bar
// included, and a letter on every push button. Each page of a paged window is checked as shown.
// Every window also opens its own page of the manual on F1, unless the window registry gives the
// reason it has none; every window of the registry is checked here.

#include "FakeDeviceLink.h"
#include "Mnemonics.h"

#include "app/AboutDialog.h"
#include "app/BackupsDialog.h"
#include "app/CompareWindow.h"
#include "app/ConnectionCheckDialog.h"
#include "app/SupportReportDialog.h"
#include "app/HelpWindow.h"
#include "app/ManualPages.h"
#include "app/PortChoiceDialogs.h"
#include "app/ProfilePagesDialog.h"
#include "app/TMainForm.h"
#include "app/TPasswDlg.h"
#include "app/TPicturesForm.h"
#include "app/TProgressForm.h"
#include "app/WindowRegistry.h"
#include "app/WritePreviewDialog.h"
#include "editor/TMK_SetParamsDlg.h"
#include "image/FactoryImage.h"
#include "image/TMK.h"
#include "settings/EditSession.h"
#include "settings/SettingsDiff.h"
#include "viewers/HistoryCarDialog.h"
#include "viewers/HistoryWindow.h"
#include "viewers/TMK_ViewJournalsDlg.h"
#include "viewers/TMK_ViewOscDlg.h"

#include <QApplication>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace mk;
using namespace mk::test;

class ShortcutsTest : public QObject
{
    Q_OBJECT

    // Checks the window as shown, then once per page of each of its page controls.
    static QStringList faultsOnEveryPage(QWidget &window, bool checkBoxes)
    {
        window.show();
        QApplication::processEvents();
        QStringList faults = mnemonicFaults(window, checkBoxes);
        for (QTabWidget *tabs : window.findChildren<QTabWidget *>()) {
            for (int i = 0; i < tabs->count(); ++i) {
                tabs->setCurrentIndex(i);
                QApplication::processEvents();
                for (const QString &f : mnemonicFaults(window, checkBoxes))
                    faults << tabs->tabText(i) + QStringLiteral(": ") + f;
            }
        }
        faults.removeDuplicates();
        window.hide();
        return faults;
    }

private slots:
    void everyWindow()
    {
        QTemporaryDir dir;
        FakeLinkScript script;
        TMK tmk;
        tmk.replaceImage(0x8002, makeFactoryImage(0x8002, 0));
        tmk.readOscBlocks();
        TMK other = tmk;
        other.record(5).setU8(2, 17);

        MainFormSetup setup;
        setup.iniPath = dir.filePath(QStringLiteral("mkconf.ini"));
        setup.programDir = dir.path();
        setup.link = std::make_unique<FakeDeviceLink>(script);
        TMainForm form(std::move(setup));

        EditSession session(tmk);
        TMK_SetParamsDlg editor(session);
        TMK_ViewJournalsDlg journals(tmk, 0);
        TMK_ViewOscDlg osc(tmk);
        BackupsDialog backups(dir.path());
        backups.setHistoryAdder([](QWidget *, const QString &, const QDateTime &) {});
        HistoryWindow history(dir.filePath(QStringLiteral("history.sqlite")));
        HistoryCarDialog historyCar({}, {}, QStringLiteral("x"));
        CompareWindow compare(diffSettings(tmk, other), QStringLiteral("В файле"), QStringLiteral("файла x"));
        WritePreviewDialog preview(diffSettings(tmk, other));
        ConnectionCheckDialog check(nullptr, [] { return ConnectionReport(); });
        SupportReportDialog supportReport(nullptr, SupportReportInput{});
        AboutDialog about({dir.filePath(QStringLiteral("mkconf.ini")), dir.path()});
        TPasswDlg password;
        TPicturesForm pictures;
        TProgressForm progress;
        TKW_RS232_SetNumDlg ports({}, 0);
        TKW_RS232_SetBRDlg baud(115200);
        ProfilePagesDialog profilePages;
        HelpWindow help(dir.path());

        // Every window of the registry (app/WindowRegistry.cpp), each once.
        const QList<QWidget *> windows = {&form,    &editor, &journals,     &osc,      &backups,    &compare,
                                          &preview, &check,  &about,        &password, &pictures,   &progress,
                                          &ports,   &baud,   &profilePages, &history,  &historyCar, &help,
                                          &supportReport};
        QStringList faults;
        QStringList constructed;
        for (QWidget *window : windows) {
            constructed << window->objectName();
            const WindowEntry *entry = findWindow(window->objectName());
            if (!entry) {
                faults << window->objectName() + QStringLiteral(": not in windowRegistry()");
                continue;
            }
            for (const QString &f : faultsOnEveryPage(*window, entry->checkBoxLetters))
                faults << window->objectName() + QStringLiteral(": ") + f;
            // A window without a page of its own says why; F1 there opens the manual's contents.
            const bool hasPage = manualPageFor(window) != QStringLiteral("index.html");
            if (hasPage == !entry->noPageReason.isEmpty())
                faults << window->objectName() +
                              (hasPage ? QStringLiteral(": has a manual page and a reason to have none")
                                       : QStringLiteral(": F1 opens no page of its own (windowRegistry())"));
        }
        for (const WindowEntry &w : windowRegistry())
            if (constructed.count(w.objectName) != 1)
                faults << w.objectName + QStringLiteral(": in windowRegistry(), not checked here once");
        session.rollback();
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(ShortcutsTest)
#include "shortcuts_test.moc"
