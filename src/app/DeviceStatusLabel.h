// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The status bar's word on the trip computer: "МК подключён: COM3 — /dev/mk-0" or
// "МК не подключён", following the device watcher; "МК (демо) подключён: …" for the demo device.

#include "link/DeviceWatcher.h"

#include <QLabel>

namespace mk {

class DeviceStatusLabel : public QLabel
{
    Q_OBJECT

public:
    // Follows the watcher given (not owned); without one, watches `nodes` itself (the system's
    // ports when empty). `demo`: the device watched is the simulated one.
    explicit DeviceStatusLabel(DeviceWatcher *watcher = nullptr, QWidget *parent = nullptr,
                               DeviceWatcher::NodeSource nodes = {}, bool demo = false);

    DeviceWatcher *watcher() const { return m_watcher; }
    // The device named (as the link names it: "МК на COM7") has just answered. A port the
    // watcher cannot tell for the trip computer's (an adapter of another identity, chosen by
    // hand) would leave "МК не подключён" beside a read that worked: "Ответил МК на COM7" is
    // shown instead, until the watcher has news.
    void noteAnswered(const QString &device);

private:
    void showState(const QString &text);

    DeviceWatcher *m_watcher;
    bool m_demo;
};

} // namespace mk
