#pragma once
// The status bar's word on the trip computer: "МК подключён: COM3 — /dev/mk-0" or
// "МК не подключён", following the device watcher.

#include <QLabel>

namespace mk {

class DeviceWatcher;

class DeviceStatusLabel : public QLabel
{
    Q_OBJECT

public:
    // Follows the watcher given (not owned); without one, watches the system's ports itself.
    explicit DeviceStatusLabel(DeviceWatcher *watcher = nullptr, QWidget *parent = nullptr);

    DeviceWatcher *watcher() const { return m_watcher; }

private:
    void showState(const QString &text);

    DeviceWatcher *m_watcher;
};

} // namespace mk
