// SPDX-License-Identifier: GPL-3.0-or-later
// The stable names the package's udev rule gives the trip computer ("/dev/mk-0"), on Linux.

#include "link/PortDiscovery.h"
#include "link/PortMap.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace mk::test {
namespace {

SerialNodeInfo usbNode(const QString &node, quint16 vid, quint16 pid, const QString &product)
{
    return SerialNodeInfo{node, vid, pid, product, QStringLiteral("Microchip"), {}};
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

} // namespace
} // namespace mk::test
