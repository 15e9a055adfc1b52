// SPDX-License-Identifier: GPL-3.0-or-later
// The main window under a real window manager (openbox on a virtual X server): moved by the user,
// the configurator's window comes back to the same place at every start, frame and all; a second
// start brings it to the front. Skips only when Xvfb or openbox is not installed.

#include "app/TMainForm.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

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

bool alive(pid_t pid) { return ::waitpid(pid, nullptr, WNOHANG) == 0; }

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

// The program's own windows on the X display, seen from outside as the window manager sees them.
class XDisplay
{
public:
    XDisplay() : m_connection(xcb_connect(nullptr, nullptr))
    {
        if (!xcb_connection_has_error(m_connection))
            m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    }
    ~XDisplay() { xcb_disconnect(m_connection); }
    bool ok() const { return m_root != 0; }

    // The managed top-level window of process pid titled `title`, or 0.
    xcb_window_t windowOf(qint64 pid, const QByteArray &title)
    {
        for (const xcb_window_t w : property<xcb_window_t>(m_root, atom("_NET_CLIENT_LIST"), XCB_ATOM_WINDOW)) {
            const QList<quint32> pids = property<quint32>(w, atom("_NET_WM_PID"), XCB_ATOM_CARDINAL);
            const QList<char> name = property<char>(w, atom("_NET_WM_NAME"), atom("UTF8_STRING"));
            if (!pids.isEmpty() && pids.first() == quint32(pid) && QByteArray(name.data(), name.size()) == title)
                return w;
        }
        return 0;
    }
    // Where the window's own area (inside the frame) lies on the screen.
    QPoint clientOrigin(xcb_window_t w)
    {
        auto *reply = xcb_translate_coordinates_reply(
            m_connection, xcb_translate_coordinates(m_connection, w, m_root, 0, 0), nullptr);
        const QPoint at = reply ? QPoint(reply->dst_x, reply->dst_y) : QPoint(INT_MIN, INT_MIN);
        free(reply);
        return at;
    }
    // What a drag by the title bar does: the window manager moves the frame, the client follows.
    void move(xcb_window_t w, QPoint to)
    {
        const quint32 values[] = {quint32(to.x()), quint32(to.y())};
        xcb_configure_window(m_connection, w, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, values);
        xcb_flush(m_connection);
    }
    // The title bar's height the window manager put above the window (0 without a frame).
    int titleBarHeight(xcb_window_t w)
    {
        const QList<quint32> extents = property<quint32>(w, atom("_NET_FRAME_EXTENTS"), XCB_ATOM_CARDINAL);
        return extents.size() == 4 ? int(extents[2]) : 0;
    }
    // The taskbar's minimize.
    void minimize(xcb_window_t w)
    {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = w;
        event.type = atom("WM_CHANGE_STATE");
        event.data.data32[0] = 3; // IconicState
        xcb_send_event(m_connection, false, m_root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char *>(&event));
        xcb_flush(m_connection);
    }
    bool hidden(xcb_window_t w)
    {
        return property<xcb_atom_t>(w, atom("_NET_WM_STATE"), XCB_ATOM_ATOM).contains(atom("_NET_WM_STATE_HIDDEN"));
    }
    xcb_window_t activeWindow()
    {
        const QList<xcb_window_t> active = property<xcb_window_t>(m_root, atom("_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW);
        return active.isEmpty() ? 0 : active.first();
    }
    // The close button of the title bar.
    void close(xcb_window_t w)
    {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = w;
        event.type = atom("WM_PROTOCOLS");
        event.data.data32[0] = atom("WM_DELETE_WINDOW");
        event.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(m_connection, false, w, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&event));
        xcb_flush(m_connection);
    }

private:
    xcb_atom_t atom(const char *name)
    {
        auto *reply = xcb_intern_atom_reply(m_connection,
                                            xcb_intern_atom(m_connection, 0, uint16_t(strlen(name)), name), nullptr);
        const xcb_atom_t a = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        free(reply);
        return a;
    }
    template<class T>
    QList<T> property(xcb_window_t w, xcb_atom_t name, xcb_atom_t type)
    {
        QList<T> out;
        auto *reply =
            xcb_get_property_reply(m_connection, xcb_get_property(m_connection, 0, w, name, type, 0, 4096), nullptr);
        if (reply && reply->format == sizeof(T) * 8) {
            const T *data = static_cast<const T *>(xcb_get_property_value(reply));
            out = QList<T>(data, data + xcb_get_property_value_length(reply) / int(sizeof(T)));
        }
        free(reply);
        return out;
    }

    xcb_connection_t *m_connection;
    xcb_window_t m_root = 0;
};

int stored(const QString &ini, const char *key)
{
    QFile file(ini);
    if (!file.open(QIODevice::ReadOnly))
        return INT_MIN;
    const QRegularExpression line(QStringLiteral("^%1=(-?\\d+)$").arg(QLatin1String(key)),
                                  QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = line.match(QString::fromLatin1(file.readAll()));
    return match.hasMatch() ? match.captured(1).toInt() : INT_MIN;
}

} // namespace

class PlacementUnderWindowManagerTest : public QObject
{
    Q_OBJECT

private:
    // The configurator itself, as the desktop starts it: its own copy in a folder of its own, so that
    // its ini file and single-instance lock are this test's.
    struct Program
    {
        QProcess process;
        xcb_window_t window = 0;
    };

