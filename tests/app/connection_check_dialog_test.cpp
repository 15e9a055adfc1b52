// SPDX-License-Identifier: GPL-3.0-or-later
// The connection check dialog, the error box that offers it, and the status bar's device word.
// With MK_SCREENSHOT_DIR set, the dialog is saved there as a PNG.

#include "LayoutChecks.h"

#include "app/Application.h"
#include "app/ConnectionCheckDialog.h"
#include "app/DeviceStatusLabel.h"
#include "link/DeviceWatcher.h"
#include "link/LinkTexts.h"
#include "link/PortMap.h"
#include "link/SerialPortIo.h"
#include "widgets/MessageBoxes.h"

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace mk;

namespace {

// A system with a few things wrong, as the check would find it.
ConnectionReport sampleReport()
{
    ConnectionReport r;
    UsbDeviceReport d;
    d.usbPath = QStringLiteral("1-2");
    d.product = QStringLiteral("Trivolantics МК");
    d.manufacturer = QStringLiteral("Trivolantics");
    d.serial = QStringLiteral("000123");
    d.marker = true;
    NodeReport n;
    n.node = QStringLiteral("/dev/ttyACM0");
    n.link = QStringLiteral("/dev/mk-0");
    n.port = 3;
    n.access = NodeAccess{true, QStringLiteral("dialout"), 0660, false, false};
    n.holders = {NodeHolder{2211, QStringLiteral("minicom")}};
    n.modemManagerIgnores = true;
    d.nodes << n;
    r.devices << d;
    r.ruleFile = QStringLiteral("/usr/lib/udev/rules.d/60-mkconf.rules");
    r.modemManagerRunning = true;
    r.brlttyInstalled = true;
    r.problems = {
        {QStringLiteral(
             "Нет прав на открытие /dev/ttyACM0: вы не в группе dialout. После команды войдите в систему заново."),
         QStringLiteral("sudo usermod -aG dialout $USER"), {}},
        {QStringLiteral("/dev/ttyACM0 занят другой программой: minicom (процесс 2211). Закройте её."),
         QStringLiteral("kill 2211"), {}},
        {QStringLiteral("Установлен brltty: он захватывает USB-последовательные переходники."),
         QStringLiteral("sudo apt remove brltty"), {}},
    };
    return r;
}

} // namespace

class ConnectionCheckDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        useRussianLocale();
        installRussianTranslations(*QCoreApplication::instance());
    }

    void showsTheReportAndRepeatsTheCheck()
    {
        int runs = 0;
        ConnectionReport report = sampleReport();
        ConnectionCheckDialog dialog(nullptr, [&] {
            ++runs;
            return report;
        });
        QCOMPARE(runs, 1);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Проверка подключения"));
        auto *summary = dialog.findChild<QLabel *>(QStringLiteral("summary"));
        auto *text = dialog.findChild<QPlainTextEdit *>(QStringLiteral("report"));
        QVERIFY(summary && text);
        QVERIFY(summary->text().startsWith(QStringLiteral("Найдено проблем: 3.")));
        for (const CheckProblem &p : report.problems)
            QVERIFY(text->toPlainText().contains(QStringLiteral("Исправить: ") + p.fix));

        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QStringList faults = test::clippedWidgets(dialog);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
        const QString out = qEnvironmentVariable("MK_SCREENSHOT_DIR");
        if (!out.isEmpty()) {
            QDir().mkpath(out);
            QVERIFY(dialog.grab().save(QDir(out).filePath(QStringLiteral("connection-check.png"))));
        }

        // The user follows the fixes and looks again.
        report.problems.clear();
        QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("repeat")), Qt::LeftButton);
        QCOMPARE(runs, 2);
        QCOMPARE(summary->text(), QStringLiteral("Проблем не найдено."));
        QVERIFY(text->toPlainText().contains(QStringLiteral("Проблем не найдено.")));
    }

    void portFailureBoxOffersTheCheck_data()
    {
        // The box shows the error's text, the port when the text does not name it, and the
        // Windows error code with the system's words; the kind alone decides the offer.
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("port");
        QTest::addColumn<uint>("windowsCode");
        QTest::addColumn<QString>("shownText");
        QTest::addColumn<bool>("offered");
        const QString label = QStringLiteral("COM3 (/dev/ttyACM0)");
        QTest::newRow("denied") << permissionDeniedText(label) << int(ErrorKind::PortDenied) << label << 0u
                                << permissionDeniedText(label) << true;
        QTest::newRow("denied, Windows code") << permissionDeniedText(QStringLiteral("COM7"))
                                              << int(ErrorKind::PortDenied) << QStringLiteral("COM7") << 5u
                                              << permissionDeniedText(QStringLiteral("COM7")) +
                                                     QStringLiteral("\n\nКод ошибки Windows: 5 (Отказано в доступе.)")
                                              << true;
        QTest::newRow("no link names the port") << kNoLinkText << int(ErrorKind::NoLink) << QStringLiteral("COM7") << 0u
                                                << kNoLinkText + QStringLiteral("\n\nПорт: COM7") << true;
        QTest::newRow("not seen") << kDeviceNotSeenText << int(ErrorKind::DeviceMissing) << QString() << 0u
                                  << kDeviceNotSeenText << true;
        QTest::newRow("busy device") << kBusyText << int(ErrorKind::DeviceBusy) << QStringLiteral("COM7") << 0u
                                     << kBusyText + QStringLiteral("\n\nПорт: COM7") << false;
        // The words alone offer nothing: only the kind does.
        QTest::newRow("port words, other kind") << permissionDeniedText(label) << int(ErrorKind::Other) << QString()
                                                << 0u << permissionDeniedText(label) << false;
    }

    void portFailureBoxOffersTheCheck()
    {
        QFETCH(QString, message);
        QFETCH(int, kind);
        QFETCH(QString, port);
        QFETCH(uint, windowsCode);
        QFETCH(QString, shownText);
        QFETCH(bool, offered);
        ErrorContext context;
        context.port = port;
        context.windowsCode = windowsCode;
        context.systemMessage = windowsCode ? QStringLiteral("Отказано в доступе.") : QString();
        const Error error(ErrorKind(kind), message, context);
        QStringList shown, texts;
        QList<bool> offers;
        bool clickOffer = true;
        int checks = 0;
        ScopedDialogHook hook([&](QDialog &dialog) {
            shown << dialog.objectName();
            if (auto *box = qobject_cast<QMessageBox *>(&dialog)) {
                texts << box->text();
                QAbstractButton *offer = nullptr;
                for (QAbstractButton *b : box->buttons())
                    if (b->text() == kConnectionCheckButtonText)
                        offer = b;
                offers << (offer != nullptr);
                const QString out = qEnvironmentVariable("MK_SCREENSHOT_DIR");
                if (offer && !out.isEmpty()) {
                    box->show();
                    if (QTest::qWaitForWindowExposed(box))
                        box->grab().save(QDir(out).filePath(QStringLiteral("port-error-offers-check.png")));
                }
                if (offer && clickOffer)
                    offer->click();
            }
            return 0;
        });
        const auto check = [&] {
            ++checks;
            return sampleReport();
        };
        showErrorOfferingCheck(nullptr, error, check);
        QCOMPARE(shown, offered ? (QStringList{QStringLiteral("messageBox"), QStringLiteral("ConnectionCheckDialog")})
                                : QStringList{QStringLiteral("messageBox")});
        QCOMPARE(checks, offered ? 1 : 0);
        QCOMPARE(texts, QStringList{shownText});
        QCOMPARE(offers, QList<bool>{offered});

        // OK alone closes the box and checks nothing.
        shown.clear();
        clickOffer = false;
        showErrorOfferingCheck(nullptr, error, check);
        QCOMPARE(shown, QStringList{QStringLiteral("messageBox")});
        QCOMPARE(checks, offered ? 1 : 0);
    }

    void statusLabelFollowsTheWatcher()
    {
        bool plugged = false;
        // Port 3's own node on this system ("/dev/ttyACM0", "COM3"), with a stable name beside it.
        DeviceWatcher watcher([&] {
            QList<SerialNodeInfo> nodes;
            if (plugged)
                nodes << SerialNodeInfo{systemPortNode(3),
                                        kDeviceUsbVendor,
                                        kDeviceUsbProduct,
                                        QStringLiteral("Trivolantics МК"),
                                        {},
                                        QStringLiteral("/dev/mk-0")};
            return nodes;
        });
        DeviceStatusLabel label(&watcher);
        QCOMPARE(label.objectName(), QStringLiteral("deviceStatus"));
        QCOMPARE(label.text(), QStringLiteral("МК не подключён"));
        plugged = true;
        watcher.refresh();
        QCOMPARE(label.text(), QStringLiteral("МК подключён: COM3 — /dev/mk-0"));
        QCOMPARE(label.property("connected").toBool(), true);
        plugged = false;
        watcher.refresh();
        QCOMPARE(label.text(), QStringLiteral("МК не подключён"));
    }
};

QTEST_MAIN(ConnectionCheckDialogTest)
#include "connection_check_dialog_test.moc"
