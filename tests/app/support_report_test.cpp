// SPDX-License-Identifier: GPL-3.0-or-later
// "Справка → Сведения для поддержки…" after a demo session: the window shows, before anything is
// saved, the program, the system, the ports, the held model and its section table, the last error
// and this session's trace (its rotating file exists after the read), the frames' values left out
// and no journal unless the box is ticked; "Сохранить…" writes exactly what it shows.

#include "DemoSetup.h"
#include "DialogScript.h"
#include "app/AccessCheck.h"
#include "app/CommandLine.h"
#include "app/SerialDeviceLink.h"
#include "app/SupportReportDialog.h"
#include "app/TMainForm.h"
#include "base/StdStreams.h"
#include "base/TraceLog.h"
#include "widgets/MessageBoxes.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace mk;
using namespace mk::test;

class SupportReportTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    AccessGuard m_access;

    QString path(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase()
    {
        qputenv("XDG_STATE_HOME", path(QStringLiteral("state")).toUtf8());
        startSessionTrace(QStringLiteral("mkconf test"));
    }

    void cleanupTestCase() { TraceLog::stop(); }

    // What the report says of the last error: its text as the box showed it, its kind and
    // every fact of its context, once.
    void theLastErrorKeepsItsKindAndContext()
    {
        ErrorContext context;
        context.port = QStringLiteral("COM7");
        context.attempt = 3;
        context.errnoCode = 13;
        context.systemMessage = QStringLiteral("Permission denied");
        noteShownError(Error(ErrorKind::PortDenied, QStringLiteral("Нет доступа к порту."), context));
        const QStringList lines = lastShownError().split(u'\n');
        QVERIFY(lines.startsWith(QStringLiteral("Нет доступа к порту.")));
        for (const char *line : {"Вид: port-denied", "Порт: COM7", "Попытка: 3", "Код ошибки: 13 (Permission denied)"})
            QCOMPARE(lines.count(QString::fromUtf8(line)), 1);
        QCOMPARE(lines.size(), 5);
    }

    void reportOfADemoSessionShowsWhatItSavesAndNoJournalUnlessAsked()
    {
        MainFormSetup setup = demoSetup(m_dir.path(), m_access, 0x0801, 2);
        DialogScript dialogs;
        TMainForm form(std::move(setup));
        form.show();
        QTest::mouseClick(form.findChild<QPushButton *>(QStringLiteral("bGetParams")), Qt::LeftButton);
        QVERIFY2(dialogs.boxes.isEmpty(), qPrintable(dialogs.boxes.value(0).text));
        QCOMPARE(form.model().modelCode(), quint16(0x0801));
        QVERIFY(QFile::exists(path(QStringLiteral("state/mkconf/trace.log"))));

        form.openFile(path(QStringLiteral("missing.tcset"))); // an error box: the last error
        QCOMPARE(dialogs.texts(QMessageBox::Critical).size(), 1);
        const QString error = dialogs.texts(QMessageBox::Critical).constFirst();

        QString shown, personal, unticked;
        dialogs.fileNames << path(QStringLiteral("report.txt"));
        dialogs.other = [&](QDialog &dialog) {
            if (dialog.objectName() != QLatin1String("SupportReportDialog"))
                return int(QDialog::Rejected);
            auto *text = dialog.findChild<QPlainTextEdit *>(QStringLiteral("report"));
            auto *box = dialog.findChild<QCheckBox *>(QStringLiteral("withPersonal"));
            shown = text->toPlainText();
            box->setChecked(true);
            personal = text->toPlainText();
            box->setChecked(false);
            unticked = text->toPlainText();
            QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("save")), Qt::LeftButton);
            return int(QDialog::Rejected);
        };
        form.findChild<QAction *>(QStringLiteral("miSupportReport"))->trigger();

        for (const QString &part :
             {QStringLiteral("Программа: mkconf"), QStringLiteral("Qt: "), QStringLiteral("Система: "),
              QStringLiteral("Порт программы: МК (демо)"), QStringLiteral("== Проверка подключения =="),
              QStringLiteral("(0x0801)"), QStringLiteral("Версия настроек: 2"), QStringLiteral("Таблица секций"), error,
              QStringLiteral("mk.exchange device at "), QStringLiteral("accepted after"),
              QStringLiteral("байт скрыто")})
            QVERIFY2(shown.contains(part), qPrintable(part + QStringLiteral("\n") + shown));
        QVERIFY2(!shown.contains(QStringLiteral("Журнал")), qPrintable(shown));
        QVERIFY(personal.contains(QStringLiteral("Журнал поездок:")));
        QVERIFY(!personal.contains(QStringLiteral("байт скрыто")));
        QCOMPARE(unticked, shown);

        QCOMPARE(dialogs.fileDialogs, QStringList{QStringLiteral("SaveTextDialog")});
        QFile saved(path(QStringLiteral("report.txt")));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(),
                 textLineEnds((shown.endsWith(QLatin1Char('\n')) ? shown : shown + QLatin1Char('\n')).toUtf8()));
        dialogs.answers << QMessageBox::No;
        form.close();
    }
};

QTEST_MAIN(SupportReportTest)
#include "support_report_test.moc"
