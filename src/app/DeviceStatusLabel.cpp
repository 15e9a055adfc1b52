#include "app/DeviceStatusLabel.h"

#include "link/DeviceWatcher.h"

namespace mk {

DeviceStatusLabel::DeviceStatusLabel(DeviceWatcher *watcher, QWidget *parent) : QLabel(parent), m_watcher(watcher)
{
    setObjectName(QStringLiteral("deviceStatus"));
    if (!m_watcher) {
        m_watcher = new DeviceWatcher(systemSerialNodes, this);
        m_watcher->start();
    }
    connect(m_watcher, &DeviceWatcher::changed, this, &DeviceStatusLabel::showState);
    showState(m_watcher->text());
}

void DeviceStatusLabel::showState(const QString &text)
{
    setText(text);
    // Looks are kept to the theme; only the word changes, and the property lets a style tell them apart.
    setProperty("connected", text != kDeviceAbsentText);
}

} // namespace mk
