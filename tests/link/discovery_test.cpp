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


#include <QSet>
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
    EXPECT_EQ(port(QStringLiteral("Trivolantics МК (COM123)")), 123);
    EXPECT_EQ(port(QStringLiteral("Trivolantics МК (COMx)")), 0);
    EXPECT_EQ(port(QStringLiteral("Trivolantics МК (COM")), 0);
    EXPECT_EQ(port(QStringLiteral("USB serial (COM5)")), 0);      // marker missing
    EXPECT_EQ(port(QStringLiteral("trivolantics МК (COM5)")), 0); // marker is case-sensitive
}

// Every number from COM1 to COM256 is a port, by each way a port number is met: the system's
// name of the port and its label, the number typed (mktool --port), a label given back, the
// registry's display name; 0 and 257 are none.
TEST(PortNumbers, EveryComNumberUpTo256)
{
    clearPortOverrides();
    for (const int n : {0, 1, 9, 10, 32, 33, 40, 122, 123, 212, 213, 256, 257}) {
        SCOPED_TRACE(n);
        const bool valid = n >= 1 && n <= kMaxPortNumber;
        const QString com = QStringLiteral("COM%1").arg(n);
        EXPECT_EQ(typedPortNumber(QString::number(n)), n);
        EXPECT_EQ(typedPortNumber(com), n);
        EXPECT_EQ(typedPortNumber(com.toLower()), n);
        EXPECT_EQ(typedPortNumber(QStringLiteral("\\\\.\\") + com), n); // the Windows device path
        EXPECT_EQ(portFromRegistryNames({{QStringLiteral("1&2"), QStringLiteral("Trivolantics МК (%1)").arg(com)}},
                                        anyPresent),
                  valid ? n : 0);
        const QString node = systemPortNode(n);
        EXPECT_EQ(node.isEmpty(), !valid) << node.toStdString();
        EXPECT_EQ(nodeForPort(n), node);
        if (!valid)
            continue;
        // A node given for a port (mktool --port NODE) is that number, named so.
        EXPECT_EQ(portForNode(node), n);
        EXPECT_EQ(assignPortForNode(node), n);
        EXPECT_EQ(portNumberFromName(portLabel(n)), n) << portLabel(n).toStdString();
        EXPECT_EQ(portNumberFromName(portDisplayName(n)), n);
        EXPECT_TRUE(portLabel(n) == com || portLabel(n) == QStringLiteral("%1 (%2)").arg(com, node))
            << portLabel(n).toStdString();
    }
    // Every number has a node of its own.
    QSet<QString> nodes;
    for (int n = 1; n <= kMaxPortNumber; ++n)
        nodes.insert(systemPortNode(n));
    EXPECT_EQ(nodes.size(), kMaxPortNumber);
    for (const QString &notANumber :
         {QStringLiteral("/dev/ttyACM0"), QStringLiteral("COM"), QStringLiteral("COMx"), QStringLiteral("COM4a"),
          QStringLiteral("\\\\.\\4"), QStringLiteral("\\COM4"), QString()})
        EXPECT_EQ(typedPortNumber(notANumber), std::nullopt) << notANumber.toStdString();
    EXPECT_EQ(portFromRegistryNames({{QStringLiteral("1&2"), QStringLiteral("Trivolantics МК (COM99999999999)")}},
                                    anyPresent),
              0);
    clearPortOverrides();
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
                  {usbNode(systemPortNode(4), 0x04D8, 0x000A, QStringLiteral("Trivolantics MK"))}),
              4);
    EXPECT_EQ(portFromSerialNodes(
                  {usbNode(systemPortNode(4), 0x04D8, 0x000B, QStringLiteral("Trivolantics MK"))}),
              0);
    EXPECT_EQ(
        portFromSerialNodes({usbNode(systemPortNode(4), 0x04D8, 0x000A, QStringLiteral("CDC RS-232"))}),
        0);
    EXPECT_EQ(portFromSerialNodes(
                  {SerialNodeInfo{systemPortNode(1), {}, {}, QStringLiteral("Trivolantics"), {}, {}}}),
              0);
    EXPECT_EQ(portFromSerialNodes(
                  {usbNode(systemPortNode(13), 0x1234, 0x000A, QStringLiteral("x")),
                   usbNode(systemPortNode(3), 0x04D8, 0x000A, QStringLiteral("Trivolantics MK"))}),
              3);
}

TEST(FindDevicePort, SelectsTheDevicesPortAndLeavesItClosed)
{
    clearPortOverrides();
    PortRig rig;
    DeviceSearchSource source;
    source.serialNodes = [] {
        return QList<SerialNodeInfo>{
            usbNode(systemPortNode(4), 0x04D8, 0x000A, QStringLiteral("Trivolantics MK"))};
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
