// SPDX-License-Identifier: GPL-3.0-or-later
// Every window of the shell at its real size: no text clipped; with MK_SCREENSHOT_DIR set, each
// window is also saved there as a PNG, and manifest.txt beside them names the program that made
// them and every picture of the run (the user manual's pictures are made so).

#include "FakeDeviceLink.h"
#include "LayoutChecks.h"

#include "app/AboutDialog.h"
#include "app/AccessCheck.h"
#include "app/Application.h"
#include "app/BackupsDialog.h"
#include "app/CompareWindow.h"
#include "app/ConnectionCheckDialog.h"
#include "app/HelpWindow.h"
#include "app/PortChoiceDialogs.h"
#include "app/ProfilePagesDialog.h"
#include "app/SupportReportDialog.h"
#include "app/TMainForm.h"
#include "app/TPasswDlg.h"
#include "app/TPicturesForm.h"
#include "app/TProgressForm.h"
#include "app/WindowRegistry.h"
#include "app/WritePreviewDialog.h"
#include "base/Clock.h"
#include "base/FileIo.h"
#include "history/HistoryDatabase.h"
#include "image/FactoryImage.h"
#include "link/Backup.h"
#include "settings/SettingsDiff.h"
#include "viewers/HistoryCarDialog.h"
#include "viewers/HistoryWindow.h"
#include "widgets/MessageBoxes.h"

#include "editor/TMK_SetParamsDlg.h"
#include "settings/EditSession.h"
#include "settings/SettingsPages.h"
#include "viewers/TMK_ViewJournalsDlg.h"
#include "viewers/TMK_ViewOscDlg.h"

#include "catalogs/MeasPars.h"
#include "image/TMK.h"
#include "render/ScreenLayouts.h"
#include "render/ScreenPreviews.h"
#include "render/ScreenRenderer.h"

#include <QAbstractButton>
#include <QCalendarWidget>
#include <QDir>
#include <QDirIterator>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QSet>
#include <QPainter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimeZone>
#include <QToolButton>

using namespace mk;

class ScreenshotsTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QDateTime m_started = QDateTime::currentDateTimeUtc();
    // "objectName picture" of every window drawn, for the registry's check.
    static inline QSet<QString> s_drawn;

    // Every layout under `w` worked out again from the top for the sizes now given: a layout that
    // believes itself done while it was made for an earlier size of its widget is redone too.
    static void redoLayouts(QWidget *w)
    {
        if (QLayout *layout = w->layout()) {
            layout->invalidate();
            layout->activate();
        }
        for (QObject *child : w->children())
            if (auto *cw = qobject_cast<QWidget *>(child); cw && cw->isVisible() && !cw->isWindow())
                redoLayouts(cw);
    }

    // Delivers what showing a page posts (layout requests, the events they post in turn) until
    // nothing is left, then redoes every layout of the shown windows from the top, so a picture
    // never catches a layout half done, however busy the machine.
    static void settle()
    {
        for (int pass = 0; pass < 2; ++pass) {
            for (int round = 0; round < 4; ++round) {
                QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
                QApplication::processEvents();
            }
            for (QWidget *window : QApplication::topLevelWidgets())
                if (window->isVisible())
                    redoLayouts(window);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QApplication::processEvents();
    }

    // Saves a window as it is now drawn, without the checks of check().
    static void save(QWidget &window, const QString &name)
    {
        settle();
        s_drawn.insert(window.objectName() + u' ' + name);
        const QString out = qEnvironmentVariable("MK_SCREENSHOT_DIR");
        if (!out.isEmpty()) {
            QDir().mkpath(out);
            QVERIFY(window.grab().save(QDir(out).filePath(name + QStringLiteral(".png"))));
        }
    }

    // Brings `tab` of the editor to the front, with every page that holds it; false when this
    // model hides it.
    static bool showEditorPage(QWidget &editor, const QString &tab)
    {
        auto *sheet = editor.findChild<QWidget *>(tab);
        if (!sheet)
            return false;
        for (QWidget *w = sheet->parentWidget(); w; w = w->parentWidget()) {
            auto *tabs = qobject_cast<QTabWidget *>(w);
            if (!tabs)
                continue;
            int index = -1;
            for (int i = 0; i < tabs->count(); ++i)
                if (tabs->widget(i) == sheet || tabs->widget(i)->isAncestorOf(sheet))
                    index = i;
            if (index < 0 || !tabs->isTabVisible(index))
                return false;
            tabs->setCurrentIndex(index);
        }
        settle();
        return true;
    }

    // With SOURCE_DATE_EPOCH set (the manual's build sets it from NEWS), every "now" and "today"
    // the windows show is that moment, as its UTC wall time whatever the time zone: two runs of
    // one commit draw the same pictures on any day, in any folder.
    static void fixClockFromSourceDate()
    {
        bool ok = false;
        const qint64 epoch = qEnvironmentVariable("SOURCE_DATE_EPOCH").toLongLong(&ok);
        if (!ok)
            return;
        qputenv("TZ", "UTC");
        const QDateTime utc = QDateTime::fromSecsSinceEpoch(epoch, QTimeZone::utc());
        setFixedClock(QDateTime(utc.date(), utc.time()));
        QCOMPARE(currentDateTime().toString(Qt::ISODate), utc.toString(u"yyyy-MM-ddTHH:mm:ss"));
    }

    void check(QWidget &window, const QString &name)
    {
        s_drawn.insert(window.objectName() + u' ' + name);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // Layouts follow a changed text in the event loop, as on the user's screen.
        QCoreApplication::sendPostedEvents();
        settle();
        const QStringList faults = test::clippedWidgets(window);
        QVERIFY2(faults.isEmpty(), qPrintable(name + QStringLiteral(": ") + faults.join(QStringLiteral("; "))));
        const QString out = qEnvironmentVariable("MK_SCREENSHOT_DIR");
        if (!out.isEmpty()) {
            QDir().mkpath(out);
            QVERIFY(window.grab().save(QDir(out).filePath(name + QStringLiteral(".png"))));
        }
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        fixClockFromSourceDate();
        // Whatever the system's locale: the program's own setting wins.
        QLocale::setDefault(QLocale::c());
        useRussianLocale();
        installRussianTranslations(*QCoreApplication::instance());
    }

    void mainWindow()
    {
        MainFormSetup setup;
        setup.iniPath = m_dir.filePath(QStringLiteral("shot.ini"));
        AccessGuard access;
        setup.access = &access;
        TMainForm form(std::move(setup));
        check(form, QStringLiteral("main-window"));
        QCOMPARE(form.findChild<QWidget *>(QStringLiteral("ClientArea"))->size(), QSize(810, 401));
    }

    // The status bar once settings were read and edited: where they came from and that they changed.
    void mainWindowHoldingEditedSettings()
    {
        test::FakeLinkScript script;
        MainFormSetup setup;
        setup.iniPath = m_dir.filePath(QStringLiteral("held.ini"));
        AccessGuard access;
        setup.access = &access;
        setup.link = std::make_unique<test::FakeDeviceLink>(script);
        setup.steps.edit = [](QWidget *, TMK &) { return true; };
        TMainForm form(std::move(setup));
        form.show();
        form.bGetParamsClick();
        form.bEditParamsClick();
        check(form, QStringLiteral("main-window-held"));
    }

    void profilePagesDialog()
    {
        ProfilePagesDialog dialog;
        check(dialog, QStringLiteral("profile-pages"));
    }

    void progressWindow_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("progress-connecting") << QStringLiteral("Не могу подключиться к МК...") << -1;
        QTest::newRow("progress-reading") << QStringLiteral("Чтение настроек...") << 42;
        QTest::newRow("progress-writing") << QStringLiteral("Запись настроек...") << 87;
    }

    void progressWindow()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        TProgressForm form;
        form.setText(text);
        form.setGaugeVisible(value >= 0);
        if (value >= 0)
            form.setValue(value);
        form.setCancelAllowed(value != 87);
        check(form, QString::fromLatin1(QTest::currentDataTag()));
        QCOMPARE(form.findChild<QWidget *>(QStringLiteral("ClientArea"))->size(), QSize(261, 113));
    }

    void passwordDialog()
    {
        TPasswDlg dialog;
        dialog.setPrompt(QStringLiteral("Данная команда будет выполняться только после ввода пароля!"));
        QTest::keyClicks(dialog.findChild<QWidget *>(QStringLiteral("MaskEdit1")), QStringLiteral("abc"));
        check(dialog, QStringLiteral("password-dialog"));
    }

    void portDialog()
    {
        TKW_RS232_SetNumDlg dialog({{1, QStringLiteral("COM1 — /dev/ttyS0")},
                                    {3, QStringLiteral("COM3 — /dev/ttyACM0")},
                                    {13, QStringLiteral("COM13 — /dev/ttyUSB0")}},
                                   1);
        check(dialog, QStringLiteral("port-dialog"));
    }

    void baudDialog()
    {
        TKW_RS232_SetBRDlg dialog(115200);
        check(dialog, QStringLiteral("baud-dialog"));
    }

    // Calendars and file dialogs speak Russian even where the system's locale is C.
    void russianWhateverTheSystemSays()
    {
        QCalendarWidget calendar;
        calendar.setSelectedDate(QDate(2024, 3, 15));
        calendar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&calendar));
        auto *month = calendar.findChild<QToolButton *>(QStringLiteral("qt_calendar_monthbutton"));
        QVERIFY(month);
        QCOMPARE(month->text(), QLocale(QLocale::Russian).standaloneMonthName(3));
        QFileDialog files;
        QCOMPARE(files.locale().language(), QLocale::Russian);
        QCOMPARE(QLocale().toString(1.5), QStringLiteral("1,5"));
    }

    // The x4 screens of a fresh device in the preview renderer, every name with its descenders.
    void fourValuePreviews()
    {
        const Record s9 = TMK::defaultRecords()[9];
        const MeasParCatalog catalog;
        const ScreenPreviews previews(s9, catalog, 0);
        ScreenRenderer screen;
        const QString out = qEnvironmentVariable("MK_SCREENSHOT_DIR");
        for (int n = 0; n < screenCount(ScreenKind::X4); ++n) {
            previews.drawX4(screen, n);
            QCOMPARE(screen.overwrittenGlyphPixels(), 0);
            if (!out.isEmpty()) {
                const QImage image(reinterpret_cast<const uchar *>(screen.pixels()), ScreenRenderer::kWidth,
                                   ScreenRenderer::kHeight, QImage::Format_RGB32);
                QVERIFY(image.scaled(640, 480).save(QDir(out).filePath(QStringLiteral("preview-x4-%1.png").arg(n))));
            }
        }
    }

    void pictures()
    {
        // The hidden holder's five pictures side by side on the device's black screen.
        const TPicturesForm pictures;
        QImage sheet(79 + 149 + 199 + 9 + 129 + 60, 210, QImage::Format_RGB32);
        sheet.fill(Qt::black);
        QPainter painter(&sheet);
        int x = 10;
        for (const QImage *image :
             {&pictures.ScaleL, &pictures.ScaleR, &pictures.Circle99, &pictures.Circle9, &pictures.Arrow}) {
            painter.drawImage(x, 5, *image);
            x += image->width() + 10;
        }
        painter.end();
        const QString out = qEnvironmentVariable("MK_SCREENSHOT_DIR");
        if (!out.isEmpty())
            QVERIFY(sheet.save(QDir(out).filePath(QStringLiteral("pictures.png"))));
    }

    void messageBoxes_data()
    {
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("text");
        QTest::newRow("question-unsaved")
            << int(QMessageBox::Question)
            << QStringLiteral("Возможно, настройки были изменены, но не сохранены на диске. Сохранить?");
        QTest::newRow("error-no-device") << int(QMessageBox::Critical) << QStringLiteral("Не вижу МК.");
        QTest::newRow("error-range") << int(QMessageBox::Critical)
                                     << QStringLiteral("Ошибка проверки диапазона: «Общий пробег, км» принимает "
                                                       "значения от 0 до 999999 (введено 2000000).");
        QTest::newRow("info-written") << int(QMessageBox::Information) << QStringLiteral("Настройки записаны в МК");
    }

    void messageBoxes()
    {
        QFETCH(int, icon);
        QFETCH(QString, text);
        QWidget *shown = nullptr;
        // The real box, shown briefly instead of its modal loop.
        QStringList buttons;
        QString title;
        int room = 0;
        const ScopedDialogHook hook([&](QDialog &dialog) {
            check(dialog, QString::fromLatin1(QTest::currentDataTag()));
            shown = &dialog;
            title = dialog.windowTitle();
            room = dialog.width() - dialog.fontMetrics().horizontalAdvance(title);
            for (QAbstractButton *b : static_cast<QMessageBox &>(dialog).buttons())
                buttons << b->text();
            return int(QMessageBox::Cancel);
        });
        if (icon == QMessageBox::Question)
            QCOMPARE(askYesNoCancel(nullptr, text), Answer::Cancel);
        else if (icon == QMessageBox::Information)
            showInformation(nullptr, text);
        else
            showError(nullptr, text);
        QVERIFY(shown);
        // Wide enough for its caption beside the title bar's buttons, not "Ош...".
        QVERIFY2(room >= 100, qPrintable(QString::number(room)));
        QCOMPARE(title, icon == QMessageBox::Critical   ? QStringLiteral("Ошибка")
                        : icon == QMessageBox::Question ? QStringLiteral("Подтверждение")
                                                        : QStringLiteral("Информация"));
        if (icon == QMessageBox::Question) // with Qt's Russian texts when they are installed
            QCOMPARE(buttons.size(), 3);
    }

    // The windows of the menus, filled as an installer sees them.
    void installerWindows()
    {
        TMK device, edited;
        device.replaceImage(0x8002, makeFactoryImage(0x8002, 3));
        edited = device;
        edited.record(5).setU8(0, 70);
        edited.record(5).setU8(2, 13);
        edited.record(10).setU32(0, edited.record(10).u32(0) ^ (1u << 8));
        edited.record(9).setU16(124, edited.record(9).u16(124) ^ 0x0101);
        edited.encodeAll();
        const SettingsDiff diff = diffSettings(device, edited);
        WritePreviewDialog preview(diff);
        check(preview, QStringLiteral("write-preview"));
        WritePreviewDialog importPreview(diff, WritePreviewDialog::profileTexts());
        check(importPreview, QStringLiteral("profile-import-preview"));
        CompareWindow compare(diff, QStringLiteral("В МК"), QStringLiteral("МК"));
        check(compare, QStringLiteral("compare"));

        const QString dir = m_dir.filePath(QStringLiteral("backups"));
        saveBackup(dir, 0x8002, device.image(), QDateTime(QDate(2026, 12, 5), QTime(10, 15, 2)));
        saveBackup(dir, 0x0101, makeFactoryImage(0x0101, 1), QDateTime(QDate(2026, 11, 30), QTime(17, 4, 41)));
        writeFileAtomically(dir + QStringLiteral("/mk-20261120-090000-0101.tcset"), "x");
        BackupsDialog backups(dir);
        // The pictures show the folders a user has, not this run's temporary one.
        const QString userBackups = QStringLiteral("/home/user/.local/share/mkconf/backups");
        auto *folder = backups.findChild<QLabel *>(QStringLiteral("lFolder"));
        folder->setText(folder->text().replace(QDir::toNativeSeparators(dir), userBackups));
        check(backups, QStringLiteral("backups"));
        AboutDialog about({QStringLiteral("/home/user/.config/mkconf/mkconf.ini"), userBackups});
        check(about, QStringLiteral("about"));
    }

    // The trip history holding what the demo device has recorded, on its trips and monthly pages.
    void historyWindow()
    {
        TMK demo;
        demo.replaceImage(1, makeFactoryImage(1, 1));
        const QString db = m_dir.filePath(QStringLiteral("history.sqlite"));
        HistoryDatabase(db).addJournals(HistoryDatabase::defaultCarName(), demo,
                                        QDateTime(QDate(2026, 12, 8), QTime(9, 30)), QStringLiteral("чтение из МК"));
        HistoryWindow window(db);
        check(window, QStringLiteral("history-trips"));
        window.findChild<QTabWidget *>(QStringLiteral("pcHistory"))->setCurrentIndex(3);
        check(window, QStringLiteral("history-months"));
        HistoryCarDialog car({HistoryDatabase::defaultCarName(), QStringLiteral("Такси 12")},
                             HistoryDatabase::defaultCarName(), QStringLiteral("Добавить журналы в историю"));
        check(car, QStringLiteral("history-add"));
    }

    // Every page of the editor on the demo device's settings; a page that model hides is shown
    // on the first of a few other models that has it.
    void editorPages()
    {
        const QList<std::pair<quint16, quint32>> models{{1, 1}, {0x8002, 0}, {0x0A01, 10}};
        for (const SettingsPage &page : settingsPages()) {
            if (page.shown == kNever)
                continue;
            bool shown = false;
            for (const auto &[code, version] : models) {
                TMK tmk;
                tmk.replaceImage(code, makeFactoryImage(code, version));
                EditSession session(tmk);
                TMK_SetParamsDlg editor(session);
                editor.show();
                QVERIFY(QTest::qWaitForWindowExposed(&editor));
                if (!showEditorPage(editor, page.tab))
                    continue;
                QCOMPARE(editor.size(), QSize(TMK_SetParamsDlg::kWidth, TMK_SetParamsDlg::kHeight));
                save(editor, QStringLiteral("editor-") + page.tab);
                shown = true;
                break;
            }
            QVERIFY2(shown, qPrintable(page.caption));
        }
    }

    // The editor after a few changes, and while a setting is searched.
    void editorMarksAndSearch()
    {
        TMK tmk;
        tmk.replaceImage(1, makeFactoryImage(1, 1));
        EditSession session(tmk);
        TMK_SetParamsDlg editor(session);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        QVERIFY(showEditorPage(editor, QStringLiteral("TabSheet1")));
        // Values on each setting's step: no note about a value stored as another.
        for (const auto &[name, value] : {std::pair{"seVelocityLimit", "62"}, std::pair{"seTankLimit", "61"}}) {
            auto *field = editor.findChild<QWidget *>(QLatin1String(name));
            QVERIFY2(field, name);
            auto *edit = field->findChild<QLineEdit *>();
            QVERIFY(edit);
            edit->setFocus();
            edit->selectAll();
            QTest::keyClicks(edit, QString::fromLatin1(value));
            QTest::keyClick(edit, Qt::Key_Tab);
        }
        QTest::qWait(50); // the marks follow each change once the event loop runs
        save(editor, QStringLiteral("editor-marks"));
        auto *search = editor.findChild<QLineEdit *>(QStringLiteral("eSearch"));
        QVERIFY(search);
        search->setFocus();
        for (QChar c : QStringLiteral("скорост"))
            QTest::sendKeyEvent(QTest::Click, search, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QApplication::processEvents();
        save(editor, QStringLiteral("editor-search"));
    }

    void viewers()
    {
        TMK tmk;
        tmk.replaceImage(1, makeFactoryImage(1, 1));
        TMK_ViewJournalsDlg journals(tmk, 0);
        check(journals, QStringLiteral("journals-trip"));
        auto *pages = journals.findChild<QTabWidget *>(QStringLiteral("pcJournals"));
        QVERIFY(pages);
        const char *names[] = {"journals-trip", "journals-tank", "journals-averages", "journals-errors",
                               "journals-charts"};
        QCOMPARE(pages->count(), int(std::size(names)));
        for (int i = 1; i < pages->count(); ++i) {
            pages->setCurrentIndex(i);
            QTest::qWait(20);
            save(journals, QString::fromLatin1(names[i]));
        }
        tmk.readOscBlocks();
        TMK_ViewOscDlg osc(tmk);
        check(osc, QStringLiteral("osc"));
    }

    void connectionCheck()
    {
        ConnectionReport report;
        report.problems = {
            {QStringLiteral(
                 "Нет прав на открытие /dev/ttyACM0: вы не в группе dialout. После команды войдите в систему заново."),
             QStringLiteral("sudo usermod -aG dialout $USER"), {}},
        };
        ConnectionCheckDialog dialog(nullptr, [&] { return report; });
        check(dialog, QStringLiteral("connection-check"));
    }

    // The support report after a read that needed a retry: fixed facts, no system's own.
    void supportReport()
    {
        TMK tmk;
        tmk.replaceImage(0x0101, makeFactoryImage(0x0101, 1));
        SupportReportInput in;
        in.program = QStringLiteral("mkconf");
        in.port = QStringLiteral("МК на COM3 — /dev/mk-0");
        SerialNodeInfo node;
        node.node = QStringLiteral("/dev/ttyACM0");
        node.vendorId = kDeviceUsbVendor;
        node.productId = kDeviceUsbProduct;
        node.link = QStringLiteral("/dev/mk-0");
        in.nodes = {node};
        in.connection = ConnectionReport();
        in.settings = &tmk;
        in.settingsSource = QStringLiteral("считаны из МК на COM3 — /dev/mk-0");
        in.trace = "     412 ms mk.link     send 08 fc 02 00 05 01 00 f6\n"
                   "     416 ms mk.link     recv 2c fc 02 00 05 00 11 22 33 44 55 66 77 88 99 aa bb cc dd ee ff 00 11 "
                   "22 33 44 55 66 77 88 99 aa bb cc dd ee 3c  checksum after 4 ms\n"
                   "     416 ms mk.link     retry 2 of 3 in 50 ms\n"
                   "     466 ms mk.link     drain 30 ms (quiet 30 ms wanted): 0 byte(s) thrown away\n"
                   "     496 ms mk.link     send 08 fc 02 00 05 01 00 f6\n"
                   "     500 ms mk.link     recv 2c fc 02 00 05 00 11 22 33 44 55 66 77 88 99 aa bb cc dd ee ff 00 11 "
                   "22 33 44 55 66 77 88 99 aa bb cc dd ee 2c  accepted after 4 ms\n";
        SupportReportDialog dialog(nullptr, in);
        check(dialog, QStringLiteral("support-report"));
    }

    // The help window on the editor's page, as F1 in the editor opens it: from the built manual
    // when the pictures go to its img/ folder (made earlier in this run), else from the sources.
    void helpWindow()
    {
        const QDir shots(qEnvironmentVariable("MK_SCREENSHOT_DIR"));
        const bool built = !shots.path().isEmpty() && shots.dirName() == QLatin1String("img") &&
                           QFileInfo::exists(shots.filePath(QStringLiteral("../index.html")));
        HelpWindow help(built ? QDir::cleanPath(shots.filePath(QStringLiteral("..")))
                              : QStringLiteral(MK_MANUAL_SOURCE));
        help.showPage(QStringLiteral("editor.html"));
        QVERIFY(!help.browser()->documentTitle().isEmpty());
        check(help, QStringLiteral("help-window"));
        QCOMPARE(help.size(), QSize(HelpWindow::kWidth, HelpWindow::kHeight));
    }

    // Every window of the registry that has a picture was drawn under that name by this run.
    void everyRegisteredWindowIsDrawn()
    {
        QStringList missing;
        for (const WindowEntry &w : windowRegistry())
            if (!w.picture.isEmpty() && !s_drawn.contains(w.objectName + u' ' + w.picture))
                missing << w.objectName + QStringLiteral(" as ") + w.picture;
        QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("not drawn: ") + missing.join(QStringLiteral(", "))));
    }

    // Names the program that made the pictures (its file's time tells one build from another)
    // and every picture this run wrote.
    void cleanupTestCase()
    {
        const QString out = qEnvironmentVariable("MK_SCREENSHOT_DIR");
        if (out.isEmpty())
            return;
        const QFileInfo builder(QCoreApplication::applicationFilePath());
        QByteArray text = "# Pictures made by the screenshot run; a picture not listed is from an older run.\n";
        text += "builder: " + builder.absoluteFilePath().toUtf8() + '\n';
        text += "builder-modified: " + builder.lastModified().toUTC().toString(Qt::ISODateWithMs).toUtf8() + '\n';
        text += "qt: " + QByteArray(qVersion()) + '\n';
        text += "made: " + QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toUtf8() + '\n';
        QStringList pictures;
        for (const QFileInfo &f : QDir(out).entryInfoList({QStringLiteral("*.png")}, QDir::Files, QDir::Name))
            if (f.lastModified() >= m_started.addSecs(-1))
                pictures << f.fileName();
        for (const QString &p : pictures)
            text += "picture: " + p.toUtf8() + '\n';
        writeFileAtomically(QDir(out).filePath(QStringLiteral("manifest.txt")), text);
    }
};

QTEST_MAIN(ScreenshotsTest)
#include "screenshots_test.moc"
