// SPDX-License-Identifier: GPL-3.0-or-later
// Alt shortcuts over every window of the configurator: no letter twice in a window, the menu bar
// included, and a letter on every push button. Each page of a paged window is checked as shown.
// Every window also opens its own page of the manual on F1, unless it is one of the few named
// below that have none.

#include "FakeDeviceLink.h"
#include "Mnemonics.h"

#include "app/AboutDialog.h"
#include "app/BackupsDialog.h"
#include "app/CompareWindow.h"
#include "app/ConnectionCheckDialog.h"
#include "app/HelpWindow.h"
#include "app/ManualPages.h"
#include "app/PortChoiceDialogs.h"
#include "app/ProfilePagesDialog.h"
#include "app/TMainForm.h"
#include "app/TPasswDlg.h"
#include "app/TPicturesForm.h"
#include "app/TProgressForm.h"
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
        AboutDialog about({dir.filePath(QStringLiteral("mkconf.ini")), dir.path()});
        TPasswDlg password;
        TPicturesForm pictures;
        TProgressForm progress;
        TKW_RS232_SetNumDlg ports({}, 0);
        TKW_RS232_SetBRDlg baud(115200);
        ProfilePagesDialog profilePages;
        HelpWindow help(dir.path());

        const QList<std::pair<QWidget *, bool>> windows = {
            {&form, true},      {&editor, false},    {&journals, false}, {&osc, false},   {&backups, false},
            {&compare, false},  {&preview, false},   {&check, false},    {&about, false}, {&password, false},
            {&pictures, false}, {&progress, false},  {&ports, false},    {&baud, false},  {&profilePages, false},
            {&history, true},   {&historyCar, false}, {&help, false}};
        QStringList faults;
        for (const auto &[window, checkBoxes] : windows)
            for (const QString &f : faultsOnEveryPage(*window, checkBoxes))
                faults << window->objectName() + QStringLiteral(": ") + f;
        // Windows without a page of their own: F1 there opens the manual's contents.
        const QList<QWidget *> withoutHelpPage = {
            &password, // a prompt of one line
            &pictures, // never shown: it holds the previews' pictures
            &progress, // shown while an exchange runs, closed by it
            &baud,     // a setting of the port list's own dialog, which has the page
            &help,     // the manual itself
        };
        for (const auto &[window, checkBoxes] : windows) {
            const bool hasPage = manualPageFor(window) != QStringLiteral("index.html");
            if (hasPage == withoutHelpPage.contains(window))
                faults << window->objectName() +
                              (hasPage ? QStringLiteral(": has a manual page, drop it from the list without one")
                                       : QStringLiteral(": F1 opens no page of its own (manualPageTable())"));
        }
        session.rollback();
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(ShortcutsTest)
#include "shortcuts_test.moc"
