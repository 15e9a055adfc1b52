// SPDX-License-Identifier: GPL-3.0-or-later
// The configurator asked to end by the system (Ctrl+C in its terminal, SIGTERM, SIGHUP): idle, it
// ends cleanly; in the middle of writing the sections it finishes the write, tells its result
// and ends, the device holding every new setting; with the write preview open, the preview is
// answered «Отмена», nothing reaches the device and the program ends.

#include "DialogScript.h"

#include "app/AccessCheck.h"
#include "app/EndRequests.h"
#include "app/SerialDeviceLink.h"
#include "app/TMainForm.h"
#include "app/TProgressForm.h"
#include "image/SettingsFile.h"
#include "image/TMK.h"
#include "link/PortBackend.h"
#include "link/PortMap.h"
#include "support/Mksim.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <unistd.h>

using namespace mk;
using namespace mk::test;

namespace {

constexpr int kTestPort = 7;

// Edits in four sections, so that a write cut short would leave some new and some old.
struct Edit
{
    int section, offset;
    quint8 flip;
};
constexpr Edit kEdits[] = {{2, 0, 0x5A}, {3, 8, 0x01}, {5, 0, 0x03}, {9, 248 + 2 * 9, 0x21}};

bool edit(QWidget *, TMK &model)
{
    for (const Edit &e : kEdits) {
        model.record(e.section).setU8(e.offset, quint8(model.record(e.section).u8(e.offset) ^ e.flip));
        model.encodeSection(e.section);
    }
    return true;
}

TProgressForm *shownProgressForm()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *form = qobject_cast<TProgressForm *>(w); form && form->isVisible())
            return form;
    return nullptr;
}

// The signals a process has a handler for, from /proc (Linux): SigCgt, one bit per signal.
bool catches(qint64 pid, std::initializer_list<int> wanted)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("SigCgt:")) {
            const quint64 mask = line.mid(7).trimmed().toULongLong(nullptr, 16);
            for (const int s : wanted)
                if (!(mask & (quint64(1) << (s - 1))))
                    return false;
            return true;
        }
    return false;
}

const char *signalName(int s) { return s == SIGINT ? "SIGINT" : s == SIGTERM ? "SIGTERM" : "SIGHUP"; }

} // namespace

class EndRequestsTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    AccessGuard m_access;

    QString path(const QString &name) const { return m_dir->filePath(name); }

    // The main window on the real serial link to mksim, the settings read and edited.
    std::unique_ptr<TMainForm> editedForm(const QString &device)
    {
        setPortOverride(kTestPort, device);
        QFile ini(path(QStringLiteral("mkconf.ini")));
        if (!ini.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return nullptr;
        ini.write("[Common]\nAuto=0\n[RS232]\nPort=7\n");
        ini.close();
        auto link = std::make_unique<SerialDeviceLink>(systemPortBackend(), DeviceSearchSource{}, m_access);
        link->setBackupDir(path(QStringLiteral("backups")));
        MainFormSetup setup;
        setup.iniPath = ini.fileName();
        setup.programDir = m_dir->path();
        setup.link = std::move(link);
        setup.access = &m_access;
        setup.steps.edit = edit;
        auto form = std::make_unique<TMainForm>(std::move(setup));
        form->show();
        QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("bGetParams")), Qt::LeftButton);
        QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("bEditParams")), Qt::LeftButton);
        return form;
    }

    // Presses "Записать настройки в МК" and runs the program's event loop until it ends, as
    // main() does, the end requests wired as there; what exec() returned.
    int writeAndRun(TMainForm &form)
    {
        const EndRequests requests;
        connect(&requests, &EndRequests::requested, qApp, [] { endWhenExchangeAllows(); });
        QTimer::singleShot(0, &form, [&form] {
            QTest::mouseClick(form.findChild<QPushButton *>(QStringLiteral("bSetParams")), Qt::LeftButton);
        });
        QTimer stuck;
        stuck.setSingleShot(true);
        connect(&stuck, &QTimer::timeout, qApp, [] { QCoreApplication::exit(99); });
        stuck.start(60000);
        return QApplication::exec();
    }

    QByteArray deviceMemoryAfter(MksimProcess &mksim)
    {
        if (mksim.stop() != 0)
            return {};
        TMK device;
        loadSettingsFile(device, path(QStringLiteral("device-after.tcset")));
        return device.image();
    }

