// SPDX-License-Identifier: GPL-3.0-or-later
// A settings file given on mkconf's command line (a double-click on it in the file manager)
// is loaded by the real main window through its own load step; given to a second copy, it goes
// to the copy already running.

#include "DialogScript.h"
#include "support/RawFiles.h"

#include "app/AccessCheck.h"
#include "app/FileHandOver.h"
#include "app/TJustOne.h"
#include "app/TMainForm.h"
#include "image/FactoryImage.h"
#include "image/SettingsFile.h"
#include "image/TMK.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace mk;
using namespace mk::test;

namespace {

int editingButtonsEnabled(const QWidget &form)
{
    int enabled = 0;
    for (const char *name : {"bEditParams", "bViewJournals", "bViewOsc", "bSaveParams", "bSetParams"})
        enabled += form.findChild<QPushButton *>(QLatin1String(name))->isEnabled();
    return enabled;
}

} // namespace

class OpenFileTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_program; // the program's folder with its ini file
    QTemporaryDir m_documents;
    AccessGuard m_access;

    std::unique_ptr<TMainForm> shownFormWith(const QString &startFile)
    {
        MainFormSetup setup;
        setup.iniPath = m_program.filePath(QStringLiteral("mkconf.ini"));
        setup.programDir = m_program.path();
        setup.startFile = startFile;
        setup.access = &m_access;
        auto form = std::make_unique<TMainForm>(std::move(setup));
        form->show();
        return form;
    }

