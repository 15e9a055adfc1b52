// SPDX-License-Identifier: GPL-3.0-or-later
// F1 opens the user manual in the program's help window at the page of the window it was pressed
// in; in the editor, at the section of the page shown.

#include "app/HelpWindow.h"
#include "app/ManualPages.h"
#include "editor/TMK_SetParamsDlg.h"
#include "image/FactoryImage.h"
#include "image/TMK.h"
#include "settings/EditSession.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QtTest>

using namespace mk;

class HelpWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qputenv("MKCONF_MANUAL_DIR", MK_MANUAL_SOURCE);
        installHelpKey();
        installHelpKey(); // twice: still one help window per F1
    }

    void f1InTheEditor_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("anchor");
        QTest::newRow("a setting of a page")
            << QStringLiteral("seVelocityLimit") << QStringLiteral("editor-pages.html") << QStringLiteral("TabSheet1");
        QTest::newRow("a page inside Дисплей")
            << QStringLiteral("tsHotMenu") << QStringLiteral("editor-pages.html") << QStringLiteral("tsHotMenu");
        QTest::newRow("the page tabs") << QStringLiteral("pcMain") << QStringLiteral("editor.html") << QString();
    }

    void f1InTheEditor()
    {
        QFETCH(QString, focus);
        QFETCH(QString, file);
        QFETCH(QString, anchor);
        TMK tmk;
        tmk.replaceImage(1, makeFactoryImage(1, 1));
        EditSession session(tmk);
        TMK_SetParamsDlg editor(session);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));

        auto *target = editor.findChild<QWidget *>(focus);
        QVERIFY(target);
        if (auto *tabs = qobject_cast<QTabWidget *>(target)) {
            target = tabs->tabBar();
        } else {
            // Bring the page holding the control to the front, then focus what takes keys in it.
            for (QWidget *w = target; w; w = w->parentWidget())
                if (auto *tabs =
                        qobject_cast<QTabWidget *>(w->parentWidget() ? w->parentWidget()->parentWidget() : nullptr))
                    tabs->setCurrentWidget(w);
            if (auto *edit = target->findChild<QLineEdit *>())
                target = edit;
        }
        target->setFocus();
        QTest::keyClick(target, Qt::Key_F1);

        const QList<HelpWindow *> windows = editor.findChildren<HelpWindow *>();
        QCOMPARE(windows.size(), 1);
        HelpWindow *help = windows.first();
        QVERIFY(help->isVisible());
        const QUrl source = help->browser()->source();
        QCOMPARE(QFileInfo(source.toLocalFile()).fileName(), file);
        QCOMPARE(source.fragment(), anchor);
        QVERIFY(!help->browser()->toPlainText().trimmed().isEmpty());
        // A page's section lies below the page's top: the browser scrolled to it.
        QApplication::processEvents();
        QCOMPARE(help->browser()->verticalScrollBar()->value() > 0, !anchor.isEmpty());

        // Pressed again, the same window comes back; Esc closes it.
        QTest::keyClick(target, Qt::Key_F1);
        QCOMPARE(editor.findChildren<HelpWindow *>().size(), 1);
        QTest::keyClick(help->browser(), Qt::Key_Escape);
        QTRY_COMPARE(editor.findChildren<HelpWindow *>().size(), 0); // closed and gone
    }
};

QTEST_MAIN(HelpWindowTest)
#include "help_window_test.moc"