private slots:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }
    void cleanup() { clearPortOverrides(); }

    // The program itself, idle, its settings untouched: each signal ends it normally.
    void idleProgramEndsOnEachSignal()
    {
        // A copy of its own, so that the ini file it leaves lands here.
        const QString program = path(QStringLiteral("mkconf"));
        QVERIFY(QFile::copy(QStringLiteral(MK_BIN_DIR "/mkconf"), program));
        QVERIFY(QFile::setPermissions(program, QFile::permissions(program) | QFileDevice::ExeOwner));
        QVERIFY(QDir().mkdir(path(QStringLiteral("run"))));
        QVERIFY(QFile::setPermissions(path(QStringLiteral("run")),
                                      QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
        for (const int s : {SIGINT, SIGTERM, SIGHUP}) {
            QProcess mkconf;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("XDG_RUNTIME_DIR"), path(QStringLiteral("run")));
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            mkconf.setProcessEnvironment(env);
            mkconf.start(program, {QStringLiteral("--demo")});
            QVERIFY(mkconf.waitForStarted(10000));
            // Up once it has its handlers: before that, the signal's default would end it.
            QVERIFY2(QTest::qWaitFor(
                         [&] {
                             return catches(mkconf.processId(), {SIGINT, SIGTERM, SIGHUP});
                         },
                         20000),
                     signalName(s));
            ::kill(pid_t(mkconf.processId()), s);
            QVERIFY2(mkconf.waitForFinished(20000), signalName(s));
            QCOMPARE(mkconf.exitStatus(), QProcess::NormalExit);
            QCOMPARE(mkconf.exitCode(), 0);
            QVERIFY2(QFile::exists(path(QStringLiteral("mkconf.ini"))), signalName(s)); // closed as the window closes
        }
    }

    // Ctrl+C while the sections are written: the write goes on to its end and is verified, its
    // result names the backup, then the program asks about the unsaved edits and ends.
    void signalDuringSectionWritesLetsTheWriteFinish()
    {
        MksimProcess mksim({QStringLiteral("--model"), QStringLiteral("0x0101"), QStringLiteral("--line-rate"),
                            QStringLiteral("115200"), QStringLiteral("--save"),
                            path(QStringLiteral("device-after.tcset"))});
        QVERIFY2(!mksim.path().isEmpty(), qPrintable(mksim.error()));
        DialogScript dialogs;
        auto form = editedForm(mksim.path());
        QVERIFY(form && form->modified());
        const TMK wanted = form->model();
        dialogs.answers << QMessageBox::No; // the edits are not saved to a file on the way out
        dialogs.other = [](QDialog &) { return int(QDialog::Accepted); };

        // Ctrl+C once the sections are being sent: their Cancel is greyed out.
        int atPercent = -1;
        QTimer watch;
        watch.setInterval(2);
        connect(&watch, &QTimer::timeout, this, [&] {
            const TProgressForm *progress = shownProgressForm();
            if (progress &&
                progress->findChild<QLabel *>(QStringLiteral("lText"))->text() ==
                    QStringLiteral("Запись настроек...") &&
                !progress->findChild<QPushButton *>(QStringLiteral("bCancel"))->isEnabled()) {
                atPercent = progress->findChild<QProgressBar *>(QStringLiteral("Gauge"))->value();
                watch.stop();
                ::kill(::getpid(), SIGINT);
            }
        });
        watch.start();
        QCOMPARE(writeAndRun(*form), 0);
        QVERIFY2(atPercent >= 0 && atPercent < 100, qPrintable(QString::number(atPercent)));
        QVERIFY(!form->isVisible());

        const QStringList told = dialogs.texts(QMessageBox::Information);
        QCOMPARE(told.size(), 1);
        QVERIFY2(told[0].startsWith(QStringLiteral("Настройки записаны в МК")) &&
                     told[0].contains(QStringLiteral("совпадает с отправленным")),
                 qPrintable(told[0]));
        const QStringList backups = QDir(path(QStringLiteral("backups"))).entryList({QStringLiteral("*.tcset")});
        QCOMPARE(backups.size(), 1);
        QVERIFY(told[0].contains(backups[0]));
        QCOMPARE(dialogs.texts(QMessageBox::Question).size(), 1); // the unsaved edits, asked once

        // Every edited section whole in the device, none left as it was.
        const QByteArray device = deviceMemoryAfter(mksim);
        QVERIFY(!device.isEmpty());
        TMK after;
        after.replaceImage(0x0101, device);
        for (const Edit &e : kEdits)
            QCOMPARE(after.record(e.section).bytes(), wanted.record(e.section).bytes());
    }

    // A signal while the preview is open answers it «Отмена»: a later «Записать» writes nothing, no
    // backup is taken, and the program ends.
    void signalWithThePreviewOpenWritesNothing_data()
    {
        QTest::addColumn<int>("endSignal");
        for (const int s : {SIGTERM, SIGINT, SIGHUP})
            QTest::newRow(signalName(s)) << s;
    }

    void signalWithThePreviewOpenWritesNothing()
    {
        QFETCH(int, endSignal);
        MksimProcess mksim({QStringLiteral("--model"), QStringLiteral("0x0101"), QStringLiteral("--save"),
                            path(QStringLiteral("device-after.tcset"))});
        QVERIFY2(!mksim.path().isEmpty(), qPrintable(mksim.error()));
        DialogScript dialogs;
        auto form = editedForm(mksim.path());
        QVERIFY(form && form->modified());
        const QByteArray asRead = form->model().baseImage();
        dialogs.answers << QMessageBox::No;
        bool progressBehind = true, answeredCancel = false;
        dialogs.other = [&](QDialog &dialog) {
            if (dialog.objectName() != QLatin1String("WritePreviewDialog"))
                return int(QDialog::Rejected);
            progressBehind = shownProgressForm() != nullptr;
            // Open as exec() would show it, until the signal has been heard.
            dialog.setWindowModality(Qt::ApplicationModal);
            dialog.show();
            ::kill(::getpid(), endSignal);
            answeredCancel =
                QTest::qWaitFor([&] { return !dialog.isVisible(); }, 10000) && dialog.result() == QDialog::Rejected;
            return int(QDialog::Accepted); // «Записать» pressed after all
        };
        QCOMPARE(writeAndRun(*form), 0);
        QVERIFY(!progressBehind);
        QVERIFY(answeredCancel);
        QVERIFY(!form->isVisible());
        QVERIFY(dialogs.texts(QMessageBox::Information).isEmpty());
        QVERIFY(!QDir(path(QStringLiteral("backups"))).exists() ||
                QDir(path(QStringLiteral("backups"))).entryList(QDir::Files).isEmpty());
        QCOMPARE(deviceMemoryAfter(mksim), asRead);
    }
};

QTEST_MAIN(EndRequestsTest)
#include "end_requests_test.moc"
