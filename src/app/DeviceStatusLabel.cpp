// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DeviceStatusLabel.h"

#include "link/DeviceWatcher.h"

namespace mk {

DeviceStatusLabel::DeviceStatusLabel(DeviceWatcher *watcher, QWidget *parent, DeviceWatcher::NodeSource nodes,
                                     bool demo)
    : QLabel(parent), m_watcher(watcher), m_demo(demo)
{
    setObjectName(QStringLiteral("deviceStatus"));
    if (!m_watcher) {
        m_watcher = new DeviceWatcher(nodes ? std::move(nodes) : DeviceWatcher::NodeSource(systemSerialNodes), this);
        m_watcher->start();
    }
    connect(m_watcher, &DeviceWatcher::changed, this, &DeviceStatusLabel::showState);
    showState(m_watcher->text());
}

void DeviceStatusLabel::noteAnswered(const QString &device)
{
    if (m_watcher->connected())
        return;
    setText(QStringLiteral("Ответил %1").arg(device));
    setProperty("connected", true);
}

void DeviceStatusLabel::showState(const QString &text)
{
    const bool connected = text != kDeviceAbsentText;
    const QString device = QStringLiteral("МК ");
    setText(m_demo && connected && text.startsWith(device) ? QStringLiteral("МК (демо) ") + text.mid(device.size())
                                                           : text);
    // Looks are kept to the theme; only the word changes, and the property lets a style tell them apart.
    setProperty("connected", connected);
}

} // namespace mk
