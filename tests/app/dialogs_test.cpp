// SPDX-License-Identifier: GPL-3.0-or-later
// The access password check and the manual port and baud-rate dialogs.

#include "app/AccessCheck.h"
#include "app/DialogPrompts.h"
#include "app/PortChoiceDialogs.h"
#include "app/TPasswDlg.h"
#include "widgets/MessageBoxes.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <tuple>

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
        AccessGuard access;
        DialogPasswordPrompt prompt(nullptr);
        QVERIFY(!access.CheckAccess(prompt));
        QVERIFY(!access.granted());
        QCOMPARE(answers.errors, QStringList{QStringLiteral("Неверный пароль!")});
        QCOMPARE(answers.prompts,
                 QStringList{QStringLiteral("Данная команда будет выполняться только после ввода пароля!")});
    }

    void rightPasswordIsAskedOnce()
    {
        PasswordAnswers answers{QStringLiteral("QXR"), true};
        const ScopedDialogHook hook(answers.hook());
        AccessGuard access;
        DialogPasswordPrompt prompt(nullptr);
        QVERIFY(access.CheckAccess(prompt));
        QVERIFY(access.CheckAccess(prompt));
        QCOMPARE(answers.passwordDialogs, 1);
        QVERIFY(answers.errors.isEmpty());
    }

    void grantedAccessNeverAsks()
    {
        PasswordAnswers answers{QStringLiteral("wrong"), true};
        const ScopedDialogHook hook(answers.hook());
        AccessGuard access;
        access.grant();
        DialogPasswordPrompt prompt(nullptr);
        QVERIFY(access.CheckAccess(prompt));
        QCOMPARE(answers.passwordDialogs, 0);
    }

    void promptGivesTheTextOnlyOnOk()
    {
        PasswordAnswers answers{QStringLiteral("Abc123"), true};
        const ScopedDialogHook hook(answers.hook());
        DialogPasswordPrompt prompt(nullptr);
        QCOMPARE(prompt.askPassword(QStringLiteral("?")), std::optional<QString>(QStringLiteral("Abc123")));
        QCOMPARE(answers.prompts.constFirst(), QStringLiteral("?"));
        answers.ok = false;
        QCOMPARE(prompt.askPassword(QStringLiteral("?")), std::nullopt);
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

    void portChooserShowsTheListAndGivesTheChoice()
    {
        const QList<PortChoiceItem> items{{2, QStringLiteral("COM2 — /dev/ttyS1")},
                                          {5, QStringLiteral("COM5")},
                                          {12, QStringLiteral("COM12 — /dev/ttyACM0")}};
        QStringList shown;
        QString preselected;
        QString title;
        bool editable = false;
        int titleRoom = 0;
        int pick = 1;
        QString type;
        bool refresh = false;
        int result = QDialog::Accepted;
        const ScopedDialogHook hook([&](QDialog &dialog) {
            auto *pcb = dialog.findChild<QComboBox *>(QStringLiteral("PCB"));
            const auto list = [&] {
                shown.clear();
                for (int i = 0; i < pcb->count(); ++i)
                    shown << pcb->itemText(i);
            };
            list();
            preselected = pcb->currentText();
            editable = pcb->isEditable();
            title = dialog.windowTitle();
            dialog.show();
            titleRoom = dialog.width() - dialog.fontMetrics().horizontalAdvance(title);
            if (refresh) {
                QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("bRefresh")), Qt::LeftButton);
                list();
            }
            pcb->setCurrentIndex(pick);
            if (!type.isEmpty()) {
                pcb->lineEdit()->clear();
                QTest::keyClicks(pcb->lineEdit(), type);
            }
            return result;
        });
        DialogPortChooser chooser(nullptr);
        QCOMPARE(chooser.choosePort(items, 2)->index, 1);
        QCOMPARE(shown, (QStringList{QStringLiteral("COM2 — /dev/ttyS1"), QStringLiteral("COM5"),
                                     QStringLiteral("COM12 — /dev/ttyACM0")}));
        QCOMPARE(preselected, QStringLiteral("COM12 — /dev/ttyACM0"));
        QCOMPARE(title, QStringLiteral("Выбор номера порта"));
        // The title fits beside the window's own buttons; a port can be typed.
        QVERIFY2(titleRoom >= 120, qPrintable(QString::number(titleRoom)));
        QVERIFY(editable);

        // A current port that is no longer present leaves no item preselected.
        pick = -1;
        QCOMPARE(chooser.choosePort(items, -1), std::nullopt);
        QCOMPARE(preselected, QString());
        pick = 0;
        result = QDialog::Rejected;
        QCOMPARE(chooser.choosePort(items, 0), std::nullopt);

        // Typed: the text, unless it is a row of the list.
        result = QDialog::Accepted;
        for (const auto &[typed, index, text] :
             {std::tuple{QStringLiteral("/dev/ttyUSB3"), -1, QStringLiteral("/dev/ttyUSB3")},
              std::tuple{QStringLiteral("COM5"), 1, QString()}}) {
            type = typed;
            const std::optional<PortAnswer> answer = chooser.choosePort(items, 0);
            QVERIFY(answer);
            QCOMPARE(answer->index, index);
            QCOMPARE(answer->typed, text);
        }

        // "Обновить" lists the ports afresh.
        type.clear();
        refresh = true;
        int refreshed = 0;
        const PortListRefresh again = [&](int *pre) {
            ++refreshed;
            *pre = 0;
            return QList<PortChoiceItem>{{7, QStringLiteral("COM7")}};
        };
        pick = 0;
        QCOMPARE(chooser.choosePort(items, 0, again)->index, 0);
        QCOMPARE(refreshed, 1);
        QCOMPARE(shown, QStringList{QStringLiteral("COM7")});
    }

    void baudChooser()
    {
        int result = QDialog::Accepted;
        const ScopedDialogHook hook([&](QDialog &dialog) {
            auto *bse = dialog.findChild<QSpinBox *>(QStringLiteral("BSE"));
            bse->setValue(57600);
            return result;
        });
        DialogBaudChooser chooser(nullptr);
        QCOMPARE(chooser.chooseBaud(115200), std::optional<quint32>(57600));
        result = QDialog::Rejected;
        QCOMPARE(chooser.chooseBaud(115200), std::nullopt);
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
