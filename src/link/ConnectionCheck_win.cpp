// SPDX-License-Identifier: GPL-3.0-or-later
// The connection check on Windows: the COM ports the system lists, the trip computer among them
// by its USB identity, the registry's record of the device (seen by Windows but given no COM
// port: its driver is missing), and whether another program holds the device's port. Each
// problem comes with numbered steps, mostly in Device Manager, as no command fixes them.

#include "link/ConnectionCheck.h"

#include "base/SystemError.h"

#include "link/LinkTexts.h"
#include "link/PortDiscovery.h"
#include "link/PortMap.h"
#include "link/SerialPortIo.h"

#include <QHash>
#include <QSerialPortInfo>
#include <QSettings>

#include <algorithm>

namespace mk {

namespace {

QString hex4(quint16 v) { return QStringLiteral("%1").arg(v, 4, 16, QLatin1Char('0')); }

// " Код ошибки Windows: 5 (Отказано в доступе.)", as the error boxes give it; "" for no code.
QString windowsCodeText(int code)
{
    if (code == 0)
        return {};
    ErrorContext context;
    context.windowsCode = quint32(code);
    context.systemMessage = windowsErrorMessage(quint32(code));
    return QLatin1Char(' ') + Error(ErrorKind::Other, QString(), context).systemCodeLine() + QLatin1Char('.');
}

const QString kOpenDeviceManager =
    QStringLiteral("Откройте Диспетчер устройств (правой кнопкой по кнопке «Пуск» → «Диспетчер устройств»).");

// Windows 10 and 11 have the driver of the device's USB serial class (CDC) themselves; when it
// was not bound, it is chosen by hand from Windows' own list.
QStringList driverSteps()
{
    return {kOpenDeviceManager,
            QStringLiteral("МК с драйвером виден в разделе «Порты (COM и LPT)» как «Последовательное устройство USB "
                           "(COMn)», n — номер его порта."),
            QStringLiteral("Если МК в разделе «Другие устройства» с жёлтым знаком, отключите его и подключите снова, "
                           "в другое гнездо USB."),
            QStringLiteral("Если он и тогда там: правой кнопкой по нему → «Обновить драйвер» → «Найти драйверы на "
                           "этом компьютере» → «Выбрать драйвер из списка доступных драйверов на компьютере» → "
                           "«Порты (COM и LPT)» → «Microsoft» → «Последовательное устройство USB»."),
            QStringLiteral("Повторите проверку.")};
}

} // namespace

Installation installationOf(const SystemFacts &facts)
{
    return installerInstallation(facts.programPath, facts.installLocation);
}

ConnectionReport checkConnection(const SystemFacts &facts)
{
    ConnectionReport report;
    report.system = ConnectionReport::Windows;
    report.installation = installationOf(facts);
    report.demoNode = facts.demoNode;
    const bool demo = !facts.demoNode.isEmpty();

    // The system's code of each port that would not open (a port that is not there has none).
    QHash<QString, int> openCodes;
    const auto opening = [&openCodes](const QString &node) {
        int code = 0;
        const PortOpening result = tryOpeningNode(node, &code);
        constexpr int kFileNotFound = 2, kPathNotFound = 3;
        if (result != PortOpening::Open && code != kFileNotFound && code != kPathNotFound)
            openCodes.insert(node.toUpper(), code);
        return result;
    };
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        report.ports << info.portName();
        if (info.vendorIdentifier() != kDeviceUsbVendor || info.productIdentifier() != kDeviceUsbProduct)
            continue;
        UsbDeviceReport device;
        device.usbPath = info.portName();
        device.product = info.description();
        device.manufacturer = info.manufacturer();
        device.serial = info.serialNumber();
        device.marker = device.product.contains(kDeviceMarker) || device.manufacturer.contains(kDeviceMarker);
        NodeReport node;
        node.node = info.portName();
        node.port = portNumberFromName(info.portName());
        node.access.exists = true;
        node.access.mayOpen = opening(node.node) != PortOpening::InUse;
        device.nodes << node;
        report.devices << device;
    }

