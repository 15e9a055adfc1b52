// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Finding the trip computer's port before each exchange, and the manual choice of a port.
//
// Automatic search: the device is a USB modem with vendor 0x04D8, product 0x000A and the
// marker word "Trivolantics" in its USB strings. On Linux the serial nodes the system lists
// are matched by those; on Windows the registry's record of the device's instances is read,
// and each instance's display name gives the COM number.

#include <QList>
#include <QPair>
#include <QString>
#include <functional>
#include <optional>

namespace mk {

class SerialPort;

constexpr quint16 kDeviceUsbVendor = 0x04D8;
constexpr quint16 kDeviceUsbProduct = 0x000A;

// One serial node the system lists, with what its USB device says of itself.
struct SerialNodeInfo
{
    QString node; // "/dev/ttyACM0"
    std::optional<quint16> vendorId;
    std::optional<quint16> productId;
    QString description; // the USB product string or the system's description
    QString manufacturer;
    QString link; // the stable name the udev rule gives the device ("/dev/mk-0"), if any
};

// A node whose USB device is the trip computer: its identity, and the marker word in its product
// or manufacturer string (the identity alone is a chip maker's generic one that other products
// share). The package's udev rule matches the same.
bool isTripComputerNode(const SerialNodeInfo &node);

// The serial nodes of this system (QSerialPortInfo): device nodes on Linux, "COMn" on Windows.
QList<SerialNodeInfo> systemSerialNodes();
// How this system names a port it lists (its name "ttyACM0"/"COM5", its location
// "/dev/ttyACM0"/"\\.\COM5"): sets node, and link where the system gives a stable name.
void nameListedNode(SerialNodeInfo &n, const QString &portName, const QString &systemLocation);

// The number of the first node that is the trip computer and has a port number, or 0. Nodes
// with the device's stable name come first; a node outside the fixed table is numbered by its
// stable name, so that lists show that name.
int portFromSerialNodes(const QList<SerialNodeInfo> &nodes);

// The registry rule over (instance name, display name) pairs in the registry's order: the
// display name must hold the marker; the digits after its first "COM" give the port (1..256);
// the first instance whose port is present wins. 0 when none does.
int portFromRegistryNames(const QList<QPair<QString, QString>> &instances, const std::function<bool(int)> &present);

// Where automatic search looks. The system source is used unless a test gives another.
struct DeviceSearchSource
{
    std::function<QList<SerialNodeInfo>()> serialNodes = systemSerialNodes;
    // Windows registry instances (empty elsewhere).
    std::function<QList<QPair<QString, QString>>()> registryInstances;
};
DeviceSearchSource systemDeviceSearchSource();

// Before each exchange: with automatic search off, the port already chosen stays. With it on,
// the ports are scanned afresh and the device's port is selected (PortNumber) at 115200 baud
// and left closed for the exchange to open. Throws Error "Не вижу МК." when it is not found.
void FindDevicePort(SerialPort &port, bool autoSearch, const DeviceSearchSource &source = systemDeviceSearchSource());

} // namespace mk
