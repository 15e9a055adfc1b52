#include "link/DeviceWatcher.h"

#include "link/LinkTexts.h"
#include "link/PortMap.h"

#include <algorithm>

namespace mk {

bool isTripComputerNode(const SerialNodeInfo &node)
{
    return node.vendorId == kDeviceUsbVendor && node.productId == kDeviceUsbProduct
           && (node.description.contains(kDeviceMarker) || node.manufacturer.contains(kDeviceMarker));
}

QString deviceStatusText(const QList<SerialNodeInfo> &nodes)
{
    QList<SerialNodeInfo> devices;
    for (const SerialNodeInfo &n : nodes)
        if (isTripComputerNode(n))
            devices << n;
    if (devices.isEmpty())
        return kDeviceAbsentText;
    std::stable_partition(devices.begin(), devices.end(), [](const SerialNodeInfo &n) { return !n.link.isEmpty(); });
    const SerialNodeInfo &device = devices.first();
    const QString name = device.link.isEmpty() ? device.node : device.link;
    int port = portForNode(device.node);
    if (port == 0 && !device.link.isEmpty())
        port = portForNode(device.link);
    if (port == 0)
        return QStringLiteral("МК подключён: %1").arg(name);
    return QStringLiteral("МК подключён: COM%1 — %2").arg(port).arg(name);
}

DeviceWatcher::DeviceWatcher(NodeSource source, QObject *parent) : QObject(parent), m_source(std::move(source))
{
    connect(&m_timer, &QTimer::timeout, this, &DeviceWatcher::refresh);
}

void DeviceWatcher::start(int intervalMs)
{
    refresh();
    m_timer.start(intervalMs);
}

void DeviceWatcher::stop()
{
    m_timer.stop();
}

void DeviceWatcher::refresh()
{
    const QString text = deviceStatusText(m_source ? m_source() : QList<SerialNodeInfo>());
    if (text == m_text)
        return;
    m_text = text;
    emit changed(m_text);
}

} // namespace mk
