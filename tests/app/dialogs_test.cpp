// The access password check and the manual port and baud-rate dialogs.

#include "app/AccessControl.h"
#include "app/MessageBoxes.h"
#include "app/PortDialogs.h"
#include "app/TPasswDlg.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSpinBox>
#include <QTest>

using namespace mk;

namespace {

// Answers the password dialog with a text and OK or Cancel; records every message box.
struct PasswordAnswers
{
    PasswordAnswers(QString text, bool pressOk) : typed(std::move(text)), ok(pressOk) {}

    QString typed;
    bool ok = true;
    int passwordDialogs = 0;
    QStringList prompts;
    QStringList errors;

    DialogHook hook()
    {
        return [this](QDialog &dialog) {
            if (auto *box = qobject_cast<QMessageBox *>(&dialog)) {
                if (box->icon() == QMessageBox::Critical)
                    errors << box->text();
                return int(QMessageBox::Ok);
            }
            ++passwordDialogs;
            prompts << dialog.findChild<QLabel *>(QStringLiteral("Label1"))->text();
            QTest::keyClicks(dialog.findChild<QLineEdit *>(QStringLiteral("MaskEdit1")), typed);
            return int(ok ? QDialog::Accepted : QDialog::Rejected);
        };
    }
};

} // namespace

class DialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void wrongPasswordsAreRefused_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("ok");
        QTest::newRow("cancel with the right text") << QStringLiteral("QXR") << false;
        QTest::newRow("ok with an empty field") << QString() << true;
        QTest::newRow("lower case") << QStringLiteral("qxr") << true;
        QTest::newRow("longer") << QStringLiteral("QXR1") << true;
    }

    void wrongPasswordsAreRefused()
    {
        QFETCH(QString, typed);
        QFETCH(bool, ok);
        PasswordAnswers answers{typed, ok};
        const ScopedDialogHook hook(answers.hook());
        AccessControl access;
        QVERIFY(!access.CheckAccess(nullptr));
        QVERIFY(!access.granted());
        QCOMPARE(answers.errors, QStringList{QStringLiteral("Неверный пароль!")});
        QCOMPARE(answers.prompts, QStringList{QStringLiteral("Данная команда будет выполняться только после ввода пароля!")});
    }

    void rightPasswordIsAskedOnce()
    {
        PasswordAnswers answers{QStringLiteral("QXR"), true};
        const ScopedDialogHook hook(answers.hook());
        AccessControl access;
        QVERIFY(access.CheckAccess(nullptr));
        QVERIFY(access.CheckAccess(nullptr));
        QCOMPARE(answers.passwordDialogs, 1);
        QVERIFY(answers.errors.isEmpty());
    }

    void grantedAccessNeverAsks()
    {
        PasswordAnswers answers{QStringLiteral("wrong"), true};
        const ScopedDialogHook hook(answers.hook());
        AccessControl access;
        access.grant();
        QVERIFY(access.CheckAccess(nullptr));
        QCOMPARE(answers.passwordDialogs, 0);
    }

    void askPasswordComparesExactly()
    {
        PasswordAnswers answers{QStringLiteral("Abc123"), true};
        const ScopedDialogHook hook(answers.hook());
        QVERIFY(AskPassword(nullptr, QStringLiteral("?"), QStringLiteral("Abc123")));
        QVERIFY(!AskPassword(nullptr, QStringLiteral("?"), QStringLiteral("Abc12")));
        QCOMPARE(answers.prompts.constFirst(), QStringLiteral("?"));
    }

    void passwordFieldTakesTenLettersOrDigitsShownAsDollars()
    {
        TPasswDlg dialog;
        auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("MaskEdit1"));
        QVERIFY(edit);
        QTest::keyClicks(edit, QStringLiteral("ab-c d!1"));
        edit->insert(QStringLiteral("Ж")); // letters of any alphabet count
        QTest::keyClicks(edit, QStringLiteral("23456789XYZ"));
        QCOMPARE(dialog.password(), QStringLiteral("abcd1Ж2345"));
        QCOMPARE(edit->displayText(), QString(10, QLatin1Char('$')));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Контроль доступа"));
    }

    void portDialogListsPresentPorts()
    {
        const QList<PortChoice> ports{{2, QStringLiteral("/dev/ttyS1")}, {5, QString()}, {12, QStringLiteral("/dev/ttyACM0")}};
        TKW_RS232_SetNumDlg dialog(ports, 12);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Выбор номера порта"));
        auto *pcb = dialog.findChild<QComboBox *>(QStringLiteral("PCB"));
        QVERIFY(pcb && !pcb->isEditable());
        QCOMPARE(pcb->count(), 3);
        QCOMPARE(pcb->itemText(0), QStringLiteral("COM2 — /dev/ttyS1"));
        QCOMPARE(pcb->itemText(1), QStringLiteral("COM5"));
        QCOMPARE(pcb->currentText(), QStringLiteral("COM12 — /dev/ttyACM0"));
        QCOMPARE(dialog.chosenNumber(), 12);
        pcb->setCurrentIndex(1);
        QCOMPARE(dialog.chosenNumber(), 5);
    }

    void portDialogPreselectsNothingForAVanishedPort()
    {
        TKW_RS232_SetNumDlg dialog({{2, QString()}, {5, QString()}}, 3);
        QCOMPARE(dialog.findChild<QComboBox *>(QStringLiteral("PCB"))->currentIndex(), -1);
        QCOMPARE(dialog.chosenNumber(), 0);
    }

    void baudDialogRange()
    {
        TKW_RS232_SetBRDlg dialog(115200);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Выбор скорости обмена СОМ-порта"));
        auto *bse = dialog.findChild<QSpinBox *>(QStringLiteral("BSE"));
        QVERIFY(bse);
        QCOMPARE(bse->minimum(), 110);
        QCOMPARE(bse->maximum(), 921600);
        QCOMPARE(bse->singleStep(), 10);
        QCOMPARE(dialog.baudRate(), 115200);
        bse->stepUp();
        QCOMPARE(dialog.baudRate(), 115210);
        bse->setValue(5000000);
        QCOMPARE(dialog.baudRate(), 921600);
    }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
