#include "link/ConnectionCheck.h"

#include "link/LinkTexts.h"
#include "link/PortDiscovery.h"
#include "link/PortMap.h"
#include "link/SerialPortIo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QtEndian>

#include <algorithm>

namespace mk {

namespace {

const QString kUdevFix =
    QStringLiteral("sudo udevadm control --reload-rules && sudo udevadm trigger --subsystem-match=tty --action=change");
const QString kRuleFix = QStringLiteral("sudo apt install --reinstall mkconf");

QString readLine(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).trimmed();
}

QString canonical(const QString &path)
{
    const QString c = QFileInfo(path).canonicalFilePath();
    return c.isEmpty() ? path : c;
}

QString hex4(quint16 v) { return QStringLiteral("%1").arg(v, 4, 16, QLatin1Char('0')); }

// The serial nodes of a USB device: cdc_acm puts them under <interface>/tty/ttyACMn, the
// USB-serial drivers under <interface>/ttyUSBn.
QStringList ttyNamesOf(const QString &deviceDir)
{
    QStringList names;
    const QDir dir(deviceDir);
    for (const QString &intf : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        if (!intf.contains(QLatin1Char(':')))
            continue;
        const QDir intfDir(dir.filePath(intf));
        names << QDir(intfDir.filePath(QStringLiteral("tty"))).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        names << intfDir.entryList({QStringLiteral("ttyUSB*")}, QDir::Dirs, QDir::Name);
    }
    return names;
}

// The "mk-*" name in the device folder that leads to this node.
QString stableLinkFor(const QString &devFolder, const QString &node)
{
    const QString wanted = canonical(node);
    const QDir dir(devFolder);
    for (const QFileInfo &link : dir.entryInfoList({QStringLiteral("mk-*")}, QDir::System | QDir::Files, QDir::Name))
        if (link.isSymLink() && canonical(link.absoluteFilePath()) == wanted)
            return link.absoluteFilePath();
    return {};
}

// Whether the udev database marks the tty for ModemManager to leave alone; unknown when the
// database has no record of it.
std::optional<bool> modemManagerIgnores(const SystemFacts &facts, const QString &ttyName)
{
    const QString dev = readLine(QStringLiteral("%1/class/tty/%2/dev").arg(facts.sysfsRoot, ttyName));
    if (dev.isEmpty())
        return std::nullopt;
    QFile data(QStringLiteral("%1/c%2").arg(facts.udevDataFolder, dev));
    if (!data.open(QIODevice::ReadOnly))
        return std::nullopt;
    for (const QByteArray &line : data.readAll().split('\n'))
        if (line.trimmed() == "E:ID_MM_DEVICE_IGNORE=1")
            return true;
    return false;
}

// The first rule file that names the device's vendor and product on one line. As udev does, a
// file in an earlier folder hides the one of the same name in a later folder (a link to
// /dev/null there turns the package's rule off).
QString installedRule(const SystemFacts &facts)
{
    QSet<QString> seen;
    static const QRegularExpression vendor(QStringLiteral("idVendor\\}?\\s*==\\s*\"%1\"").arg(hex4(kDeviceUsbVendor)),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression product(
        QStringLiteral("idProduct\\}?\\s*==\\s*\"%1\"").arg(hex4(kDeviceUsbProduct)),
        QRegularExpression::CaseInsensitiveOption);
    for (const QString &folder : facts.udevRuleFolders) {
        const QDir dir(folder);
        for (const QFileInfo &file :
             dir.entryInfoList({QStringLiteral("*.rules")}, QDir::Files | QDir::System, QDir::Name)) {
            if (seen.contains(file.fileName()))
                continue;
            seen.insert(file.fileName());
            QFile rules(file.absoluteFilePath());
            if (!rules.open(QIODevice::ReadOnly))
                continue;
            for (const QString &line : QString::fromUtf8(rules.readAll()).split(QLatin1Char('\n'))) {
                if (line.trimmed().startsWith(QLatin1Char('#')))
                    continue;
                if (line.contains(vendor) && line.contains(product))
                    return file.absoluteFilePath();
            }
        }
    }
    return {};
}

struct Process
{
    qint64 pid = 0;
    QString name;
};

QList<Process> processTable(const SystemFacts &facts)
{
    QList<Process> list;
    const QDir proc(facts.procRoot);
    for (const QString &entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool ok = false;
        const qint64 pid = entry.toLongLong(&ok);
        if (ok && pid > 0)
            list << Process{pid, readLine(proc.filePath(entry + QStringLiteral("/comm")))};
    }
    return list;
}

// Processes other than this one with the node open.
QList<NodeHolder> holdersOf(const SystemFacts &facts, const QList<Process> &processes, const QString &node)
{
    const QString wanted = canonical(node);
    QList<NodeHolder> holders;
    for (const Process &p : processes) {
        if (p.pid == facts.ownPid)
            continue;
        const QDir fds(QStringLiteral("%1/%2/fd").arg(facts.procRoot).arg(p.pid));
        for (const QFileInfo &fd : fds.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
            const QString target = fd.symLinkTarget();
            if (!target.isEmpty() && (target == node || target == wanted)) {
                holders << NodeHolder{p.pid, p.name};
                break;
            }
        }
    }
    return holders;
}

// The process a lock file names: ten ASCII digits, or a binary number in older programs.
qint64 lockPid(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray bytes = file.read(64);
    bool ok = false;
    const qint64 pid = bytes.trimmed().toLongLong(&ok);
    if (ok)
        return pid;
    if (bytes.size() == 4)
        return qFromLittleEndian<qint32>(bytes.constData());
    return 0;
}

class ProblemList
{
public:
    explicit ProblemList(QList<CheckProblem> &out) : m_out(out) {}
    // A problem that several findings lead to is given once, under its key.
    void add(const QString &key, const QString &text, const QString &fix)
    {
        if (m_keys.contains(key))
            return;
        m_keys.insert(key);
        m_out << CheckProblem{text, fix};
    }
    bool has(const QString &key) const { return m_keys.contains(key); }

private:
    QList<CheckProblem> &m_out;
    QSet<QString> m_keys;
};

bool groupMayReadWrite(const NodeAccess &a)
{
    return (a.mode & 060) == 060 && !a.group.isEmpty() && a.group != QLatin1String("root");
}

} // namespace

ConnectionReport checkConnection(const SystemFacts &facts)
{
    ConnectionReport report;
    ProblemList problems(report.problems);
    const QList<Process> processes = processTable(facts);
    for (const Process &p : processes)
        if (p.name == QLatin1String("ModemManager"))
            report.modemManagerRunning = true;
    report.ruleFile = installedRule(facts);
    for (const QString &folder : facts.programFolders)
        if (QFileInfo(QDir(folder).filePath(QStringLiteral("brltty"))).isFile())
            report.brlttyInstalled = true;

    // The USB devices with the trip computer's identity and their nodes.
    const QDir usb(facts.sysfsRoot + QStringLiteral("/bus/usb/devices"));
    for (const QString &name : usb.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System, QDir::Name)) {
        const QString dir = usb.filePath(name);
        bool okVendor = false, okProduct = false;
        const uint vendor = readLine(dir + QStringLiteral("/idVendor")).toUInt(&okVendor, 16);
        const uint product = readLine(dir + QStringLiteral("/idProduct")).toUInt(&okProduct, 16);
        if (!okVendor || !okProduct || vendor != kDeviceUsbVendor || product != kDeviceUsbProduct)
            continue;
        UsbDeviceReport device;
        device.usbPath = name;
        device.product = readLine(dir + QStringLiteral("/product"));
        device.manufacturer = readLine(dir + QStringLiteral("/manufacturer"));
        device.serial = readLine(dir + QStringLiteral("/serial"));
        device.marker = device.product.contains(kDeviceMarker) || device.manufacturer.contains(kDeviceMarker);
        for (const QString &tty : ttyNamesOf(dir)) {
            NodeReport node;
            node.node = QDir(facts.devFolder).filePath(tty);
            node.link = stableLinkFor(facts.devFolder, node.node);
            node.port = portForNode(node.node);
            if (facts.nodeAccess)
                node.access = facts.nodeAccess(node.node);
            node.holders = holdersOf(facts, processes, node.node);
            node.modemManagerIgnores = modemManagerIgnores(facts, tty);
            device.nodes << node;
        }
        report.devices << device;
    }

