// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up pieces: the ini file, window placement, the single-instance guard, the command line.

#include "app/CommandLine.h"
#include "app/FileHandOver.h"
#include "app/TJustOne.h"
#include "app/TPicturesForm.h"
#include "app/WindowPlacement.h"
#include "support/RawFiles.h"
#include "widgets/IniFile.h"
#include "widgets/ScreenFit.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

using namespace mk;

namespace {

// A window of fixed size, like the main window.
struct FixedWindow : QWidget
{
    FixedWindow()
    {
        setFixedSize(300, 200);
        move(120, 90);
    }
};

} // namespace

class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    void missingIniIsCreatedWithOneSpaceLine()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("mkconf.ini"));
        {
            IniFile ini(path);
            QCOMPARE(readRaw(path), QByteArray(" \n"));
            QCOMPARE(ini.readInteger(QStringLiteral("RS232"), QStringLiteral("Port"), 7), 7);
            QCOMPARE(ini.readBool(QStringLiteral("Common"), QStringLiteral("Auto"), true), true);
        }
        // Nothing was written: the file keeps its single line.
        QCOMPARE(readRaw(path), QByteArray(" \n"));
    }

    void valuesAreWrittenAsNumbers()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("mkconf.ini"));
        {
            IniFile ini(path);
            ini.writeBool(QStringLiteral("Common"), QStringLiteral("Auto"), false);
            ini.writeInteger(QStringLiteral("MainWindow"), QStringLiteral("Left"), -20);
            QVERIFY(ini.flush());
        }
        const QByteArray text = readRaw(path);
        QVERIFY2(text.contains("[Common]\nAuto=0\n"), text.constData());
        QVERIFY2(text.contains("[MainWindow]\nLeft=-20\n"), text.constData());
        IniFile again(path);
        QCOMPARE(again.readBool(QStringLiteral("Common"), QStringLiteral("Auto"), true), false);
        QCOMPARE(again.readInteger(QStringLiteral("MainWindow"), QStringLiteral("Left"), 0), -20);
    }

    void readsWhatOtherWritersLeft()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("mkconf.ini"));
        QVERIFY(writeRaw(path, " \n[Common]\nAuto=true\nA=false\nB=2\nC=yes\n[RS232]\nPort= 12 \nBad=COM3\n"));
        IniFile ini(path);
        QCOMPARE(ini.readBool(QStringLiteral("Common"), QStringLiteral("Auto"), false), true);
        QCOMPARE(ini.readBool(QStringLiteral("Common"), QStringLiteral("A"), true), false);
        QCOMPARE(ini.readBool(QStringLiteral("Common"), QStringLiteral("B"), false), true);
        QCOMPARE(ini.readBool(QStringLiteral("Common"), QStringLiteral("C"), false), false); // not a boolean
        QCOMPARE(ini.readInteger(QStringLiteral("RS232"), QStringLiteral("Port"), 1), 12);
        QCOMPARE(ini.readInteger(QStringLiteral("RS232"), QStringLiteral("Bad"), 1), 1);
    }

    void iniLivesBesideTheProgramUnlessItsFolderIsReadOnly()
    {
        QTemporaryDir dir;
        const QString userDir = dir.filePath(QStringLiteral("config"));
        QCOMPARE(iniPathFor(dir.filePath(QStringLiteral("mkconf")), userDir),
                 dir.filePath(QStringLiteral("mkconf.ini")));
        // /proc refuses new files even to the administrator: an installed program's folder.
        QCOMPARE(iniPathFor(QStringLiteral("/proc/mkconf"), userDir), userDir + QStringLiteral("/mkconf.ini"));
        // Installed by the package: even the administrator leaves no file in /usr/bin.
        QCOMPARE(iniPathFor(QStringLiteral("/usr/bin/mkconf"), userDir), userDir + QStringLiteral("/mkconf.ini"));
        QVERIFY(!QFileInfo::exists(QStringLiteral("/usr/bin/.mkconf-write-probe")));

        // The file dialogs start beside the program only when the ini file is there too.
        const QString docs = dir.filePath(QStringLiteral("Documents"));
        QCOMPARE(fileFolderFor(dir.filePath(QStringLiteral("mkconf.ini")), dir.path(), docs), dir.path());
        QCOMPARE(fileFolderFor(userDir + QStringLiteral("/mkconf.ini"), QStringLiteral("/usr/bin"), docs),
                 QDir::homePath());
        QVERIFY(QDir().mkpath(docs));
        QCOMPARE(fileFolderFor(userDir + QStringLiteral("/mkconf.ini"), QStringLiteral("/usr/bin"), docs), docs);
        QVERIFY(QFileInfo(userDir).isDir());
    }

    void placementClampsNegativePositions()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("p.ini"));
        QVERIFY(writeRaw(path, "[W]\nState=0\nLeft=-20\nTop=-5\nWidth=-1\nHeight=-1\n"));
        FixedWindow window;
        loadPlacement(IniFile(path), QStringLiteral("W"), window);
        QCOMPARE(window.pos(), QPoint(0, kTitleBarRoom)); // the title bar stays on the screen
        QCOMPARE(window.size(), QSize(300, 200));         // a fixed window keeps its size
    }

    void resizableWindowTakesStoredSize()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("p.ini"));
        QVERIFY(writeRaw(path, "[W]\nLeft=10\nTop=20\nWidth=-3\nHeight=250\n"));
        QWidget window;
        window.resize(400, 300);
        loadPlacement(IniFile(path), QStringLiteral("W"), window);
        QCOMPARE(window.pos(), QPoint(10, kTitleBarRoom));
        QCOMPARE(window.size(), QSize(100, 250));
    }

    void maximizedStateLeavesPositionUnapplied()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("p.ini"));
        QVERIFY(writeRaw(path, "[W]\nState=2\nLeft=3\nTop=4\n"));
        FixedWindow window;
        loadPlacement(IniFile(path), QStringLiteral("W"), window);
        QVERIFY(window.windowState() & Qt::WindowMaximized);
        QCOMPARE(window.pos(), QPoint(120, 90));
    }

    // A place off every screen, or partly off one, is brought back within the screen.
    void positionOffTheScreenIsBroughtBack()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("p.ini"));
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        const QByteArray partly =
            QStringLiteral("Left=%1\nTop=%2").arg(screen.right() - 100).arg(screen.bottom() - 50).toLatin1();
        for (const QByteArray &stored : {QByteArray("Left=60000\nTop=40000"), partly}) {
            QVERIFY(writeRaw(path, "[W]\n" + stored + "\n"));
            FixedWindow window;
            loadPlacement(IniFile(path), QStringLiteral("W"), window);
            QCOMPARE(window.geometry().bottomRight(), screen.bottomRight());
        }
    }

    void onlyOneGuardHoldsTheLock()
    {
        QTemporaryDir dir;
        {
            TJustOne first(QStringLiteral("mkconf"), dir.path());
            QVERIFY(first.owned());
            // A copy that has run for an hour still holds its lock.
            QFile lockFile(first.lockPath());
            QVERIFY(lockFile.open(QIODevice::ReadWrite));
            QVERIFY(
                lockFile.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
            lockFile.close();
            TJustOne second(QStringLiteral("mkconf"), dir.path());
            QVERIFY(!second.owned());
            TJustOne other(QStringLiteral("mktool"), dir.path());
            QVERIFY(other.owned());
        }
        TJustOne afterwards(QStringLiteral("mkconf"), dir.path());
        QVERIFY(afterwards.owned());
    }

    void lockOfACrashedCopyIsTakenOver()
    {
        QTemporaryDir dir;
        // The lock file a copy leaves when it dies: its process id, name and host.
        QVERIFY(writeRaw(dir.filePath(QStringLiteral("mkconf.lock")),
                         "2147483600\nmkconf\n" + QSysInfo::machineHostName().toUtf8() + "\n"));
        TJustOne guard(QStringLiteral("mkconf"), dir.path());
        QVERIFY(guard.owned());
    }

    void secondProgramEndsAtOnce()
    {
        QTemporaryDir runtime;
        QFile::setPermissions(runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        TJustOne first(QStringLiteral("mkconf"), runtime.path()); // the running copy
        QVERIFY(first.owned());

        QProcess second;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        second.setProcessEnvironment(env);
        second.start(QStringLiteral(MK_BIN_DIR "/mkconf"), {});
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(QString::fromUtf8(second.readAllStandardError()).contains(QStringLiteral("уже запущена")));
        // The running copy is asked to come to the front: a request without a file.
        const QString request = handOverRequestPath(runtime.path(), QStringLiteral("mkconf"));
        QVERIFY(QFileInfo::exists(request));
        QCOMPARE(QFileInfo(request).size(), 0);
    }

    // The lock and the hand-over live only in a folder of this user alone; a link planted at the
    // request's name is neither written through nor followed.
    void lockAndHandOverOnlyInAPrivateFolder()
    {
        QTemporaryDir home;
        const QString runtime = home.filePath(QStringLiteral("run"));
        QVERIFY(QDir().mkdir(runtime));
        const QFileDevice::Permissions readable(0x7755); // a folder of the user's own, like the home folder
        QVERIFY(QFile::setPermissions(runtime, readable));
        const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR"), oldCache = qgetenv("XDG_CACHE_HOME");
        const QString cache = home.filePath(QStringLiteral("cache"));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(cache));
        // Neither made along a path: no runtime folder, no cache folder, no lock folder.
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.filePath(QStringLiteral("missing/run"))));
        QString why;
        const QString none = TJustOne::defaultLockDir(&why);
        QVERIFY(QDir().mkdir(cache));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
        const QString fallback = TJustOne::defaultLockDir();
        const QFileDevice::Permissions runtimeAfter = QFileInfo(runtime).permissions();
        QVERIFY(QFile::setPermissions(runtime, QFileDevice::Permissions(0x7700)));
        const QString privateRuntime = TJustOne::defaultLockDir();
        qputenv("XDG_RUNTIME_DIR", oldRuntime);
        qputenv("XDG_CACHE_HOME", oldCache);
        QVERIFY(none.isEmpty());
        QVERIFY2(why.contains(QStringLiteral("её нет")), qPrintable(why));
        QVERIFY(!QFileInfo::exists(home.filePath(QStringLiteral("missing"))));
        QCOMPARE(fallback, home.filePath(QStringLiteral("cache/mkconf")));
        QCOMPARE(QFileInfo(fallback).permissions() & QFileDevice::Permissions(0x0077), QFileDevice::Permissions());
        QCOMPARE(runtimeAfter & QFileDevice::Permissions(0x0077), QFileDevice::Permissions(0x0055)); // never chmodded
        QCOMPARE(privateRuntime, runtime);

        const QString victim = home.filePath(QStringLiteral("victim"));
        QVERIFY(writeRaw(victim, "keep"));
        const QString request = handOverRequestPath(runtime, QStringLiteral("mkconf"));
        QVERIFY(QFile::link(victim, request));
        QVERIFY(handOverFile(request, QStringLiteral("/data/a.tcset")));
        QCOMPARE(readRaw(victim), QByteArray("keep"));
        QVERIFY(!QFileInfo(request).isSymLink());

        QVERIFY(QFile::remove(request));
        QVERIFY(QFile::link(victim, request));
        QStringList opened;
        const FileHandOverWatcher watcher(
            request, QDateTime::currentDateTime().addSecs(-60), [] { return false; },
            [&](const QString &file) { opened << file; });
        QTRY_VERIFY(!QFileInfo(request).isSymLink());
        QTest::qWait(50);
        QVERIFY(opened.isEmpty());
        QCOMPARE(readRaw(victim), QByteArray("keep"));
    }

    void picturesHaveTheirSizesAndShapes()
    {
        QVERIFY(!TPicturesForm::instance());
        {
            TPicturesForm pictures;
            QCOMPARE(TPicturesForm::instance(), &pictures);
            QVERIFY(!pictures.isVisible());
            const QList<std::pair<const QImage *, QSize>> expected = {{&pictures.ScaleL, {79, 136}},
                                                                      {&pictures.ScaleR, {149, 136}},
                                                                      {&pictures.Circle99, {199, 199}},
                                                                      {&pictures.Circle9, {9, 9}},
                                                                      {&pictures.Arrow, {129, 129}}};
            for (const auto &[image, size] : expected) {
                QCOMPARE(image->size(), size);
                int drawn = 0;
                for (int y = 0; y < image->height(); ++y)
                    for (int x = 0; x < image->width(); ++x)
                        drawn += qAlpha(image->pixel(x, y)) != 0;
                QVERIFY(drawn > 0 && drawn < size.width() * size.height() + 1);
            }
            // The dial face is round: its corners stay empty, its centre is drawn.
            QCOMPARE(qAlpha(pictures.Circle99.pixel(0, 0)), 0);
            QCOMPARE(qAlpha(pictures.Circle99.pixel(99, 99)), 255);
            // The pointer stands up: drawn above the centre, nothing below its short tail.
            QCOMPARE(qAlpha(pictures.Arrow.pixel(64, 10)), 255);
            QCOMPARE(qAlpha(pictures.Arrow.pixel(64, 120)), 0);
        }
        QVERIFY(!TPicturesForm::instance());
    }

    void commandLine()
    {
        const auto parse = [](QStringList args) {
            args.prepend(QStringLiteral("mkconf"));
            return parseCommandLine(args);
        };
        CommandLine plain = parse({});
        QVERIFY(!plain.demo);
        QVERIFY(plain.error.isEmpty());

        CommandLine demo = parse({QStringLiteral("--demo"), QStringLiteral("--demo-model"), QStringLiteral("0x0101"),
                                  QStringLiteral("--demo-version"), QStringLiteral("5")});
        QVERIFY(demo.error.isEmpty());
        QVERIFY(demo.demo);
        QCOMPARE(demo.demoModel, quint16(257));
        QCOMPARE(demo.demoVersion, quint32(5));

        QVERIFY(!parse({QStringLiteral("--demo"), QStringLiteral("--demo-model"), QStringLiteral("70000")})
                     .error.isEmpty());
        QVERIFY(!parse({QStringLiteral("--demo"), QStringLiteral("--demo-model")}).error.isEmpty());
        QVERIFY(!parse({QStringLiteral("--demo-version"), QStringLiteral("2")}).error.isEmpty()); // without --demo
        QVERIFY(!parse({QStringLiteral("--bogus")}).error.isEmpty());
        QVERIFY(parse({QStringLiteral("--help")}).help);
        QVERIFY(parse({QStringLiteral("--version")}).version);
        // "--" ends the options: a file whose name starts with a dash, and --help as a name.
        QCOMPARE(parse({QStringLiteral("--"), QStringLiteral("-x.tcset")}).file,
                 QDir::current().absoluteFilePath(QStringLiteral("-x.tcset")));
        QVERIFY(!parse({QStringLiteral("--"), QStringLiteral("--help")}).help);

        // A file (a double-click on it) is made absolute before the window changes folders.
        CommandLine file = parse({QStringLiteral("car.tcset")});
        QVERIFY(file.error.isEmpty());
        QCOMPARE(file.file, QDir::current().absoluteFilePath(QStringLiteral("car.tcset")));
        QCOMPARE(parse({QStringLiteral("--demo"), QStringLiteral("/tmp/a.tcset")}).file,
                 QStringLiteral("/tmp/a.tcset"));
        QVERIFY(!parse({QStringLiteral("a.tcset"), QStringLiteral("b.tcset")}).error.isEmpty());
    }

    void versionAndHelpNeedNoDisplay()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        for (const QString &option : {QStringLiteral("--version"), QStringLiteral("--help")}) {
            QProcess mkconf;
            mkconf.setProcessEnvironment(env);
            mkconf.start(QStringLiteral(MK_BIN_DIR "/mkconf"), {option});
            QVERIFY(mkconf.waitForFinished(20000));
            QCOMPARE(mkconf.exitCode(), 0);
            const QString out = QString::fromUtf8(mkconf.readAllStandardOutput());
            if (option == QStringLiteral("--version"))
                QVERIFY2(QRegularExpression(QStringLiteral("^mkconf \\d+\\.\\d+\\.\\d+\n$")).match(out).hasMatch(),
                         qPrintable(out));
            else
                QVERIFY2(out.contains(QStringLiteral("--version")) && out.contains(QStringLiteral("ФАЙЛ.tcset")),
                         qPrintable(out));
        }
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
