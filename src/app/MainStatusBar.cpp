// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainStatusBar.h"

#include "app/DeviceLink.h"
#include "app/DeviceStatusLabel.h"
#include "app/HeldStatus.h"
#include "widgets/ElidedLabel.h"

namespace mk {

MainStatusBar::MainStatusBar(DeviceWatcher *watcher, const DeviceLink *link, QWidget *parent)
    : QStatusBar(parent), m_heldStatus(new ElidedLabel(this))
{
    setObjectName(QStringLiteral("StatusBar"));
    setSizeGripEnabled(false);
    m_heldStatus->setObjectName(QStringLiteral("heldStatus"));
    addWidget(m_heldStatus, 1);
    showHeld({}, false);
    // The first permanent widget, so that the device's word stays left of what joins later.
    m_deviceStatus =
        new DeviceStatusLabel(watcher, this, link ? link->watchedNodes() : nullptr, link && link->isDemo());
    addPermanentWidget(m_deviceStatus);
}

void MainStatusBar::noteDeviceAnswered(const QString &device) { m_deviceStatus->noteAnswered(device); }

void MainStatusBar::showHeld(const HeldSettings &held, bool modified)
{
    m_heldStatus->setText(heldStatusText(held, modified));
}

} // namespace mk
