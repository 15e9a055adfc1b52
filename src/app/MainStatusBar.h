// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's status bar: where the settings held came from (at the left, elided) and
// whether the trip computer is present (at the right); short notes of the steps in between.

#include <QStatusBar>

class QLabel;

namespace mk {

class DeviceLink;
class DeviceStatusLabel;
class DeviceWatcher;
struct HeldSettings;

class MainStatusBar : public QStatusBar
{
    Q_OBJECT
public:
    // `watcher` (not owned) is what the device's presence follows; the link's own ports, or the
    // system's, when null. `link` may be null.
    MainStatusBar(DeviceWatcher *watcher, const DeviceLink *link, QWidget *parent = nullptr);

    void showHeld(const HeldSettings &held, bool modified);
    // The device named answered an exchange just now.
    void noteDeviceAnswered(const QString &device);

private:
    QLabel *m_heldStatus;
    DeviceStatusLabel *m_deviceStatus;
};

} // namespace mk
