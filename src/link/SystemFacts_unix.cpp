// SPDX-License-Identifier: GPL-3.0-or-later
// The facts of a Linux system for the connection check: groups, what the system says of a device
// node, and what udev's record of a tty says (libudev).

#include "link/ConnectionCheck.h"

#include <QCoreApplication>
#include <QFile>
#include <QSysInfo>
#include <QtEndian>

#include <algorithm>
#include <vector>

#include <grp.h>
#include <libudev.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace mk {

namespace {

QString groupName(gid_t gid)
{
    const struct group *g = ::getgrgid(gid);
    return g ? QString::fromLocal8Bit(g->gr_name) : QString::number(gid);
}

QStringList sessionGroupsOfProcess()
{
    QStringList names{groupName(::getegid())};
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> gids(std::max(count, 0));
    if (count > 0 && ::getgroups(count, gids.data()) == count)
        for (gid_t g : gids)
            names << groupName(g);
    names.removeDuplicates();
    return names;
}

QStringList groupsOfAccount()
{
    const struct passwd *pw = ::getpwuid(::getuid());
    if (!pw)
        return {};
    int count = 64;
    std::vector<gid_t> gids(count);
    if (::getgrouplist(pw->pw_name, pw->pw_gid, gids.data(), &count) < 0) {
        gids.resize(count);
        if (::getgrouplist(pw->pw_name, pw->pw_gid, gids.data(), &count) < 0)
            return {};
    }
    QStringList names;
    for (int i = 0; i < count; ++i)
        names << groupName(gids[i]);
    names.removeDuplicates();
    return names;
}

// An ACL entry naming this user, as logind adds for the uaccess tag: the extended attribute
// holds a version word, then entries of tag (2 bytes), permissions (2) and id (4).
bool hasUserAcl(const QByteArray &path)
{
    char buffer[1024];
    const ssize_t size = ::getxattr(path.constData(), "system.posix_acl_access", buffer, sizeof buffer);
    constexpr quint16 kAclUser = 0x02;
    for (ssize_t at = 4; size > 0 && at + 8 <= size; at += 8) {
        const quint16 tag = qFromLittleEndian<quint16>(buffer + at);
        const quint32 id = qFromLittleEndian<quint32>(buffer + at + 4);
        if (tag == kAclUser && id == ::getuid())
            return true;
    }
    return false;
}

NodeAccess nodeAccessOf(const QString &node)
{
    NodeAccess a;
    const QByteArray path = QFile::encodeName(node);
    struct stat st;
    if (::stat(path.constData(), &st) != 0)
        return a;
    a.exists = true;
    a.group = groupName(st.st_gid);
    a.mode = st.st_mode & 07777;
    a.mayOpen = ::access(path.constData(), R_OK | W_OK) == 0;
    a.userAcl = hasUserAcl(path);
    return a;
}

// What udev's record of the tty says, through libudev (its database's files are udev's own
// business). A device udev has not handled yet has no record: unknown.
std::optional<bool> udevModemManagerIgnores(const QString &ttyName)
{
    struct udev *udev = ::udev_new();
    if (!udev)
        return std::nullopt;
    std::optional<bool> ignores;
    if (struct udev_device *device = ::udev_device_new_from_subsystem_sysname(udev, "tty", QFile::encodeName(ttyName))) {
        if (::udev_device_get_is_initialized(device) > 0) {
            const char *value = ::udev_device_get_property_value(device, "ID_MM_DEVICE_IGNORE");
            ignores = value && qstrcmp(value, "1") == 0;
        }
        ::udev_device_unref(device);
    }
    ::udev_unref(udev);
    return ignores;
}

} // namespace

SystemFacts systemFacts()
{
    SystemFacts facts;
    facts.hostName = QSysInfo::machineHostName();
    if (QCoreApplication::instance())
        facts.programPath = QCoreApplication::applicationFilePath();
    facts.sessionGroups = sessionGroupsOfProcess;
    facts.accountGroups = groupsOfAccount;
    facts.nodeAccess = nodeAccessOf;
    facts.modemManagerIgnores = udevModemManagerIgnores;
    facts.ownPid = ::getpid();
    return facts;
}

} // namespace mk
