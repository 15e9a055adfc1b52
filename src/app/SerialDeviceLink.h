// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's device link on the serial port: port discovery, the manual port choice
// and the device exchange, with the demo device behind it when there is one.

#include "app/DeviceLink.h"
#include "link/PortDiscovery.h"

#include <QString>
#include <memory>

namespace mk {

class AccessGuard;
class DemoDevice;
class PortBackend;
class TKW_RS;

class SerialDeviceLink : public DeviceLink
{
public:
    SerialDeviceLink(std::shared_ptr<PortBackend> backend, DeviceSearchSource source, AccessGuard &access);
    // The link to the simulated device, which it keeps running while it lives.
    explicit SerialDeviceLink(std::unique_ptr<DemoDevice> demo);
    ~SerialDeviceLink() override;

    void loadSettings(IniFile &ini) override;
    void saveSettings(IniFile &ini) override;
    bool findDevicePort(QWidget *parent, bool automatic) override;
    void selectPortDialog(QWidget *parent) override;
    ExchangeEnd readDevice(TMK &model, Progress &progress) override;
    WriteReport writeDevice(const WritableSettings &settings, Progress &progress, const WritePreview &preview,
                            RecordedData recorded) override;
    QString backupDir() const override { return m_backupDir; }
    QString deviceName() const override;
    bool isDemo() const override { return m_demo != nullptr; }
    std::function<QList<SerialNodeInfo>()> watchedNodes() const override;
    std::function<ConnectionReport()> connectionCheck() const override;

    TKW_RS &link() { return *m_link; }
    // Where the device's memory is kept before each write (the user's data folder by default).
    void setBackupDir(const QString &dir) { m_backupDir = dir; }

private:
    std::unique_ptr<DemoDevice> m_demo; // first in, last out: the link talks to it
    std::unique_ptr<TKW_RS> m_link;
    DeviceSearchSource m_source;
    AccessGuard &m_access;
    QString m_backupDir;
};

} // namespace mk
