// SPDX-License-Identifier: GPL-3.0-or-later
// The connection check on Linux: the USB devices in sysfs, their nodes and who may open them,
// the udev rule, ModemManager, brltty and lock files.

#include "link/ConnectionCheck.h"

#include "link/LinkTexts.h"
#include "link/PortDiscovery.h"
#include "link/PortMap.h"

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
const QString kRuleName = QStringLiteral("60-mkconf.rules");
// Programs of this package: a lock or a handle of theirs is an exchange in progress, never a
// reason to kill anything.
const QStringList kOwnPrograms = {QStringLiteral("mkconf"), QStringLiteral("mktool"), QStringLiteral("mksim")};

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

// Reads a lock file in either format. The serial-port library writes the process number, the
// program's name and the computer's name a line each (then ids of its own); the classic format
// is the process number alone, as ten characters or, in older programs, four binary bytes.
LockFile readLockFile(const QString &path)
{
    LockFile lock;
    lock.path = path;
    lock.node = QFileInfo(path).fileName().mid(5);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return lock;
    const QByteArray bytes = file.read(4096);
    const QList<QByteArray> lines = bytes.split('\n');
    bool ok = false;
    const qint64 pid = lines.value(0).trimmed().toLongLong(&ok);
    if (ok && pid > 0) {
        lock.pid = pid;
        lock.program = QString::fromUtf8(lines.value(1).trimmed());
        lock.host = QString::fromUtf8(lines.value(2).trimmed());
    } else if (bytes.size() == 4) {
        lock.pid = qMax<qint32>(0, qFromLittleEndian<qint32>(bytes.constData()));
    }
    return lock;
}

// A process that has ended but not been waited for (a zombie) holds no port: it counts as gone.
bool processLives(const SystemFacts &facts, qint64 pid)
{
    const QString dir = QStringLiteral("%1/%2").arg(facts.procRoot).arg(pid);
    if (!QFileInfo::exists(dir))
        return false;
    const QString stat = readLine(dir + QStringLiteral("/stat"));
    const qsizetype end = stat.lastIndexOf(QLatin1Char(')'));
    return end < 0 || stat.mid(end + 2, 1) != QLatin1String("Z");
}

QString programFix(const Installation &install)
{
    switch (install.kind) {
    case Installation::Package: return QStringLiteral("sudo apt install --reinstall mkconf");
    case Installation::Source:
        return QStringLiteral("sudo cp %1 /etc/udev/rules.d/ && %2").arg(install.sourceRule, kUdevFix);
    case Installation::Installed:
        return QStringLiteral("sudo cmake --install <папка сборки> --prefix %1 (правило ляжет в %1/lib/udev/rules.d), "
                              "затем %2")
            .arg(install.prefix, kUdevFix);
    case Installation::Installer: // Windows' own
    case Installation::Unknown: break;
    }
    return QStringLiteral("Скопируйте правило %1 из пакета mkconf или из исходников (packaging/) в /etc/udev/rules.d/, "
                          "затем %2")
        .arg(kRuleName, kUdevFix);
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
        m_out << CheckProblem{text, fix, {}};
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

Installation installationOf(const SystemFacts &facts)
{
    Installation install;
    if (facts.programPath.isEmpty())
        return install;
    install.programPath = canonical(facts.programPath);
    QFile list(QDir(facts.dpkgInfoFolder).filePath(QStringLiteral("mkconf.list")));
    if (list.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : list.readAll().split('\n'))
            if (!line.isEmpty() && canonical(QString::fromUtf8(line)) == install.programPath) {
                install.kind = Installation::Package;
                return install;
            }
    }
    // A build tree keeps the programs in build/bin (or build) under the source tree.
    const QDir bin = QFileInfo(install.programPath).dir();
    for (const QString &up : {QStringLiteral("../.."), QStringLiteral("..")}) {
        const QString rule = QDir::cleanPath(bin.filePath(up + QStringLiteral("/packaging/") + kRuleName));
        if (QFileInfo::exists(rule)) {
            install.kind = Installation::Source;
            install.sourceRule = rule;
            return install;
        }
    }
    if (bin.dirName() == QLatin1String("bin")) {
        install.kind = Installation::Installed;
        install.prefix = QDir::cleanPath(bin.filePath(QStringLiteral("..")));
    }
    return install;
}

