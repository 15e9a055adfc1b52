// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/PortMap.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <limits>
#include <mutex>

namespace mk {

namespace {

struct Overrides
{
    std::mutex mutex;
    QMap<int, QString> map;
    QSet<int> assigned; // numbers assignPortForNode gave to a node of its own choosing
    bool envRead = false;
    QString linkFolder; // empty: /dev
};

Overrides &overrides()
{
    static Overrides o;
    return o;
}

// Reads MK_PORTS once, before the first look-up.
void readEnvironment(Overrides &o)
{
    if (o.envRead)
        return;
    o.envRead = true;
    const QString spec = qEnvironmentVariable("MK_PORTS");
    for (const QString &item : spec.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const qsizetype eq = item.indexOf(QLatin1Char('='));
        bool ok = false;
        const int n = item.left(eq).trimmed().toInt(&ok);
        if (eq > 0 && ok && n >= 1 && n <= kMaxPortNumber)
            o.map[n] = item.mid(eq + 1).trimmed();
    }
}

QString canonical(const QString &node)
{
    const QString c = QFileInfo(node).canonicalFilePath();
    return c.isEmpty() ? node : c;
}

QString linkFolder()
{
    Overrides &o = overrides();
    std::lock_guard lock(o.mutex);
    return o.linkFolder.isEmpty() ? QStringLiteral("/dev") : o.linkFolder;
}

} // namespace

QString nodeForPort(int n)
{
    if (n < 1 || n > kMaxPortNumber)
        return {};
    Overrides &o = overrides();
    std::lock_guard lock(o.mutex);
    readEnvironment(o);
    const auto it = o.map.constFind(n);
    return it != o.map.constEnd() ? *it : systemPortNode(n);
}

int portForNode(const QString &node)
{
    // The names first: resolving every number's node costs a look at the file system each.
    for (int n = 1; n <= kMaxPortNumber; ++n)
        if (nodeForPort(n) == node)
            return n;
    const QString wanted = canonical(node);
    for (int n = 1; n <= kMaxPortNumber; ++n)
        if (canonical(nodeForPort(n)) == wanted)
            return n;
    return 0;
}

void setPortOverride(int n, const QString &node)
{
    if (n < 1 || n > kMaxPortNumber)
        return;
    Overrides &o = overrides();
    std::lock_guard lock(o.mutex);
    readEnvironment(o);
    o.assigned.remove(n);
    if (node.isEmpty())
        o.map.remove(n);
    else
        o.map[n] = node;
}

bool isAssignedPort(int n)
{
    Overrides &o = overrides();
    std::lock_guard lock(o.mutex);
    return o.assigned.contains(n);
}

void clearPortOverrides()
{
    Overrides &o = overrides();
    std::lock_guard lock(o.mutex);
    o.envRead = true;
    o.map.clear();
    o.assigned.clear();
}

int assignPortForNode(const QString &node)
{
    if (const int n = portForNode(node))
        return n;
    for (int n = kMaxPortNumber; n >= 1; --n) {
        if (!probePortNode(nodeForPort(n))) {
            setPortOverride(n, node);
            Overrides &o = overrides();
            std::lock_guard lock(o.mutex);
            o.assigned.insert(n);
            return n;
        }
    }
    return 0;
}

void setDeviceLinkFolder(const QString &folder)
{
    Overrides &o = overrides();
    std::lock_guard lock(o.mutex);
    o.linkFolder = folder;
}

QString deviceLinkForNode(const QString &node)
{
    if (node.isEmpty())
        return {};
    const QString wanted = canonical(node);
    if (!QFileInfo(wanted).exists())
        return {};
    // In the order mk-0, mk-1 ... mk-10: a node has one link, but a stale one may linger.
    QDir folder(linkFolder(), QStringLiteral("mk-*"), QDir::Name, QDir::System | QDir::Files | QDir::NoDotAndDotDot);
    QFileInfoList links = folder.entryInfoList();
    std::stable_sort(links.begin(), links.end(),
                     [](const QFileInfo &a, const QFileInfo &b) { return a.fileName().size() < b.fileName().size(); });
    for (const QFileInfo &link : links)
        if (link.isSymLink() && canonical(link.absoluteFilePath()) == wanted)
            return link.absoluteFilePath();
    return {};
}

QString deviceLinkForPort(int n)
{
    const QString node = nodeForPort(n);
    // A number pointed at the link itself shows the link as its node already.
    if (QFileInfo(node).fileName().startsWith(QLatin1String("mk-")))
        return {};
    return deviceLinkForNode(node);
}

int portNumberFromName(const QString &name)
{
    static const QRegularExpression re(QStringLiteral("^COM(\\d+)"));
    const QRegularExpressionMatch m = re.match(name);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

std::optional<int> typedPortNumber(const QString &text)
{
    // "5", "COM5", "com5", and the Windows device path "\\.\COM12".
    static const QRegularExpression re(QStringLiteral("^(?:(?:\\\\\\\\\\.\\\\)?COM)?([+-]?\\d+)$"),
                                       QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    bool ok = false;
    const int n = m.captured(1).toInt(&ok);
    // Too many digits for an int is still a number, and out of any range.
    return ok ? n : std::numeric_limits<int>::max();
}

} // namespace mk
