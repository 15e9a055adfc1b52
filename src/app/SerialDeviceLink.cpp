// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SerialDeviceLink.h"

#include "app/ConnectionCheckDialog.h"

#include "app/AccessCheck.h"
#include "app/DemoDevice.h"
#include "app/DialogPrompts.h"
#include "app/LinkSettings.h"
#include "app/PortChoice.h"
#include "base/Error.h"
#include "image/TMK.h"
#include "link/Backup.h"
#include "link/DeviceExchange.h"
#include "link/PortMap.h"
#include "link/TKW_RS.h"
#include "session/DeviceSession.h"
#include "widgets/IniFile.h"
#include "widgets/MessageBoxes.h"

namespace mk {

QString DeviceLink::backupDir() const { return defaultBackupDir(); }

SerialDeviceLink::SerialDeviceLink(std::shared_ptr<PortBackend> backend, DeviceSearchSource source, AccessGuard &access)
    : m_link(std::make_unique<TKW_RS>(std::move(backend))),
      m_source(std::move(source)),
      m_access(access),
      m_backupDir(defaultBackupDir())
{
    m_link->protocol().SetPortType(kPortRs232);
}

SerialDeviceLink::SerialDeviceLink(std::unique_ptr<DemoDevice> demo)
    : SerialDeviceLink(demo->backend(), demo->searchSource(), programAccess())
{
    m_demo = std::move(demo);
}

SerialDeviceLink::~SerialDeviceLink() = default;

void SerialDeviceLink::loadSettings(IniFile &ini)
{
    // The port stays closed until an exchange opens it. The demo talks to its own line whatever
    // the file says.
    SerialPort &port = m_link->port();
    if (m_demo)
        port.SelectPort(m_demo->portNumber());
    else
        LoadSettings(port, ini.settings());
    port.SetBaudRate(kLinkBaudRate);
}

void SerialDeviceLink::saveSettings(IniFile &ini)
{
    // The demo's port is the simulator's; the user's own port choice stays in the file.
    if (!m_demo)
        SaveSettings(m_link->port(), ini.settings());
}

bool SerialDeviceLink::findDevicePort(QWidget *parent, bool automatic)
{
    if (m_demo) {
        m_link->port().SelectPort(m_demo->portNumber());
        return true;
    }
    try {
        FindDevicePort(m_link->port(), automatic, m_source);
        return true;
    } catch (const Error &error) {
        showErrorOfferingCheck(parent, error, connectionCheck());
        return false;
    }
}

void SerialDeviceLink::selectPortDialog(QWidget *parent)
{
    DialogPasswordPrompt prompt(parent);
    DialogPortChooser chooser(parent);
    try {
        SelectPortDialog(m_link->port(), m_access, prompt, chooser, m_source.serialNodes);
    } catch (const Error &error) {
        showError(parent, error);
    }
    m_link->port().Reopen(false);
}

ExchangeEnd SerialDeviceLink::readDevice(TMK &model, Progress &progress)
{
    // The model changes only when the whole memory has arrived.
    return readSettings(*m_link, model, progress) ? ExchangeEnd::Done : ExchangeEnd::Cancelled;
}

WriteReport SerialDeviceLink::writeDevice(const WritableSettings &settings, Progress &progress,
                                          const WritePreview &preview, RecordedData recorded)
{
    WriteOptions options;
    options.backupDir = m_backupDir;
    options.recorded = recorded;
    std::set<RecordedUnitId> take;
    if (preview) {
        options.confirm = [&](const TMK &device, const TMK &toWrite) { return preview(device, toWrite, take); };
        options.chosenTake = [&take] { return take; };
    }
    // Once written, the settings held are what the device holds: its fresh memory with the
    // user's records.
    const std::optional<WriteOutcome> outcome = writeSettings(*m_link, settings, progress, options);
    if (!outcome)
        return {ExchangeEnd::Cancelled, {}};
    // A write that ends without an error was read back and compared.
    return {ExchangeEnd::Done, outcome->backupPath, true, outcome->recordedMeanwhile};
}

QString SerialDeviceLink::deviceName() const
{
    if (m_demo)
        return QStringLiteral("МК (демо)");
    const int port = m_link->port().PortNumber();
    return port > 0 ? QStringLiteral("МК на %1").arg(portDisplayName(port)) : QStringLiteral("МК");
}

std::function<ConnectionReport()> SerialDeviceLink::connectionCheck() const
{
    const QString demoNode = m_demo ? m_demo->node() : QString();
    const int n = m_link->port().PortNumber();
    const QString portNode = !m_demo && n > 0 ? nodeForPort(n) : QString();
    return [demoNode, portNode] {
        SystemFacts facts = systemFacts();
        facts.demoNode = demoNode;
        facts.portNode = portNode;
        return checkConnection(facts);
    };
}

std::function<QList<SerialNodeInfo>()> SerialDeviceLink::watchedNodes() const
{
    // The demo device is the only one the demo talks to; the status bar follows it alone.
    if (m_demo)
        return m_source.serialNodes;
    return {};
}

} // namespace mk
