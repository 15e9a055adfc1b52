// SPDX-License-Identifier: GPL-3.0-or-later
// Port selection, opening and the ini key, on simulated ports.

#include "base/Error.h"
#include "link/LinkTexts.h"
#include "link/PortMap.h"
#include "link/SerialPort.h"
#include "link/SerialPortIo.h"
#include "sim/InMemoryPort.h"
#include "sim/PtySimulator.h"
#include "sim/SimulatedDevice.h"
#include "support/QtPrinters.h"

#include <QSerialPort>
#include <gtest/gtest.h>

namespace mk::test {
namespace {

InMemoryPort::Responder silent()
{
    return [](const QByteArray &) { return std::nullopt; };
}

struct TwoPorts
{
    TwoPorts()
    {
        com2 = backend->addPort(2, silent());
        com5 = backend->addPort(5, silent());
    }
    std::shared_ptr<SimulatedPortBackend> backend = std::make_shared<SimulatedPortBackend>();
    std::shared_ptr<InMemoryPort> com2, com5;
};

TEST(SerialPort, ScanFindsPresentPortsAndTheFirstIsSelected)
{
    TwoPorts p;
    SerialPort port(p.backend);
    EXPECT_EQ(port.ScanPorts(), 2);
    EXPECT_EQ(port.PortCount(), 2);
    EXPECT_EQ(port.FirstPort(), 2);
    EXPECT_TRUE(port.PortPresent(5));
    EXPECT_FALSE(port.PortPresent(3));
    EXPECT_FALSE(port.PortPresent(33));
    EXPECT_FALSE(port.IsOpen());
    port.Reopen(true); // nothing selected yet: the first present port
    EXPECT_EQ(port.PortNumber(), 2);
}

// Probing opens a port briefly: nothing is touched until an exchange wants a port, and a port
// plugged in after a scan is found when it is asked for.
TEST(SerialPort, PortsAreProbedOnlyWhenOneIsWanted)
{
    TwoPorts p;
    SerialPort port(p.backend);
    port.SelectPort(5);
    EXPECT_EQ(port.PortNumber(), 5);
    EXPECT_EQ(p.backend->probeCount(), 0);
    EXPECT_EQ(p.backend->openCount(5), 0);
    port.Reopen(true);
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(port.PortNumber(), 5);
    const int probes = p.backend->probeCount();
    EXPECT_GT(probes, 0);
    port.Reopen(false);
    port.Reopen(true); // a port the last scan found is opened without a new scan
    EXPECT_EQ(p.backend->probeCount(), probes);

    p.backend->addPort(7, silent());
    port.OpenPort(7);
    EXPECT_EQ(port.PortNumber(), 7);
    EXPECT_TRUE(port.IsOpen());
}

TEST(SerialPort, OpenAppliesLineSettingsRaisesDtrAndPurges)
{
    TwoPorts p;
    SerialPort port(p.backend);
    port.OpenPort(5);
    ASSERT_TRUE(port.IsOpen());
    EXPECT_EQ(port.PortNumber(), 5);
    EXPECT_EQ(p.com5->baudRate(), 115200u);
    EXPECT_EQ(p.com5->byteSize(), 8);
    EXPECT_EQ(p.com5->parity(), 0);
    EXPECT_EQ(p.com5->stopBits(), kTwoStopBits);
    EXPECT_TRUE(p.com5->dtr());
    EXPECT_EQ(p.com5->events(), (QStringList{QStringLiteral("dtr on"), QStringLiteral("purge rx")}));
}

TEST(SerialPort, AbsentPortFallsBackToTheFirstAndNonPositiveChangesNothing)
{
    TwoPorts p;
    SerialPort port(p.backend);
    port.OpenPort(7);
    EXPECT_EQ(port.PortNumber(), 2);
    EXPECT_TRUE(port.IsOpen());
    port.OpenPort(0);
    port.OpenPort(-3);
    EXPECT_EQ(port.PortNumber(), 2);
    EXPECT_TRUE(port.IsOpen());
    port.Reopen(false);
    EXPECT_FALSE(port.IsOpen());
    port.Reopen(true);
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(p.backend->openCount(2), 2);
}

TEST(SerialPort, NoPortAtAllIsAnErrorForTheCaller)
{
    auto backend = std::make_shared<SimulatedPortBackend>();
    SerialPort port(backend);
    EXPECT_EQ(port.PortCount(), 0);
    EXPECT_EQ(port.PortNumber(), 0);
    EXPECT_EQ(port.BaudRate(), 115200u);
    try {
        port.OpenPort(3);
        FAIL();
    } catch (const Error &e) {
        EXPECT_EQ(e.text(), kNoFreePortText);
    }
}

TEST(SerialPort, PortInUseSaysSoWithoutTheDialoutHint)
{
    auto backend = std::make_shared<SimulatedPortBackend>();
    backend->addBusyPort(4);
    SerialPort port(backend);
    try {
        port.OpenPort(4);
        FAIL();
    } catch (const Error &e) {
        EXPECT_EQ(e.text(), portInUseText(port.label(4)));
    }
    EXPECT_FALSE(port.IsOpen());

    // A real node another program holds open (with its lock, as terminal programs take it).
    SimulatedDevice device({0xFC, 1, 8192});
    PtySimulator sim(device);
    sim.start();
    QSerialPort other(sim.slavePath());
    ASSERT_TRUE(other.open(QIODevice::ReadWrite));
    try {
        SerialPortIo::open(sim.slavePath(), QStringLiteral("COM7"));
        FAIL();
    } catch (const Error &e) {
        EXPECT_EQ(e.text(), portInUseText(QStringLiteral("COM7")));
        EXPECT_FALSE(e.text().contains(QStringLiteral("dialout")));
    }
    other.close();
    EXPECT_NE(SerialPortIo::open(sim.slavePath(), QStringLiteral("COM7")), nullptr);
}

TEST(SerialPort, ForbiddenPortTellsAboutTheDialoutGroup)
{
    auto backend = std::make_shared<SimulatedPortBackend>();
    backend->addForbiddenPort(3);
    SerialPort port(backend);
    try {
        port.OpenPort(3);
        FAIL();
    } catch (const Error &e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("dialout"))) << e.what();
        EXPECT_TRUE(e.text().contains(QStringLiteral("COM3"))) << e.what();
    }
}