    // Instances Windows has seen: one that names no present port has no working driver (or is
    // unplugged; the list keeps devices seen before).
    QSettings usb(QStringLiteral("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\USB\\Vid_04d8&Pid_000a"),
                  QSettings::NativeFormat);
    bool seenWithoutPort = false;
    for (const QString &instance : usb.childGroups()) {
        const QString name = usb.value(instance + QStringLiteral("/FriendlyName")).toString();
        const int port = portFromRegistryNames({qMakePair(instance, name)}, [&report](int n) {
            return report.ports.contains(QStringLiteral("COM%1").arg(n), Qt::CaseInsensitive);
        });
        if (port == 0)
            seenWithoutPort = true;
    }

    const auto add = [&report](const QString &text, const QStringList &steps) {
        report.problems << CheckProblem{text, QString(), steps};
    };
    // A device with the identity but without the marker word is another product on the same chip.
    const bool deviceSeen =
        std::any_of(report.devices.begin(), report.devices.end(), [](const UsbDeviceReport &d) { return d.marker; });
    if (!deviceSeen && !demo) {
        if (seenWithoutPort)
            add(QStringLiteral("МК (USB %1:%2) знаком Windows, но COM-порта у него нет: не установлен драйвер, "
                               "или МК сейчас не подключён.")
                    .arg(hex4(kDeviceUsbVendor), hex4(kDeviceUsbProduct)),
                QStringList{QStringLiteral("Подключите МК и включите его.")} + driverSteps());
        else
            add(QStringLiteral("МК не найден среди устройств USB (%1:%2).")
                    .arg(hex4(kDeviceUsbVendor), hex4(kDeviceUsbProduct)),
                QStringList{QStringLiteral("Подключите МК кабелем USB к гнезду на самом компьютере (без "
                                           "разветвителя) и включите его.")} +
                    driverSteps());
    }
    const auto held = [&add, &openCodes](const QString &node) {
        add(QStringLiteral("%1 занят другой программой: Windows открывает COM-порт только одной программе сразу.%2")
                .arg(node, windowsCodeText(openCodes.value(node.toUpper()))),
            {QStringLiteral("Закройте программу, которая работает с %1: терминал, другую программу настройки "
                            "или диагностики, вторую копию mkconf или mktool.")
                 .arg(node),
             QStringLiteral("Если такой программы не видно, отключите МК от USB и подключите снова."),
             QStringLiteral("Повторите проверку.")});
    };
    // Refused for another reason: only the system's code tells which (a driver that fails).
    const auto refused = [&add, &openCodes](const QString &node) {
        add(QStringLiteral("Windows не даёт открыть %1.%2").arg(node, windowsCodeText(openCodes.value(node.toUpper()))),
            {QStringLiteral("Отключите МК от USB и подключите снова."),
             QStringLiteral("Если не поможет, откройте диспетчер устройств и посмотрите, нет ли у %1 "
                            "жёлтого значка; переустановите драйвер или перезагрузите компьютер.")
                 .arg(node),
             QStringLiteral("Повторите проверку.")});
    };
    bool portSeen = false;
    for (const UsbDeviceReport &d : std::as_const(report.devices))
        for (const NodeReport &n : d.nodes) {
            if (!d.marker)
                continue;
            portSeen = portSeen || n.node.compare(facts.portNode, Qt::CaseInsensitive) == 0;
            if (!n.access.mayOpen)
                held(n.node);
            else if (openCodes.contains(n.node.toUpper()))
                refused(n.node);
        }
    // The port the program uses, when it is another one (kept from an earlier run, chosen by hand).
    if (!facts.portNode.isEmpty() && !demo && !portSeen) {
        const PortOpening result = opening(facts.portNode);
        if (result == PortOpening::InUse)
            held(facts.portNode);
        else if (openCodes.contains(facts.portNode.toUpper()))
            refused(facts.portNode);
    }
    return report;
}

} // namespace mk