    bool startProgram(Program &program, XDisplay &x, const QString &copy, const QString &runtime)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        program.process.setProcessEnvironment(env);
        program.process.start(copy, {QStringLiteral("--demo")});
        if (!program.process.waitForStarted(10000))
            return false;
        const QByteArray title = TMainForm::caption().toUtf8();
        if (!QTest::qWaitFor([&] { return (program.window = x.windowOf(program.process.processId(), title)) != 0; },
                             15000))
            return false;
        QTest::qWait(300); // the window manager's last move
        return true;
    }

private slots:
    void programStaysWhereItWasOverRestarts()
    {
        if (!g_skipReason.isEmpty())
            QSKIP(qPrintable(g_skipReason));
        XDisplay x;
        QVERIFY(x.ok());
        QTemporaryDir folder;
        QTemporaryDir runtime;
        QFile::setPermissions(runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        const QString copy = folder.filePath(QStringLiteral("mkconf"));
        QVERIFY(QFile::copy(QStringLiteral(MK_BIN_DIR "/mkconf"), copy));

        QPoint placed;
        for (int start = 0; start <= 3; ++start) {
            Program program;
            QVERIFY2(startProgram(program, x, copy, runtime.path()), qPrintable(QStringLiteral("start %1").arg(start)));
            const QPoint at = x.clientOrigin(program.window);
            QVERIFY2(x.titleBarHeight(program.window) > 0, "the window manager put no frame around the window");
            QVERIFY(at.y() - x.titleBarHeight(program.window) >= 0); // the title bar stays on the screen
            if (start == 0) {
                // Dragged by the user to another place.
                x.move(program.window, QPoint(211, 133));
                QVERIFY(QTest::qWaitFor([&] { return x.clientOrigin(program.window) != at; }, 5000));
                QTest::qWait(200);
                placed = x.clientOrigin(program.window);
            } else {
                QVERIFY2((at - placed).manhattanLength() <= 2,
                         qPrintable(QStringLiteral("start %1: window at (%2, %3), was at (%4, %5)")
                                        .arg(start)
                                        .arg(at.x())
                                        .arg(at.y())
                                        .arg(placed.x())
                                        .arg(placed.y())));
            }
            x.close(program.window);
            QVERIFY(program.process.waitForFinished(10000));
            QCOMPARE(program.process.exitCode(), 0);
        }
        const QString ini = folder.filePath(QStringLiteral("mkconf.ini"));
        QVERIFY(qAbs(stored(ini, "Left") - placed.x()) <= 2);
        QVERIFY(qAbs(stored(ini, "Top") - placed.y()) <= 2);
    }

    // A second start of the program says so and brings the running window up from the taskbar,
    // in front.
    void secondStartBringsTheWindowToTheFront()
    {
        if (!g_skipReason.isEmpty())
            QSKIP(qPrintable(g_skipReason));
        XDisplay x;
        QVERIFY(x.ok());
        QTemporaryDir folder;
        QTemporaryDir runtime;
        QFile::setPermissions(runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        const QString copy = folder.filePath(QStringLiteral("mkconf"));
        QVERIFY(QFile::copy(QStringLiteral(MK_BIN_DIR "/mkconf"), copy));
        Program running;
        QVERIFY(startProgram(running, x, copy, runtime.path()));
        x.minimize(running.window);
        QVERIFY(QTest::qWaitFor([&] { return x.hidden(running.window); }, 5000));

        QProcess second;
        second.setProcessEnvironment(running.process.processEnvironment());
        second.start(copy, {});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(QString::fromUtf8(second.readAllStandardError()).contains(QStringLiteral("уже запущена")));
        QVERIFY2(QTest::qWaitFor([&] { return !x.hidden(running.window) && x.activeWindow() == running.window; }, 5000),
                 "the running window did not come to the front");
        x.close(running.window);
        QVERIFY(running.process.waitForFinished(10000));
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
