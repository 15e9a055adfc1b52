// SPDX-License-Identifier: GPL-3.0-or-later
// The status bar's device watcher: which nodes count as the trip computer and how it is named,
// and a pseudo-terminal device plugged in and pulled out seen within a second.

#include "link/DeviceWatcher.h"
#include "link/PortMap.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <atomic>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace mk::test {
namespace {

SerialNodeInfo tripComputer(const QString &node, const QString &link = {})
{
    return SerialNodeInfo{
        node, kDeviceUsbVendor, kDeviceUsbProduct, QStringLiteral("Trivolantics МК"), QStringLiteral("Trivolantics"),
        link};
}

TEST(DeviceStatusText, NamesTheFirstTripComputerByPortAndStableName)
{
    clearPortOverrides();
    setPortOverride(9, QStringLiteral("com9")); // as Windows names its ports
    SerialNodeInfo foreign = tripComputer(QStringLiteral("/dev/ttyACM0"));
    foreign.description = QStringLiteral("CDC RS-232");
    foreign.manufacturer = QStringLiteral("Microchip");
    SerialNodeInfo otherProduct = tripComputer(QStringLiteral("/dev/ttyACM0"));
    otherProduct.productId = 0x000B;
    const struct
    {
        QList<SerialNodeInfo> nodes;
        QString text;
    } cases[] = {
        {{}, QStringLiteral("МК не подключён")},
        {{foreign, otherProduct}, QStringLiteral("МК не подключён")},
        {{foreign, tripComputer(QStringLiteral("/dev/ttyACM1"))}, QStringLiteral("МК подключён: COM4 — /dev/ttyACM1")},
        // The one with the rule's stable name is the one automatic search takes.
        {{tripComputer(QStringLiteral("/dev/ttyACM1")),
          tripComputer(QStringLiteral("/dev/ttyACM0"), QStringLiteral("/dev/mk-0"))},
         QStringLiteral("МК подключён: COM3 — /dev/mk-0")},
        // Outside the table no number is handed out just for the status bar.
        {{tripComputer(QStringLiteral("/dev/ttyACM100"))}, QStringLiteral("МК подключён: /dev/ttyACM100")},
        // A node that is the port's own name (Windows) is not said twice.
        {{tripComputer(QStringLiteral("com9"))}, QStringLiteral("МК подключён: COM9")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(deviceStatusText(c.nodes), c.text);
    EXPECT_EQ(portForNode(QStringLiteral("/dev/ttyACM100")), 0);
}

// A pseudo-terminal standing in for the device's node: it exists while the master is open.
class PseudoTerminal
{
public:
    PseudoTerminal()
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master >= 0 && ::grantpt(m_master) == 0 && ::unlockpt(m_master) == 0)
            m_path = QString::fromLocal8Bit(::ptsname(m_master));
    }
    ~PseudoTerminal() { unplug(); }
    void unplug()
    {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }
    QString path() const { return m_path; }

private:
    int m_master = -1;
    QString m_path;
};

TEST(DeviceWatcher, FollowsAPseudoTerminalDevicePluggedInAndPulledOut)
{
    clearPortOverrides();
    QTemporaryDir dev;
    setDeviceLinkFolder(dev.path());
    auto terminal = std::make_unique<PseudoTerminal>();
    const QString node = terminal->path();
    ASSERT_FALSE(node.isEmpty());
    setPortOverride(7, node);
    std::atomic<bool> plugged = false;
    // The system's list as the seam gives it (on the watcher's thread): the node while it exists
    // and the device is "in".
    DeviceWatcher watcher([&] {
        QList<SerialNodeInfo> nodes{SerialNodeInfo{QStringLiteral("/dev/ttyS0"), {}, {}, {}, {}, {}}};
        if (plugged && QFile::exists(node))
            nodes << tripComputer(node, deviceLinkForNode(node));
        return nodes;
    });
    QStringList said;
    QObject::connect(&watcher, &DeviceWatcher::changed, [&](const QString &text) { said << text; });
    watcher.start();
    EXPECT_EQ(watcher.text(), kDeviceAbsentText);
    EXPECT_FALSE(watcher.connected());

    // What the watcher says within ms, if anything (generous: a loaded machine may be slow; how
    // fast it follows is the interval's business, not this test's).
    const auto waitForChange = [&](int ms = 10000) {
        QElapsedTimer clock;
        clock.start();
        while (said.isEmpty() && clock.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        return said.isEmpty() ? QString() : said.takeFirst();
    };

    ASSERT_TRUE(QFile::link(node, dev.filePath(QStringLiteral("mk-0"))));
    plugged = true;
    EXPECT_EQ(waitForChange(), QStringLiteral("МК подключён: COM7 — %1").arg(dev.filePath(QStringLiteral("mk-0"))));
    EXPECT_TRUE(watcher.connected());

    // Nothing changes, nothing is said.
    EXPECT_EQ(waitForChange(700), QString());

    terminal->unplug();
    EXPECT_EQ(waitForChange(), kDeviceAbsentText);
    EXPECT_FALSE(watcher.connected());

    watcher.stop();
    setDeviceLinkFolder({});
    clearPortOverrides();
}

} // namespace
} // namespace mk::test
