// SPDX-License-Identifier: GPL-3.0-or-later
// The connection check's report as text for the dialog and mktool doctor, and as JSON.

#include "link/ConnectionCheck.h"

#include "link/LinkTexts.h"
#include "link/PortDiscovery.h"

#include <QJsonArray>

namespace mk {

namespace {

QString hex4(quint16 v) { return QStringLiteral("%1").arg(v, 4, 16, QLatin1Char('0')); }

QString installationText(const Installation &i, ConnectionReport::System system)
{
    switch (i.kind) {
    case Installation::Package: return QStringLiteral("пакет mkconf (%1)").arg(i.programPath);
    case Installation::Source: return QStringLiteral("собрана из исходников (%1)").arg(i.programPath);
    case Installation::Installed: return QStringLiteral("установлена в %1 (%2)").arg(i.prefix, i.programPath);
    case Installation::Installer:
        return QStringLiteral("установлена установщиком в %1 (%2)").arg(i.prefix, i.programPath);
    case Installation::Unknown: break;
    }
    if (i.programPath.isEmpty())
        return QStringLiteral("неизвестно, как установлена");
    return system == ConnectionReport::Windows
               ? QStringLiteral("%1, не установщиком (распакована из архива или собрана)").arg(i.programPath)
               : QStringLiteral("%1, не из пакета").arg(i.programPath);
}

QString installationKey(Installation::Kind k)
{
    switch (k) {
    case Installation::Package: return QStringLiteral("package");
    case Installation::Source: return QStringLiteral("source");
    case Installation::Installed: return QStringLiteral("installed");
    case Installation::Installer: return QStringLiteral("installer");
    case Installation::Unknown: break;
    }
    return QStringLiteral("unknown");
}

} // namespace

QString ConnectionReport::text() const
{
    QStringList lines;
    lines << QStringLiteral("Устройства USB %1:%2:").arg(hex4(kDeviceUsbVendor), hex4(kDeviceUsbProduct));
    if (devices.isEmpty())
        lines << QStringLiteral("  нет");
    for (const UsbDeviceReport &d : devices) {
        QString title = QStringLiteral("  %1: %2")
                            .arg(d.usbPath, d.product.isEmpty() ? QStringLiteral("(без названия)") : d.product);
        if (!d.manufacturer.isEmpty())
            title += QStringLiteral(", %1").arg(d.manufacturer);
        if (!d.serial.isEmpty())
            title += QStringLiteral(", серийный номер %1").arg(d.serial);
        if (!d.marker)
            title += QStringLiteral(" (не МК: нет слова %1)").arg(kDeviceMarker);
        lines << title;
        if (d.nodes.isEmpty())
            lines << QStringLiteral("    последовательного узла нет");
        for (const NodeReport &n : d.nodes) {
            QString node = QStringLiteral("    %1").arg(n.node);
            if (!n.link.isEmpty())
                node += QStringLiteral(" — %1").arg(n.link);
            if (n.port > 0)
                node += QStringLiteral(" (COM%1)").arg(n.port);
            lines << node;
            if (n.access.exists)
                lines << QStringLiteral("      права: группа %1, %2; открыть %3; uaccess: %4")
                             .arg(n.access.group)
                             .arg(n.access.mode, 4, 8, QLatin1Char('0'))
                             .arg(n.access.mayOpen ? QStringLiteral("можно") : QStringLiteral("нельзя"),
                                  n.access.userAcl ? QStringLiteral("есть") : QStringLiteral("нет"));
            QStringList holders;
            for (const NodeHolder &h : n.holders)
                holders << QStringLiteral("%1 (%2)").arg(h.name).arg(h.pid);
            lines << QStringLiteral("      занят: %1")
                         .arg(holders.isEmpty() ? QStringLiteral("нет") : holders.join(QStringLiteral(", ")));
            if (n.modemManagerIgnores)
                lines << QStringLiteral("      ModemManager: %1")
                             .arg(*n.modemManagerIgnores ? QStringLiteral("пропускает")
                                                         : QStringLiteral("не пропускает"));
        }
    }
    if (system == Windows)
        lines << QStringLiteral("COM-порты Windows: %1")
                     .arg(ports.isEmpty() ? QStringLiteral("нет") : ports.join(QStringLiteral(", ")));
    if (system == Linux) {
        lines << QStringLiteral("Правило udev: %1")
                     .arg(ruleFile.isEmpty() ? QStringLiteral("не установлено") : ruleFile);
        lines << QStringLiteral("ModemManager: %1")
                     .arg(modemManagerRunning ? QStringLiteral("запущен") : QStringLiteral("не запущен"));
        lines << QStringLiteral("brltty: %1")
                     .arg(brlttyInstalled ? QStringLiteral("установлен") : QStringLiteral("не установлен"));
        lines << (locks.isEmpty() ? QStringLiteral("Файлы блокировки: нет") : QStringLiteral("Файлы блокировки:"));
    }
    for (const LockFile &l : locks) {
        const QString who = l.pid == 0 ? QStringLiteral("не называет процесс")
                                       : QStringLiteral("%1 (процесс %2)")
                                             .arg(l.program.isEmpty() ? QStringLiteral("?") : l.program)
                                             .arg(l.pid);
        const QString state = l.pid == 0    ? QString()
                              : l.elsewhere ? QStringLiteral(", с компьютера %1").arg(l.host)
                              : l.alive     ? QStringLiteral(", действует")
                                            : QStringLiteral(", процесса уже нет");
        lines << QStringLiteral("  %1: %2%3").arg(l.path, who, state);
    }
    lines << QStringLiteral("Программа: %1").arg(installationText(installation, system));
    if (!demoNode.isEmpty())
        lines << QStringLiteral("Демонстрационный МК (имитатор): %1; настоящий МК для демонстрации не нужен.")
                     .arg(demoNode);
    lines << QString();
    if (problems.isEmpty()) {
        lines << QStringLiteral("Проблем не найдено.");
    } else {
        lines << QStringLiteral("Проблемы (%1):").arg(problems.size());
        for (int i = 0; i < problems.size(); ++i) {
            const CheckProblem &p = problems[i];
            lines << QStringLiteral("%1. %2").arg(i + 1).arg(p.text);
            if (p.steps.isEmpty()) {
                lines << QStringLiteral("   Исправить: %1").arg(p.fix);
                continue;
            }
            lines << QStringLiteral("   Как исправить:");
            for (int step = 0; step < p.steps.size(); ++step)
                lines << QStringLiteral("   %1) %2").arg(step + 1).arg(p.steps[step]);
        }
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString ConnectionReport::summary() const
{
    if (problems.isEmpty())
        return QStringLiteral("Проблем не найдено.");
    return QStringLiteral("Найдено проблем: %1. %2")
        .arg(problems.size())
        .arg(system == Windows ? QStringLiteral("Под каждой — шаги по порядку, которые её устраняют.")
                               : QStringLiteral("Под каждой — команда, которая её устраняет."));
}

QJsonObject ConnectionReport::json() const
{
    QJsonArray deviceList;
    for (const UsbDeviceReport &d : devices) {
        QJsonArray nodes;
        for (const NodeReport &n : d.nodes) {
            QJsonArray holders;
            for (const NodeHolder &h : n.holders)
                holders.append(QJsonObject{{QStringLiteral("pid"), h.pid}, {QStringLiteral("name"), h.name}});
            QJsonObject o{{QStringLiteral("node"), n.node},
                          {QStringLiteral("link"), n.link},
                          {QStringLiteral("port"), n.port},
                          {QStringLiteral("exists"), n.access.exists},
                          {QStringLiteral("group"), n.access.group},
                          {QStringLiteral("mode"), QStringLiteral("%1").arg(n.access.mode, 4, 8, QLatin1Char('0'))},
                          {QStringLiteral("may_open"), n.access.mayOpen},
                          {QStringLiteral("uaccess"), n.access.userAcl},
                          {QStringLiteral("holders"), holders}};
            o[QStringLiteral("modem_manager_ignores")] =
                n.modemManagerIgnores ? QJsonValue(*n.modemManagerIgnores) : QJsonValue();
            nodes.append(o);
        }
        deviceList.append(QJsonObject{{QStringLiteral("usb_path"), d.usbPath},
                                      {QStringLiteral("product"), d.product},
                                      {QStringLiteral("manufacturer"), d.manufacturer},
                                      {QStringLiteral("serial"), d.serial},
                                      {QStringLiteral("trip_computer"), d.marker},
                                      {QStringLiteral("nodes"), nodes}});
    }
    QJsonArray stale;
    for (const StaleLock &l : staleLocks)
        stale.append(QJsonObject{{QStringLiteral("path"), l.path}, {QStringLiteral("pid"), l.pid}});
    QJsonArray lockList;
    for (const LockFile &l : locks)
        lockList.append(QJsonObject{{QStringLiteral("path"), l.path},
                                    {QStringLiteral("node"), l.node},
                                    {QStringLiteral("pid"), l.pid},
                                    {QStringLiteral("program"), l.program},
                                    {QStringLiteral("host"), l.host},
                                    {QStringLiteral("alive"), l.alive},
                                    {QStringLiteral("elsewhere"), l.elsewhere}});
    QJsonArray problemList;
    for (const CheckProblem &p : problems)
        problemList.append(QJsonObject{{QStringLiteral("text"), p.text},
                                       {QStringLiteral("fix"), p.steps.isEmpty() ? p.fix : p.steps.join(u' ')},
                                       {QStringLiteral("steps"), QJsonArray::fromStringList(p.steps)}});
    return QJsonObject{{QStringLiteral("usb_devices"), deviceList},
                       {QStringLiteral("udev_rule"), ruleFile.isEmpty() ? QJsonValue() : QJsonValue(ruleFile)},
                       {QStringLiteral("modem_manager_running"), modemManagerRunning},
                       {QStringLiteral("brltty_installed"), brlttyInstalled},
                       {QStringLiteral("stale_locks"), stale},
                       {QStringLiteral("locks"), lockList},
                       {QStringLiteral("installation"), installationKey(installation.kind)},
                       {QStringLiteral("program"), installation.programPath},
                       {QStringLiteral("demo_node"), demoNode.isEmpty() ? QJsonValue() : QJsonValue(demoNode)},
                       {QStringLiteral("problems"), problemList}};
}

} // namespace mk
