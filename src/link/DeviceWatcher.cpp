// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/DeviceWatcher.h"

#include "link/LinkTexts.h"
#include "link/PortMap.h"

#include <QThread>
#include <QTimer>

#include <algorithm>

namespace mk {

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
    // On Windows the node is the port's own name ("COM3"): said once, not "COM3 — COM3".
    const QString portName = QStringLiteral("COM%1").arg(port);
    if (port == 0 || name.compare(portName, Qt::CaseInsensitive) == 0)
        return QStringLiteral("МК подключён: %1").arg(port == 0 ? name : portName);
    return QStringLiteral("МК подключён: %1 — %2").arg(portName, name);
}

DeviceWatcher::DeviceWatcher(NodeSource source, QObject *parent) : QObject(parent), m_source(std::move(source)) {}

DeviceWatcher::~DeviceWatcher() { stop(); }

void DeviceWatcher::start(int intervalMs)
{
    stop();
    refresh();
    m_thread = new QThread(this);
    auto *timer = new QTimer;
    timer->setInterval(intervalMs);
    timer->moveToThread(m_thread);
    connect(m_thread, &QThread::started, timer, qOverload<>(&QTimer::start));
    connect(m_thread, &QThread::finished, timer, &QObject::deleteLater);
    // The look runs on the thread; its text comes back to this object's thread. stop() waits for
    // the thread, so no look outlives the watcher.
    connect(timer, &QTimer::timeout, timer, [this, source = m_source] {
        const QString text = deviceStatusText(source ? source() : QList<SerialNodeInfo>());
        QMetaObject::invokeMethod(
            this, [this, text] { take(text); }, Qt::QueuedConnection);
    });
    m_thread->start();
}

void DeviceWatcher::stop()
{
    if (!m_thread)
        return;
    m_thread->quit();
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
}

void DeviceWatcher::refresh() { take(deviceStatusText(m_source ? m_source() : QList<SerialNodeInfo>())); }

void DeviceWatcher::take(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    emit changed(m_text);
}

} // namespace mk
