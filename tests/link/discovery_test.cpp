// SPDX-License-Identifier: GPL-3.0-or-later
// Automatic search for the device's port.

#include "base/Error.h"
#include "link/LinkTexts.h"
#include "link/PortDiscovery.h"
#include "link/PortMap.h"
#include "link/SerialPort.h"
#include "sim/InMemoryPort.h"
#include "support/LinkFixture.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace mk::test {
namespace {

using Instances = QList<QPair<QString, QString>>;

bool anyPresent(int) { return true; }

TEST(RegistryRule, PortDigitsAfterTheFirstCom)
{
    const auto port = [](const QString &name) {
        return portFromRegistryNames({{QStringLiteral("1&2"), name}}, anyPresent);
    };
    EXPECT_EQ(port(QStringLiteral("Trivolantics МК (COM5)")), 5);
    EXPECT_EQ(port(QStringLiteral("Trivolantics МК (COM12)")), 12);
    EXPECT_EQ(port(QStringLiteral("Trivolantics МК (COM123)")), 12);
    EXPECT_EQ(port(QStringLiteral("Trivolantics МК (COMx)")), 0);
    EXPECT_EQ(port(QStringLiteral("Trivolantics МК (COM")), 0);
    EXPECT_EQ(port(QStringLiteral("USB serial (COM5)")), 0);      // marker missing
    EXPECT_EQ(port(QStringLiteral("trivolantics МК (COM5)")), 0); // marker is case-sensitive
}

TEST(RegistryRule, FirstInstanceWhosePortIsPresentWins)
{
    const Instances instances = {{QStringLiteral("a"), QStringLiteral("Other (COM2)")},
                                 {QStringLiteral("b"), QStringLiteral("Trivolantics (COM9)")},
                                 {QStringLiteral("c"), QStringLiteral("Trivolantics (COM4)")},
                                 {QStringLiteral("d"), QStringLiteral("Trivolantics (COM6)")}};
    QList<int> asked;
    const int n = portFromRegistryNames(instances, [&](int p) {
        asked << p;
        return p != 9;
    });
    EXPECT_EQ(n, 4);
    EXPECT_EQ(asked, (QList<int>{9, 4}));
}

SerialNodeInfo usbNode(const QString &node, quint16 vid, quint16 pid, const QString &product)
{
    return SerialNodeInfo{node, vid, pid, product, QStringLiteral("Microchip"), {}};
}

TEST(SerialNodeRule, VendorProductAndMarkerAllCount)
{
    clearPortOverrides();
    EXPECT_EQ(portFromSerialNodes(
                  {usbNode(QStringLiteral("/dev/ttyACM1"), 0x04D8, 0x000A, QStringLiteral("Trivolantics MK"))}),
              4);
    EXPECT_EQ(portFromSerialNodes(
                  {usbNode(QStringLiteral("/dev/ttyACM1"), 0x04D8, 0x000B, QStringLiteral("Trivolantics MK"))}),
              0);
    EXPECT_EQ(
        portFromSerialNodes({usbNode(QStringLiteral("/dev/ttyACM1"), 0x04D8, 0x000A, QStringLiteral("CDC RS-232"))}),
        0);
    EXPECT_EQ(portFromSerialNodes(
                  {SerialNodeInfo{QStringLiteral("/dev/ttyS0"), {}, {}, QStringLiteral("Trivolantics"), {}, {}}}),
              0);
    EXPECT_EQ(portFromSerialNodes(
                  {usbNode(QStringLiteral("/dev/ttyUSB0"), 0x1234, 0x000A, QStringLiteral("x")),
                   usbNode(QStringLiteral("/dev/ttyACM0"), 0x04D8, 0x000A, QStringLiteral("Trivolantics MK"))}),
              3);
}

// A folder standing in for /dev: plain files as port nodes and the udev rule's mk-* links.
struct DevFolder
{
    DevFolder()
    {
        clearPortOverrides();
        setDeviceLinkFolder(dir.path());
    }
    ~DevFolder()
    {
        setDeviceLinkFolder({});
        clearPortOverrides();
    }
    QString node(const QString &name)
    {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return file.fileName();
    }
    QString link(const QString &name, const QString &target)
    {
        EXPECT_TRUE(QFile::link(target, dir.filePath(name)));
        return dir.filePath(name);
    }
    QTemporaryDir dir;
};

TEST(StableName, TheMkLinkToAPortsNodeIsFoundAndShown)
{
    DevFolder dev;
    const QString acm = dev.node(QStringLiteral("ttyACM7"));
    const QString usb = dev.node(QStringLiteral("ttyUSB2"));
    setPortOverride(7, acm);
    setPortOverride(15, usb);
    dev.link(QStringLiteral("mk-3"), dev.dir.filePath(QStringLiteral("gone"))); // left by an unplugged device
    dev.link(QStringLiteral("serial-x"), acm);                                  // not the rule's name
    dev.link(QStringLiteral("mk-10"), acm);
    const QString mk2 = dev.link(QStringLiteral("mk-2"), acm);

    EXPECT_EQ(deviceLinkForPort(7), mk2); // mk-2 before mk-10
    EXPECT_EQ(portDisplayName(7), QStringLiteral("COM7 — %1 (%2)").arg(mk2, acm));
    EXPECT_EQ(deviceLinkForPort(15), QString());
    EXPECT_EQ(portDisplayName(15), QStringLiteral("COM15 — %1").arg(usb));
    EXPECT_EQ(portNumberFromName(portDisplayName(7)), 7);
    // The link given as a port node (mktool --port /dev/mk-2) names the same number.
    EXPECT_EQ(assignPortForNode(mk2), 7);
}

TEST(StableName, NodesWithTheDevicesLinkAreTriedFirst)
{
    DevFolder dev;
    const QString first = dev.node(QStringLiteral("ttyACM0"));
    const QString second = dev.node(QStringLiteral("ttyACM1"));
    setPortOverride(5, first);
    setPortOverride(6, second);
    const QString mk0 = dev.link(QStringLiteral("mk-0"), second);
    SerialNodeInfo a = usbNode(first, 0x04D8, 0x000A, QStringLiteral("Trivolantics MK"));
    SerialNodeInfo b = usbNode(second, 0x04D8, 0x000A, QStringLiteral("Trivolantics MK"));
    EXPECT_EQ(portFromSerialNodes({a, b}), 5);
    b.link = mk0;
    EXPECT_EQ(portFromSerialNodes({a, b}), 6);
    // The link does not make another device the trip computer.
    b.productId = 0x000B;
    EXPECT_EQ(portFromSerialNodes({a, b}), 5);
}

TEST(StableName, ANodeOutsideTheTableIsNumberedByItsLink)
{
    DevFolder dev;
    const QString odd = dev.node(QStringLiteral("ttyACM42"));
    SerialNodeInfo info = usbNode(odd, 0x04D8, 0x000A, QStringLiteral("Trivolantics MK"));
    info.link = dev.link(QStringLiteral("mk-42"), odd);
    const int n = portFromSerialNodes({info});
    ASSERT_GT(n, 0);
    EXPECT_EQ(nodeForPort(n), info.link);
    EXPECT_EQ(portForNode(odd), n);
}

TEST(FindDevicePort, SelectsTheDevicesPortAndLeavesItClosed)
{
    clearPortOverrides();
    PortRig rig;
    DeviceSearchSource source;
    source.serialNodes = [] {
        return QList<SerialNodeInfo>{
            usbNode(QStringLiteral("/dev/ttyACM1"), 0x04D8, 0x000A, QStringLiteral("Trivolantics MK"))};
    };
    FindDevicePort(*rig.port, true, source);
    EXPECT_EQ(rig.port->PortNumber(), 4);
    EXPECT_FALSE(rig.port->IsOpen());
    EXPECT_EQ(rig.backend->openCount(4), 1);
}

TEST(FindDevicePort, RegistryInstanceWithVanishedPortIsPassedOver)
{
    PortRig rig;
    DeviceSearchSource source;
    source.serialNodes = {};
    source.registryInstances = [] {
        return Instances{{QStringLiteral("old"), QStringLiteral("Trivolantics (COM7)")},
                         {QStringLiteral("new"), QStringLiteral("Trivolantics (COM4)")}};
    };
    FindDevicePort(*rig.port, true, source);
    EXPECT_EQ(rig.port->PortNumber(), 4);
}

TEST(FindDevicePort, NothingFoundIsNotSeenAndManualModeAsksNobody)
{
    PortRig rig;
    int asked = 0;
    DeviceSearchSource source;
    source.serialNodes = [&] {
        ++asked;
        return QList<SerialNodeInfo>{};
    };
    try {
        FindDevicePort(*rig.port, true, source);
        FAIL();
    } catch (const Error &e) {
        EXPECT_EQ(e.text(), kDeviceNotSeenText);
    }
    EXPECT_EQ(asked, 1);
    rig.port->OpenPort(4);
    rig.port->ClosePort();
    FindDevicePort(*rig.port, false, source);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(rig.port->PortNumber(), 4);
}

} // namespace
} // namespace mk::test