ConnectionReport checkConnection(const SystemFacts &facts)
{
    ConnectionReport report;
    report.installation = installationOf(facts);
    report.demoNode = facts.demoNode;
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
            if (facts.modemManagerIgnores)
                node.modemManagerIgnores = facts.modemManagerIgnores(tty);
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
            LockFile lock = readLockFile(path);
            lock.path = file.absoluteFilePath();
            lock.elsewhere = !lock.host.isEmpty() && !facts.hostName.isEmpty() && lock.host != facts.hostName;
            lock.alive = lock.pid > 0 && processLives(facts, lock.pid);
            if (lock.alive) {
                // The running process's own name; the file's word for it when it cannot be read.
                const QString comm = readLine(QStringLiteral("%1/%2/comm").arg(facts.procRoot).arg(lock.pid));
                if (!comm.isEmpty())
                    lock.program = comm;
                liveLocks.insert(lock.node, lock.pid);
            } else if (lock.pid > 0 && !lock.elsewhere) {
                report.staleLocks << StaleLock{lock.path, lock.pid, lock.program};
            }
            report.locks << lock;
        }
    }

    // The problems, most basic first: what is missing hides what follows from it.
    const QStringList sessionGroups = facts.sessionGroups ? facts.sessionGroups() : QStringList();
    const QStringList accountGroups = facts.accountGroups ? facts.accountGroups() : QStringList();
    const bool demo = !facts.demoNode.isEmpty();
    // A device with the identity but without the marker word is another product built on the
    // same chip: the rule leaves it alone and the search never picks it, so its nodes are not
    // looked at for problems, and it is named where the trip computer is missing.
    QStringList strangers;
    for (const UsbDeviceReport &d : report.devices)
        if (!d.marker)
            strangers << QStringLiteral("%1 («%2»)").arg(d.usbPath, d.product);
    const bool deviceSeen =
        std::any_of(report.devices.begin(), report.devices.end(), [](const UsbDeviceReport &d) { return d.marker; });
    if (!deviceSeen && !demo) { // the demo needs no device, nor the rule
        QString text = QStringLiteral("МК не найден среди устройств USB (%1:%2).")
                           .arg(hex4(kDeviceUsbVendor), hex4(kDeviceUsbProduct));
        if (!strangers.isEmpty())
            text += QStringLiteral(" %1 с тем же идентификатором USB — не МК: в названии изделия и изготовителя нет "
                                   "слова %2.")
                        .arg(strangers.join(QStringLiteral(", ")), kDeviceMarker);
        problems.add(QStringLiteral("absent"), text,
                     QStringLiteral("Подключите МК кабелем USB, включите его и повторите проверку."));
    }
    for (const UsbDeviceReport &d : report.devices)
        if (d.marker && d.nodes.isEmpty())
            problems.add(QStringLiteral("driver"),
                         QStringLiteral("У устройства USB %1 нет последовательного узла: не загружен драйвер cdc_acm.")
                             .arg(d.usbPath),
                         QStringLiteral("sudo modprobe cdc_acm"));
    if (report.ruleFile.isEmpty() && !demo)
        problems.add(
            QStringLiteral("rule"),
            QStringLiteral("Правило udev для МК не установлено: у МК нет имени /dev/mk-0, узел открыт не всем, "
                           "кому нужно, и ModemManager может опрашивать МК как модем."),
            programFix(report.installation));
    // What stands in the way of one node: the rule not applied, no right to open it, a holder.
    const auto nodeProblems = [&](const NodeReport &n, bool deviceNode) {
        if (!n.access.exists)
            return;
        // The rule is in place but the device was plugged in before it came.
        const bool notApplied = n.link.isEmpty() || !groupMayReadWrite(n.access) ||
                                (report.modemManagerRunning && n.modemManagerIgnores == false);
        if (deviceNode && !report.ruleFile.isEmpty() && notApplied)
            problems.add(
                QStringLiteral("applied"),
                QStringLiteral("Правило udev установлено, но к подключённому МК (%1) ещё не применено.").arg(n.node),
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
            for (const LockFile &l : std::as_const(report.locks))
                if (l.alive && l.pid == lockOwner)
                    holders << NodeHolder{lockOwner, l.program};
        for (const NodeHolder &h : holders) {
            if (kOwnPrograms.contains(h.name))
                problems.add(QStringLiteral("held:%1").arg(h.pid),
                             QStringLiteral("%1 занят программой %2 (процесс %3): она ведёт обмен с МК или "
                                            "держит порт открытым.")
                                 .arg(n.node, h.name)
                                 .arg(h.pid),
                             QStringLiteral("Дождитесь конца обмена в %1 или закройте эту программу; файл "
                                            "блокировки она уберёт сама.")
                                 .arg(h.name));
            else if (h.name == QLatin1String("ModemManager"))
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
    };
    for (const UsbDeviceReport &d : report.devices)
        for (const NodeReport &n : d.nodes)
            if (d.marker)
                nodeProblems(n, true);
    // The port the program uses, when it is another node (kept from an earlier run, chosen by hand).
    if (!facts.portNode.isEmpty() && !demo &&
        std::none_of(report.devices.begin(), report.devices.end(), [&](const UsbDeviceReport &d) {
            return d.marker && std::any_of(d.nodes.begin(), d.nodes.end(),
                               [&](const NodeReport &n) { return n.node == facts.portNode; });
        })) {
        NodeReport port;
        port.node = facts.portNode;
        port.port = portForNode(port.node);
        if (facts.nodeAccess)
            port.access = facts.nodeAccess(port.node);
        port.holders = holdersOf(facts, processes, port.node);
        nodeProblems(port, false);
    }
    if (report.brlttyInstalled)
        problems.add(QStringLiteral("brltty"),
                     QStringLiteral("Установлен brltty: он захватывает USB-последовательные переходники."),
                     QStringLiteral("sudo apt remove brltty"));
    // Removal is advised only for a lock whose process is gone; a lock that cannot be read or
    // comes from another computer may belong to a live exchange.
    for (const LockFile &lock : std::as_const(report.locks)) {
        const QString key = QStringLiteral("lock:") + canonical(lock.path);
        const QString node = QDir(facts.devFolder).filePath(lock.node);
        if (lock.pid == 0)
            problems.add(key,
                         QStringLiteral("Файл блокировки %1 не удалось прочесть: по нему не узнать, кто держит %2.")
                             .arg(lock.path, node),
                         QStringLiteral("fuser -v %1 (покажет программу, которая держит порт)").arg(node));
        else if (lock.elsewhere)
            problems.add(key,
                         QStringLiteral("Файл блокировки %1 записан на другом компьютере (%2): %3, процесс %4.")
                             .arg(lock.path, lock.host, lock.program.isEmpty() ? QStringLiteral("?") : lock.program)
                             .arg(lock.pid),
                         QStringLiteral("Проверьте на %1, работает ли ещё %2.")
                             .arg(lock.host, lock.program.isEmpty() ? QStringLiteral("процесс") : lock.program));
        else if (!lock.alive)
            problems.add(key,
                         QStringLiteral("Устаревший файл блокировки %1: процесса %2%3 уже нет.")
                             .arg(lock.path)
                             .arg(lock.pid)
                             .arg(lock.program.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(lock.program)),
                         QStringLiteral("sudo rm -f %1").arg(lock.path));
    }
    return report;
}

} // namespace mk
