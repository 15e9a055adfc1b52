// Every window of the shell at its real size: no text clipped; with MK_SCREENSHOT_DIR set, each
// window is also saved there as a PNG.

#include "LayoutChecks.h"

#include "app/Application.h"
#include "app/MessageBoxes.h"
#include "app/PortChoiceDialogs.h"
#include "link/AccessCheck.h"
#include "app/TMainForm.h"
#include "app/TPasswDlg.h"
#include "app/TPicturesForm.h"
#include "app/TProgressForm.h"

#include <QDir>
#include <QMessageBox>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

using namespace mk;

class ScreenshotsTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    void check(QWidget &window, const QString &name)
    {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
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
        QCOMPARE(form.size(), QSize(810, 401));
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
        QCOMPARE(form.size(), QSize(261, 113));
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
        TKW_RS232_SetNumDlg dialog({{1, QStringLiteral("COM1 — /dev/ttyS0")}, {3, QStringLiteral("COM3 — /dev/ttyACM0")},
                                    {13, QStringLiteral("COM13 — /dev/ttyUSB0")}},
                                   1);
        check(dialog, QStringLiteral("port-dialog"));
    }

    void baudDialog()
    {
        TKW_RS232_SetBRDlg dialog(115200);
        check(dialog, QStringLiteral("baud-dialog"));
    }

    void pictures()
    {
        // The hidden holder's five pictures side by side on the device's black screen.
        const TPicturesForm pictures;
        QImage sheet(79 + 149 + 199 + 9 + 129 + 60, 210, QImage::Format_RGB32);
        sheet.fill(Qt::black);
        QPainter painter(&sheet);
        int x = 10;
        for (const QImage *image : {&pictures.ScaleL, &pictures.ScaleR, &pictures.Circle99, &pictures.Circle9, &pictures.Arrow}) {
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
        QTest::newRow("question-unsaved") << int(QMessageBox::Question)
                                          << QStringLiteral("Возможно, настройки были изменены, но не сохранены на диске. Сохранить?");
        QTest::newRow("error-no-device") << int(QMessageBox::Critical) << QStringLiteral("Не вижу МК.");
    }

    void messageBoxes()
    {
        QFETCH(int, icon);
        QFETCH(QString, text);
        QWidget *shown = nullptr;
        // The real box, shown briefly instead of its modal loop.
        const ScopedDialogHook hook([&](QDialog &dialog) {
            check(dialog, QString::fromLatin1(QTest::currentDataTag()));
            shown = &dialog;
            return int(QMessageBox::No);
        });
        if (icon == QMessageBox::Question)
            askYesNo(nullptr, text);
        else
            showError(nullptr, text);
        QVERIFY(shown);
    }
};

QTEST_MAIN(ScreenshotsTest)
#include "screenshots_test.moc"