TEST(SerialPort, BaudRateHoldsWhatTheDriverAccepted)
{
    TwoPorts p;
    SerialPort port(p.backend);
    port.OpenPort(2);
    p.com2->setMaxBaudRate(57600);
    port.SetBaudRate(230400);
    EXPECT_EQ(port.BaudRate(), 57600u);
}

TEST(PortMap, NumbersMapToFixedNodesAndBack)
{
    clearPortOverrides();
    EXPECT_EQ(nodeForPort(1), QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(nodeForPort(3), QStringLiteral("/dev/ttyACM0"));
    EXPECT_EQ(nodeForPort(12), QStringLiteral("/dev/ttyACM9"));
    EXPECT_EQ(nodeForPort(13), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(nodeForPort(23), QStringLiteral("/dev/ttyS2"));
    EXPECT_EQ(nodeForPort(32), QStringLiteral("/dev/ttyS11"));
    EXPECT_EQ(nodeForPort(33), QStringLiteral("/dev/ttyACM10"));
    EXPECT_EQ(nodeForPort(122), QStringLiteral("/dev/ttyACM99"));
    EXPECT_EQ(nodeForPort(123), QStringLiteral("/dev/ttyUSB10"));
    EXPECT_EQ(nodeForPort(212), QStringLiteral("/dev/ttyUSB99"));
    EXPECT_EQ(nodeForPort(213), QStringLiteral("/dev/ttyS12"));
    EXPECT_EQ(nodeForPort(256), QStringLiteral("/dev/ttyS55"));
    EXPECT_EQ(nodeForPort(0), QString());
    EXPECT_EQ(nodeForPort(257), QString());
    for (int n = 1; n <= kMaxPortNumber; ++n)
        EXPECT_EQ(portForNode(nodeForPort(n)), n);
    EXPECT_EQ(portDisplayName(3), QStringLiteral("COM3 — /dev/ttyACM0"));
    EXPECT_EQ(portNumberFromName(QStringLiteral("COM12 — /dev/ttyACM9")), 12);
    EXPECT_EQ(portNumberFromName(QStringLiteral("ttyS0")), 0);
}

TEST(PortMap, OverridePointsANumberAtAnotherNode)
{
    clearPortOverrides();
    setPortOverride(7, QStringLiteral("/dev/pts/9"));
    EXPECT_EQ(nodeForPort(7), QStringLiteral("/dev/pts/9"));
    EXPECT_EQ(portForNode(QStringLiteral("/dev/pts/9")), 7);
    setPortOverride(7, {});
    EXPECT_EQ(nodeForPort(7), QStringLiteral("/dev/ttyACM4"));
    // A node outside the table gets a number nobody uses, from the top.
    const int n = assignPortForNode(QStringLiteral("/dev/pts/77"));
    EXPECT_GT(n, 22);
    EXPECT_EQ(nodeForPort(n), QStringLiteral("/dev/pts/77"));
    EXPECT_EQ(assignPortForNode(QStringLiteral("/dev/pts/77")), n);
    clearPortOverrides();
}

} // namespace
} // namespace mk::test