    // Lock files: a stale one keeps programs that honour locks off the port.
    QHash<QString, qint64> liveLocks; // node name -> pid
    QSet<QString> seenLocks;
    for (const QString &folder : facts.lockFolders) {
        const QDir dir(folder);
        for (const QFileInfo &file :
             dir.entryInfoList({QStringLiteral("LCK..*")}, QDir::Files | QDir::System, QDir::Name)) {
            const QString path = canonical(file.absoluteFilePath());
            if (seenLocks.contains(path))
                continue; // /var/lock is usually /run/lock
            seenLocks.insert(path);
            const qint64 pid = lockPid(path);
            if (pid > 0 && QFileInfo::exists(QStringLiteral("%1/%2").arg(facts.procRoot).arg(pid)))
                liveLocks.insert(file.fileName().mid(5), pid);
            else
                report.staleLocks << StaleLock{file.absoluteFilePath(), pid};
        }
    }

    // The problems, most basic first: what is missing hides what follows from it.
    const QStringList sessionGroups = facts.sessionGroups ? facts.sessionGroups() : QStringList();
    const QStringList accountGroups = facts.accountGroups ? facts.accountGroups() : QStringList();
    if (report.devices.isEmpty())
        problems.add(QStringLiteral("absent"),
                     QStringLiteral("МК не найден среди устройств USB (%1:%2).")
                         .arg(hex4(kDeviceUsbVendor), hex4(kDeviceUsbProduct)),
                     QStringLiteral("Подключите МК кабелем USB, включите его и повторите проверку."));
    for (const UsbDeviceReport &d : report.devices)
        if (d.nodes.isEmpty())
            problems.add(QStringLiteral("driver"),
                         QStringLiteral("У устройства USB %1 нет последовательного узла: не загружен драйвер cdc_acm.")
                             .arg(d.usbPath),
                         QStringLiteral("sudo modprobe cdc_acm"));
    if (report.ruleFile.isEmpty())
        problems.add(
            QStringLiteral("rule"),
            QStringLiteral("Правило udev для МК не установлено: у МК нет имени /dev/mk-0, узел открыт не всем, "
                           "кому нужно, и ModemManager может опрашивать МК как модем."),
            kRuleFix);
    for (const UsbDeviceReport &d : report.devices) {
        for (const NodeReport &n : d.nodes) {
            if (!n.access.exists)
                continue;
            // The rule is in place but the device was plugged in before it came.
            const bool notApplied = n.link.isEmpty() || !groupMayReadWrite(n.access) ||
                                    (report.modemManagerRunning && n.modemManagerIgnores == false);
            if (!report.ruleFile.isEmpty() && notApplied)
                problems.add(QStringLiteral("applied"),
                             QStringLiteral("Правило udev установлено, но к подключённому МК (%1) ещё не применено.")
                                 .arg(n.node),
                             kUdevFix);
            if (!n.access.mayOpen && groupMayReadWrite(n.access) && !sessionGroups.contains(n.access.group)) {
                if (accountGroups.contains(n.access.group))
                    problems.add(QStringLiteral("relogin:") + n.access.group,
                                 QStringLiteral("Вы уже в группе %1, но сеанс начат раньше: права на %2 появятся после "
                                                "нового входа в систему (или в терминале после newgrp).")
                                     .arg(n.access.group, n.node),
                                 QStringLiteral("newgrp %1").arg(n.access.group));
                else
                    problems.add(QStringLiteral("group:") + n.access.group,
                                 QStringLiteral("Нет прав на открытие %1: вы не в группе %2. После команды войдите в "
                                                "систему заново.")
                                     .arg(n.node, n.access.group),
                                 QStringLiteral("sudo usermod -aG %1 $USER").arg(n.access.group));
            }
            QList<NodeHolder> holders = n.holders;
            const qint64 lockOwner = liveLocks.value(QFileInfo(n.node).fileName());
            if (lockOwner > 0 && lockOwner != facts.ownPid &&
                std::none_of(holders.begin(), holders.end(), [&](const NodeHolder &h) { return h.pid == lockOwner; }))
                holders << NodeHolder{lockOwner,
                                      readLine(QStringLiteral("%1/%2/comm").arg(facts.procRoot).arg(lockOwner))};
            for (const NodeHolder &h : holders) {
                if (h.name == QLatin1String("ModemManager"))
                    problems.add(QStringLiteral("held:%1").arg(h.pid),
                                 QStringLiteral("%1 занят ModemManager (процесс %2).").arg(n.node).arg(h.pid),
                                 QStringLiteral("sudo systemctl stop ModemManager"));
                else
                    problems.add(QStringLiteral("held:%1").arg(h.pid),
                                 QStringLiteral("%1 занят другой программой: %2 (процесс %3). Закройте её.")
                                     .arg(n.node, h.name.isEmpty() ? QStringLiteral("?") : h.name)
                                     .arg(h.pid),
                                 QStringLiteral("kill %1").arg(h.pid));
            }
        }
    }
    if (report.brlttyInstalled)
        problems.add(QStringLiteral("brltty"),
                     QStringLiteral("Установлен brltty: он захватывает USB-последовательные переходники."),
                     QStringLiteral("sudo apt remove brltty"));
    for (const StaleLock &lock : report.staleLocks)
        problems.add(
            QStringLiteral("lock:") + canonical(lock.path),
            lock.pid > 0
                ? QStringLiteral("Устаревший файл блокировки %1: процесса %2 уже нет.").arg(lock.path).arg(lock.pid)
                : QStringLiteral("Файл блокировки %1 не называет процесс.").arg(lock.path),
            QStringLiteral("sudo rm -f %1").arg(lock.path));
    return report;
}

bool isPortOpenFailure(const QString &message)
{
    // The texts built around a port's name match with any name in its place.
    const auto around = [&message](const QString &built) {
        const qsizetype at = built.indexOf(QLatin1Char('\x01'));
        return message.startsWith(built.left(at)) && message.endsWith(built.mid(at + 1));
    };
    const QString placeholder = QStringLiteral("\x01");
    return message == kNoLinkText || message == kDeviceNotSeenText || message == kNoFreePortText ||
           around(permissionDeniedText(placeholder)) || around(portInUseText(placeholder)) ||
           around(QStringLiteral("Порт \x01 не найден."));
}

} // namespace mk
