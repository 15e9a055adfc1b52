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
