// The main window's placement under a real window manager (openbox on a virtual X server): a
// window moved by the user comes back to the same place at every start, frame and all. Skips only
// when Xvfb or openbox is not installed.

#include "app/TMainForm.h"
#include "link/AccessCheck.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <climits>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace mk;

namespace {

QString g_skipReason; // set when there is no window manager to run under

// Starts a helper that ends with this test program, however that ends.
pid_t spawn(const QStringList &command)
{
    QList<QByteArray> bytes;
    for (const QString &part : command)
        bytes << QFile::encodeName(part);
    std::vector<char *> argv;
    for (QByteArray &part : bytes)
        argv.push_back(part.data());
    argv.push_back(nullptr);
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM); // Xvfb then removes its lock file
        if (::getppid() != parent)
            ::_exit(127);
        const int devNull = ::open("/dev/null", O_WRONLY);
        ::dup2(devNull, 1);
        ::dup2(devNull, 2);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    return pid > 0 ? pid : 0;
}

bool alive(pid_t pid)
{
    return ::waitpid(pid, nullptr, WNOHANG) == 0;
}

void stop(pid_t pid)
{
    if (pid > 0) {
        ::kill(pid, SIGTERM);
        ::waitpid(pid, nullptr, 0);
    }
}

// Waits up to `ms` for the file to appear while the process lives.
bool waitFor(const QString &path, pid_t pid, int ms)
{
    for (int waited = 0; waited < ms; waited += 20) {
        if (QFileInfo::exists(path))
            return true;
        if (!alive(pid))
            return false;
        ::usleep(20 * 1000);
    }
    return false;
}

// The virtual X server and the window manager, for the test program's lifetime.
struct Desktop
{
    pid_t xvfb = 0;
    pid_t openbox = 0;
    QTemporaryDir dir;

    bool start()
    {
        const QString xvfbPath = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        const QString openboxPath = QStandardPaths::findExecutable(QStringLiteral("openbox"));
        if (xvfbPath.isEmpty() || openboxPath.isEmpty()) {
            g_skipReason = QStringLiteral("Xvfb or openbox is not installed (bash build.sh test installs them)");
            return false;
        }
        for (int display = 90 + ::getpid() % 50, tries = 0; tries < 40; ++display, ++tries) {
            if (QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(display)))
                continue;
            xvfb = spawn({xvfbPath, QStringLiteral(":%1").arg(display), QStringLiteral("-screen"), QStringLiteral("0"),
                          QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
            if (xvfb && waitFor(QStringLiteral("/tmp/.X11-unix/X%1").arg(display), xvfb, 5000)) {
                qputenv("DISPLAY", QByteArray(":") + QByteArray::number(display));
                break;
            }
            stop(xvfb);
            xvfb = 0;
        }
        if (!xvfb) {
            g_skipReason = QStringLiteral("no virtual X server could be started");
            return false;
        }
        const QString ready = dir.filePath(QStringLiteral("ready"));
        openbox = spawn({openboxPath, QStringLiteral("--sm-disable"), QStringLiteral("--startup"),
                         QStringLiteral("touch ") + ready});
        if (!openbox || !waitFor(ready, openbox, 10000)) {
            g_skipReason = QStringLiteral("openbox did not start");
            return false;
        }
        return true;
    }

    ~Desktop()
    {
        stop(openbox);
        stop(xvfb);
    }
};

int stored(const QString &ini, const char *key)
{
    QFile file(ini);
    if (!file.open(QIODevice::ReadOnly))
        return INT_MIN;
    const QRegularExpression line(QStringLiteral("^%1=(-?\\d+)$").arg(QLatin1String(key)), QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = line.match(QString::fromLatin1(file.readAll()));
    return match.hasMatch() ? match.captured(1).toInt() : INT_MIN;
}

} // namespace

class PlacementUnderWindowManagerTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    AccessGuard m_access;

    std::unique_ptr<TMainForm> start()
    {
        MainFormSetup setup;
        setup.iniPath = m_dir.filePath(QStringLiteral("mkconf.ini"));
        setup.programDir = m_dir.path();
        setup.access = &m_access;
        auto form = std::make_unique<TMainForm>(std::move(setup));
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get()))
            return nullptr;
        // The window manager frames the window after mapping it; wait for the frame and then for
        // the last move it makes.
        QTest::qWaitFor([&] { return form->frameGeometry() != form->geometry(); }, 5000);
        QTest::qWait(300);
        return form;
    }

private slots:
    void windowStaysWhereItWasOverRestarts()
    {
        if (!g_skipReason.isEmpty())
            QSKIP(qPrintable(g_skipReason));
        auto first = start();
        QVERIFY(first);
        QVERIFY2(first->frameGeometry() != first->geometry(), "the window manager put no frame around the window");
        const QMargins frame(first->geometry().left() - first->frameGeometry().left(),
                             first->geometry().top() - first->frameGeometry().top(), 0, 0);
        QVERIFY2(frame.top() > 0, "no title bar");

        // The user drags the window somewhere else, its title bar well inside the screen.
        const QPoint target(173, 97);
        first->windowHandle()->setFramePosition(target);
        QTRY_COMPARE_WITH_TIMEOUT(first->frameGeometry().topLeft(), target, 5000);
        QTest::qWait(200);
        const QRect placed = first->geometry();
        QVERIFY(first->close());
        first.reset();

        for (int restart = 1; restart <= 3; ++restart) {
            auto form = start();
            QVERIFY(form);
            const QPoint moved = form->geometry().topLeft() - placed.topLeft();
            QVERIFY2(moved.manhattanLength() <= 2,
                     qPrintable(QStringLiteral("start %1: window at (%2, %3), was at (%4, %5)")
                                    .arg(restart).arg(form->geometry().left()).arg(form->geometry().top())
                                    .arg(placed.left()).arg(placed.top())));
            QVERIFY(form->frameGeometry().top() >= 0); // the title bar stays on the screen
            QCOMPARE(form->size(), QSize(810, 401));
            QVERIFY(form->close());
        }
        // What is stored is the window's own area, the same at every close.
        const QString ini = m_dir.filePath(QStringLiteral("mkconf.ini"));
        QVERIFY(qAbs(stored(ini, "Left") - placed.left()) <= 2);
        QVERIFY(qAbs(stored(ini, "Top") - placed.top()) <= 2);
        QCOMPARE(stored(ini, "State"), 0);
        QCOMPARE(stored(ini, "Width"), 810);
    }

    // A second start of the program brings the running window up from the taskbar, in front.
    void secondStartBringsTheWindowToTheFront()
    {
        if (!g_skipReason.isEmpty())
            QSKIP(qPrintable(g_skipReason));
        auto form = start();
        QVERIFY(form);
        QWidget other;
        other.setWindowTitle(QStringLiteral("other"));
        other.resize(400, 300);
        other.show();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        form->showMinimized();
        QTRY_VERIFY(form->isMinimized());
        form->bringToFront();
        QTRY_VERIFY_WITH_TIMEOUT(!form->isMinimized() && form->isActiveWindow(), 5000);
        QVERIFY(form->close());
    }
};

int main(int argc, char **argv)
{
    Desktop desktop;
    if (desktop.start()) {
        qputenv("QT_QPA_PLATFORM", "xcb");
        qunsetenv("WAYLAND_DISPLAY");
    } else {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    PlacementUnderWindowManagerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "placement_wm_test.moc"
