// SPDX-License-Identifier: GPL-3.0-or-later
// The whole round through the main window's buttons against mksim on a pseudo-terminal:
// read from the device, edit, save, load, write back; and Cancel while connecting.

#include "DemoSetup.h"
#include "DialogScript.h"
#include "support/RawFiles.h"

#include "app/AccessCheck.h"
#include "app/CommandLine.h"
#include "app/SerialDeviceLink.h"
#include "app/TMainForm.h"
#include "app/TProgressForm.h"
#include "base/FileIo.h"
#include "image/SettingsFile.h"
#include "image/TMK.h"
#include "link/PortBackend.h"
#include "link/PortMap.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cerrno>

using namespace mk;
using namespace mk::test;

namespace {

constexpr int kTestPort = 7;

// build/bin/mksim serving one simulated device; stopped with SIGTERM at the end.
class Mksim
{
public:
    explicit Mksim(const QStringList &args)
    {
        m_process.start(QStringLiteral(MK_BIN_DIR "/mksim"), args);
        if (!m_process.waitForStarted(5000))
            return;
        while (!m_process.canReadLine())
            if (!m_process.waitForReadyRead(5000))
                return;
        m_path = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    }
    ~Mksim() { stop(); }
    QString path() const { return m_path; }
    int stop()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            if (!m_process.waitForFinished(5000))
                m_process.kill();
        }
        m_process.waitForFinished(5000);
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }

private:
    QProcess m_process;
    QString m_path;
};

void click(QWidget &form, const char *name)
{
    QTest::mouseClick(form.findChild<QPushButton *>(QLatin1String(name)), Qt::LeftButton);
}

} // namespace

class RoundTripTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    AccessGuard m_access;

    QString path(const QString &name) const { return m_dir.filePath(name); }

    // The main window on the real serial link, port 7 chosen by hand in its ini file.
    std::unique_ptr<TMainForm> makeForm(const QString &device, MainFormSetup setup = {})
    {
        setPortOverride(kTestPort, device);
        QFile ini(path(QStringLiteral("mkconf.ini")));
        if (!ini.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return nullptr;
        ini.write("[Common]\nAuto=0\n[RS232]\nPort=7\n");
        ini.close();
        auto link = std::make_unique<SerialDeviceLink>(systemPortBackend(), DeviceSearchSource{}, m_access);
        link->setBackupDir(path(QStringLiteral("backups")));
        setup.iniPath = ini.fileName();
        setup.programDir = m_dir.path();
        setup.link = std::move(link);
        setup.access = &m_access;
        auto form = std::make_unique<TMainForm>(std::move(setup));
        form->show();
        return form;
    }

private slots:
    void cleanup() { clearPortOverrides(); }

    void readSaveLoadWrite()
    {
        const QString deviceAfter = path(QStringLiteral("device-after.tcset"));
        Mksim mksim({QStringLiteral("--model"), QStringLiteral("0x0101"), QStringLiteral("--settings-version"),
                     QStringLiteral("1"), QStringLiteral("--save"), deviceAfter});
        QVERIFY2(!mksim.path().isEmpty(), "mksim did not start");

        // The edit step changes one setting: section 2, offset 0.
        MainFormSetup setup;
        quint8 edited = 0;
        setup.steps.edit = [&](QWidget *, TMK &model) {
            edited = quint8(model.record(2).u8(0) ^ 0x5A);
            model.record(2).setU8(0, edited);
            model.encodeSection(2);
            return true;
        };
        DialogScript dialogs;
        auto form = makeForm(mksim.path(), std::move(setup));
        QVERIFY(form);

        click(*form, "bGetParams");
        QVERIFY2(dialogs.boxes.isEmpty(), qPrintable(dialogs.boxes.value(0).text));
        QCOMPARE(form->model().modelCode(), quint16(0x0101));
        QCOMPARE(form->model().image().size(), 8192 - 64);
        QVERIFY(form->editingEnabled());
        const QByteArray asRead = form->model().image();

        click(*form, "bEditParams");
        QVERIFY(form->modified());
        const QString file = path(QStringLiteral("edited.tcset"));
        // A disk that fails under the save: an error box naming the file and the reason; the old
        // file and the modified flag stay as they were.
        QVERIFY(writeRaw(file, "old"));
        dialogs.fileNames.enqueue(file);
        injectWriteFault(WriteStep::Fsync, ENOSPC);
        click(*form, "bSaveParams"); // "Переписать?" answered Yes
        injectWriteFault(WriteStep::None, 0);
        QVERIFY(form->modified());
        QCOMPARE(readRaw(file), QByteArray("old"));
        const QStringList errors = dialogs.texts(QMessageBox::Critical);
        QVERIFY2(errors.size() == 1 && errors[0].contains(QStringLiteral("edited.tcset")) &&
                     errors[0].contains(QStringLiteral("нет свободного места")),
                 qPrintable(errors.join(QLatin1Char('\n'))));
        QVERIFY(QFile::remove(file));
        dialogs.boxes.clear();

        dialogs.fileNames.enqueue(file);
        click(*form, "bSaveParams");
        QVERIFY(!form->modified());
        const QByteArray saved = readRaw(file);
        QCOMPARE(saved.size(), asRead.size() + 2);

        // A fresh start loads the file and writes it to the device.
        QVERIFY(form->close());
        form = makeForm(mksim.path());
        dialogs.fileNames.enqueue(file);
        click(*form, "bLoadParams");
        QVERIFY(form->editingEnabled());
        QCOMPARE(form->model().record(2).u8(0), edited);

        // The write shows what will change and goes on after "Записать".
        QStringList previews;
        dialogs.other = [&](QDialog &dialog) {
            previews << dialog.objectName();
            return int(QDialog::Accepted);
        };
        click(*form, "bSetParams");
        QCOMPARE(previews, QStringList{QStringLiteral("WritePreviewDialog")});
        QCOMPARE(dialogs.boxes.size(), 1);
        QCOMPARE(dialogs.boxes[0].icon, QMessageBox::Information);
        QVERIFY2(dialogs.boxes[0].text.startsWith(QStringLiteral("Настройки записаны в МК")),
                 qPrintable(dialogs.boxes[0].text));
        const QStringList backups = QDir(path(QStringLiteral("backups"))).entryList({QStringLiteral("*.tcset")});
        QCOMPARE(backups.size(), 1);
        QVERIFY(dialogs.boxes[0].text.contains(backups[0]));
        // The backup holds the memory as it was before the write.
        TMK before;
        loadSettingsFile(before, QDir(path(QStringLiteral("backups"))).filePath(backups[0]));
        QCOMPARE(before.image(), asRead);
        QVERIFY(form->close());

        // What the device holds now is what was saved to the file.
        QCOMPARE(mksim.stop(), 0);
        TMK device;
        loadSettingsFile(device, deviceAfter);
        QCOMPARE(device.modelCode(), quint16(0x0101));
        QCOMPARE(device.record(2).u8(0), edited);
        QCOMPARE(encodeSettingsFile(device.modelCode(), device.image()), saved);
    }

    void demoModeReadsAndWritesTheSimulatedDevice()
    {
        MainFormSetup setup = demoSetup(m_dir.path(), m_access, 0x0801, 2);
        setup.steps.edit = [](QWidget *, TMK &model) {
            model.record(5).setU8(0, quint8(model.record(5).u8(0) ^ 0x01));
            model.encodeSection(5);
            return true;
        };
        DialogScript dialogs;
        TMainForm form(std::move(setup));
        form.show();
        QVERIFY(form.autoSearch()); // the automatic search finds the simulated device

        click(form, "bGetParams");
        QVERIFY2(dialogs.boxes.isEmpty(), qPrintable(dialogs.boxes.value(0).text));
        QCOMPARE(form.model().modelCode(), quint16(0x0801));
        QCOMPARE(form.model().settingsVersion(), 2u);
        QVERIFY(form.editingEnabled());

        // An edit, a write whose preview is declined, a comparison with the device: the device
        // still holds its own value. After "Записать" it holds the edit.
        click(form, "bEditParams");
        int answer = QDialog::Rejected;
        QStringList previews, summaries;
        dialogs.other = [&](QDialog &dialog) {
            if (dialog.objectName() == QLatin1String("CompareWindow")) {
                summaries << dialog.findChild<QLabel *>(QStringLiteral("lSummary"))->text();
                return int(QDialog::Rejected);
            }
            previews << dialog.objectName();
            return answer;
        };
        const auto compareWithDevice = [&form] {
            form.findChild<QAction *>(QStringLiteral("miCompareDevice"))->trigger();
        };
        click(form, "bSetParams");
        QCOMPARE(previews, QStringList{QStringLiteral("WritePreviewDialog")});
        QVERIFY(dialogs.boxes.isEmpty());
        compareWithDevice();
        QVERIFY2(summaries.value(0).contains(QStringLiteral("различаются: 1 настройка")),
                 qPrintable(summaries.value(0)));
        answer = QDialog::Accepted;
        click(form, "bSetParams");
        QCOMPARE(dialogs.texts(QMessageBox::Information).size(), 1);
        compareWithDevice();
        QVERIFY2(summaries.value(1).contains(QStringLiteral("совпадают")), qPrintable(summaries.value(1)));
        QCOMPARE(dialogs.boxes.size(), 1);
        dialogs.answers << QMessageBox::No; // the edit is not saved to a file
        QVERIFY(form.close());
        // The simulator's port number is not stored over the user's own.
        const QByteArray ini = readRaw(path(QStringLiteral("demo.ini")));
        QVERIFY(ini.contains("Auto=1"));
        QVERIFY(!ini.contains("Port="));
    }

    void cancelWhileConnecting()
    {
        // A device that never answers: the exchange keeps trying the addresses until Cancel.
        Mksim mksim({QStringLiteral("--fault"), QStringLiteral("silence:1")});
        QVERIFY2(!mksim.path().isEmpty(), "mksim did not start");
        DialogScript dialogs;
        auto form = makeForm(mksim.path());
        QVERIFY(form);

        bool sawConnecting = false;
        QTimer watcher;
        watcher.setInterval(20);
        QObject::connect(&watcher, &QTimer::timeout, [&] {
            for (QWidget *w : QApplication::topLevelWidgets()) {
                auto *progress = qobject_cast<TProgressForm *>(w);
                if (!progress || !progress->isVisible())
                    continue;
                auto *text = progress->findChild<QLabel *>(QStringLiteral("lText"));
                if (text->text() != QStringLiteral("Не могу подключиться к МК..."))
                    continue;
                sawConnecting = true;
                QTest::mouseClick(progress->findChild<QPushButton *>(QStringLiteral("bCancel")), Qt::LeftButton);
            }
        });
        watcher.start();
        QElapsedTimer clock;
        clock.start();
        click(*form, "bGetParams");
        watcher.stop();
        QVERIFY(sawConnecting);
        QVERIFY(clock.elapsed() < 10000);
        QVERIFY(dialogs.boxes.isEmpty()); // ends silently
        QVERIFY(!form->model().hasImage());
        QVERIFY(!form->editingEnabled());
    }
};

QTEST_MAIN(RoundTripTest)
#include "roundtrip_test.moc"