private slots:
    void fileGivenAtStartIsLoaded()
    {
        DialogScript dialogs;
        const QByteArray image = makeFactoryImage(0x0101, 3);
        const QString file = m_documents.filePath(QStringLiteral("car.tcset"));
        QVERIFY(writeRaw(file, encodeSettingsFile(0x0101, image)));

        auto form = shownFormWith(file);
        QTRY_COMPARE(editingButtonsEnabled(*form), 5);
        QCOMPARE(form->model().image(), image);
        QCOMPARE(form->model().modelCode(), quint16(0x0101));
        QVERIFY(!form->modified());
        QVERIFY(dialogs.boxes.isEmpty());

        // The save dialog then starts beside the file, not in the program's folder.
        click(*form, "bSaveParams");
        QCOMPARE(dialogs.fileDirs, QStringList{QDir(m_documents.path()).absolutePath()});
        QVERIFY(form->close());
    }

    void badFileShowsTheUsualErrorAndTheWindowStays()
    {
        DialogScript dialogs;
        const QString file = m_documents.filePath(QStringLiteral("short.tcset"));
        QVERIFY(writeRaw(file, "x"));
        auto form = shownFormWith(file);
        QTRY_COMPARE(dialogs.boxes.size(), 1);
        QCOMPARE(dialogs.texts(QMessageBox::Critical),
                 QStringList{QStringLiteral("Файл настроек слишком короткий (1 байт).")});
        QVERIFY(form->isVisible());
        QCOMPARE(editingButtonsEnabled(*form), 0);
        QVERIFY(!form->modified());

        // The window goes on as usual: a good file through the button still loads.
        const QString good = m_documents.filePath(QStringLiteral("good.tcset"));
        QVERIFY(writeRaw(good, encodeSettingsFile(1, makeFactoryImage(1, 1))));
        dialogs.fileNames.enqueue(good);
        click(*form, "bLoadParams");
        QCOMPARE(editingButtonsEnabled(*form), 5);
        QVERIFY(form->close());
    }

    // Cut short: it loads to be looked at, with a warning, and "Записать" stays disabled until
    // complete settings are held again.
    void fileCutShortLoadsWithAWarningAndCannotBeWritten()
    {
        DialogScript dialogs;
        QByteArray data = encodeSettingsFile(1, makeFactoryImage(1, 1));
        data.chop(100);
        const QString file = m_documents.filePath(QStringLiteral("cut.tcset"));
        QVERIFY(writeRaw(file, data));
        auto form = shownFormWith(file);
        QTRY_COMPARE(dialogs.boxes.size(), 1);
        QCOMPARE(dialogs.boxes.first().icon, QMessageBox::Warning);
        auto *write = form->findChild<QPushButton *>(QStringLiteral("bSetParams"));
        QVERIFY(!write->isEnabled());
        QCOMPARE(editingButtonsEnabled(*form), 4);

        const QString good = m_documents.filePath(QStringLiteral("whole.tcset"));
        QVERIFY(writeRaw(good, encodeSettingsFile(1, makeFactoryImage(1, 1))));
        dialogs.fileNames.enqueue(good);
        click(*form, "bLoadParams");
        QVERIFY(write->isEnabled());
        QVERIFY(form->close());
    }

    void missingFileIsReportedOnce()
    {
        DialogScript dialogs;
        auto form = shownFormWith(m_documents.filePath(QStringLiteral("gone.tcset")));
        QTRY_COMPARE(dialogs.boxes.size(), 1);
        QCOMPARE(dialogs.boxes.first().icon, QMessageBox::Critical);
        QVERIFY(!dialogs.boxes.first().text.isEmpty());
        QTest::qWait(20);
        QCOMPARE(dialogs.boxes.size(), 1);
        QCOMPARE(editingButtonsEnabled(*form), 0);
        QVERIFY(form->close());
    }

    void secondCopyHandsItsFileToTheRunningOne()
    {
        DialogScript dialogs;
        QTemporaryDir runtime;
        QFile::setPermissions(runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        const QDateTime started = QDateTime::currentDateTime();
        const TJustOne running(QStringLiteral("mkconf"), runtime.path());
        QVERIFY(running.owned());
        auto form = shownFormWith({});
        const QString request = handOverRequestPath(runtime.path(), QStringLiteral("mkconf"));
        const FileHandOverWatcher watcher(
            request, started, [] { return false; }, [&](const QString &file) { form->openFile(file); });

        const QByteArray image = makeFactoryImage(0x0101, 2);
        QVERIFY(
            writeRaw(m_documents.filePath(QStringLiteral("double-clicked.tcset")), encodeSettingsFile(0x0101, image)));
        QProcess second;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        second.setProcessEnvironment(env);
        second.setWorkingDirectory(m_documents.path()); // the name is relative to it
        second.start(QStringLiteral(MK_BIN_DIR "/mkconf"), {QStringLiteral("double-clicked.tcset")});
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(QString::fromUtf8(second.readAllStandardError()).contains(QStringLiteral("уже запущена")));

        QTRY_COMPARE(editingButtonsEnabled(*form), 5);
        QCOMPARE(form->model().image(), image);
        QVERIFY(!QFileInfo::exists(request));
        QVERIFY(dialogs.boxes.isEmpty());
        QVERIFY(form->close());
    }

    void handOverWaitsWhileBusyAndDropsOldRequests()
    {
        QTemporaryDir runtime;
        const QString request = handOverRequestPath(runtime.path(), QStringLiteral("mkconf"));
        bool busy = true;
        QStringList opened;
        const FileHandOverWatcher watcher(
            request, QDateTime::currentDateTime().addSecs(-5), [&] { return busy; },
            [&](const QString &file) { opened << file; });
        QVERIFY(handOverFile(request, QStringLiteral("/data/a.tcset")));
        QTest::qWait(400); // past a retry: still waiting while a dialog is open
        QVERIFY(opened.isEmpty());
        QVERIFY(QFileInfo::exists(request));
        busy = false;
        QTRY_COMPARE(opened, QStringList{QStringLiteral("/data/a.tcset")});
        QVERIFY(!QFileInfo::exists(request));
        // A second start without a file only asks the running copy to come to the front.
        QVERIFY(handOverFile(request, QString()));
        QTRY_COMPARE(opened, (QStringList{QStringLiteral("/data/a.tcset"), QString()}));
        opened.removeLast();

        // A request older than the running copy was meant for one that is gone.
        QVERIFY(handOverFile(request, QStringLiteral("/data/old.tcset")));
        QFile old(request);
        QVERIFY(old.open(QIODevice::ReadWrite));
        QVERIFY(old.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
        old.close();
        const FileHandOverWatcher later(
            request, QDateTime::currentDateTime().addSecs(-5), [] { return false; },
            [&](const QString &file) { opened << file; });
        QTRY_VERIFY(!QFileInfo::exists(request));
        QCOMPARE(opened.size(), 1);

        // Another user's request is not followed (the folder is private, yet the receiver checks
        // the owner all the same); only the administrator can set one up here.
        if (::getuid() == 0) {
            QVERIFY(handOverFile(request, QStringLiteral("/data/foreign.tcset")));
            QVERIFY(::chown(QFile::encodeName(request).constData(), 65534, 65534) == 0);
            const FileHandOverWatcher third(
                request, QDateTime::currentDateTime().addSecs(-5), [] { return false; },
                [&](const QString &file) { opened << file; });
            QTRY_VERIFY(!QFileInfo::exists(request));
            QCOMPARE(opened.size(), 1);
        }
    }

private:
    static void click(QWidget &form, const char *name)
    {
        QTest::mouseClick(form.findChild<QPushButton *>(QLatin1String(name)), Qt::LeftButton);
    }
};

QTEST_MAIN(OpenFileTest)
#include "openfile_test.moc"
