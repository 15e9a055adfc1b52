// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The connection check: why the trip computer cannot be reached on this system. On Linux it looks
// at the USB devices with the device's identity and their serial nodes, the udev rule, the user's
// right to open the nodes, processes holding them, ModemManager, brltty and lock files; on
// Windows at the COM ports the system lists, the device's port and its driver, and whether
// another program holds the port. It gives each problem found once, with the command that fixes
// it on Linux, and on Windows with the steps (mostly in Device Manager). Nothing is changed.
//
// Every system fact is read through SystemFacts, so that a test can stand in for the system
// with folders of its own and fixed answers.

#include "base/Error.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace mk {

inline const QString kConnectionCheckTitle = QStringLiteral("Проверка подключения");
inline const QString kConnectionCheckButtonText = QStringLiteral("Проверить подключение");

// What the system says of one device node.
struct NodeAccess
{
    bool exists = false;
    QString group;        // the node's group ("dialout")
    uint mode = 0;        // permission bits (0660)
    bool mayOpen = false; // this user may read and write it (groups and ACLs counted)
    bool userAcl = false; // an ACL entry for this user: what the uaccess tag grants at the seat
};

struct SystemFacts
{
    QString sysfsRoot = QStringLiteral("/sys");
    QString devFolder = QStringLiteral("/dev");
    QString procRoot = QStringLiteral("/proc");
    QStringList udevRuleFolders = {QStringLiteral("/etc/udev/rules.d"), QStringLiteral("/run/udev/rules.d"),
                                   QStringLiteral("/usr/local/lib/udev/rules.d"),
                                   QStringLiteral("/usr/lib/udev/rules.d"), QStringLiteral("/lib/udev/rules.d")};
    QStringList lockFolders = {QStringLiteral("/var/lock"), QStringLiteral("/run/lock")};
    QStringList programFolders = {QStringLiteral("/usr/bin"), QStringLiteral("/usr/sbin"), QStringLiteral("/bin"),
                                  QStringLiteral("/sbin")};
    // Groups this process runs with, and the groups the account has (effective after a new login).
    std::function<QStringList()> sessionGroups;
    std::function<QStringList()> accountGroups;
    std::function<NodeAccess(const QString &node)> nodeAccess;
    // Linux: whether udev's record of a tty ("ttyACM0") tells ModemManager to leave it alone
    // (ID_MM_DEVICE_IGNORE); unknown when udev has no record of it.
    std::function<std::optional<bool>(const QString &ttyName)> modemManagerIgnores;
    qint64 ownPid = 0; // this program's own process, never counted as holding a node
    QString hostName;  // this computer's name, as lock files written here carry it
    // How the program was installed: its own path and the package database.
    QString programPath;
    QString dpkgInfoFolder = QStringLiteral("/var/lib/dpkg/info");
    // Windows: the folder the installer put the program in, as its uninstall record names it;
    // empty when the installer has not run for this user.
    QString installLocation;
    // The node of the simulated device when the demo runs (mkconf --demo); empty otherwise.
    QString demoNode;
    // The node of the port the program uses (chosen by hand or kept from an earlier run), looked
    // at as well when it is not the trip computer's; empty when none.
    QString portNode;
};

// The facts of the running system.
SystemFacts systemFacts();

struct NodeHolder
{
    qint64 pid = 0;
    QString name; // the process's command name
};

struct NodeReport
{
    QString node; // "/dev/ttyACM0"
    QString link; // "/dev/mk-0", empty when the rule gave none
    int port = 0; // its COM number, 0 when outside the table
    NodeAccess access;
    QList<NodeHolder> holders;
    std::optional<bool> modemManagerIgnores; // from the udev database; unknown when it has no record
};

struct UsbDeviceReport
{
    QString usbPath; // the USB bus path, "1-1.2"
    QString product, manufacturer, serial;
    bool marker = false; // the marker word is in its strings: the trip computer itself
    QList<NodeReport> nodes;
};

// A lock file of a serial node, in either format: the classic one (the process number, ten
// characters, or four bytes in older programs) or the serial-port library's (the process number,
// the program's name and the computer's name, a line each).
struct LockFile
{
    QString path;
    QString node;    // "ttyACM0", from the file's name
    qint64 pid = 0;  // 0: the file names no process that can be read
    QString program; // the program the file names, or the running process's name
    QString host;    // the computer the file names; empty in the classic format
    bool alive = false;
    bool elsewhere = false; // written on another computer: whether its process lives is unknown
};

struct StaleLock
{
    QString path;
    qint64 pid = 0;  // the process it names, which is gone
    QString program; // as the file names it; empty in the classic format
};

// How the program came onto this computer, which decides how its udev rule is put back on Linux.
struct Installation
{
    // Installer: the Windows installer's copy (prefix is its folder).
    enum Kind { Unknown, Package, Installed, Source, Installer };
    Kind kind = Unknown;
    QString programPath;
    QString sourceRule; // Source: the rule in the source tree
    QString prefix;     // Installed: where cmake --install put it ("/usr/local")
};
Installation installationOf(const SystemFacts &facts);
// Windows: the installer's copy when the program runs from the folder the installer's record
// names (compared as Windows compares paths: either slash, any letter case), otherwise Unknown.
Installation installerInstallation(const QString &programPath, const QString &installLocation);

struct CheckProblem
{
    QString text;
    QString fix;       // the command that fixes it (or, where no command can, what to do)
    QStringList steps; // Windows: what to do, one step after another (fix is empty)
};

struct ConnectionReport
{
    // Which system looked: the udev rule, ModemManager, brltty and lock files are Linux's.
    enum System { Linux, Windows };
    System system = Linux;
    QStringList ports; // Windows: the COM ports the system lists ("COM1", "COM5")
    QList<UsbDeviceReport> devices;
    QString ruleFile; // the installed rule that matches the device; empty when none
    bool modemManagerRunning = false;
    bool brlttyInstalled = false;
    QList<StaleLock> staleLocks;
    QList<LockFile> locks;
    Installation installation;
    QString demoNode;
    QList<CheckProblem> problems;

    // Russian text for the dialog and mktool doctor.
    QString text() const;
    // One line above the report in the dialog: how many problems, and what is under each.
    QString summary() const;
    QJsonObject json() const;
};

ConnectionReport checkConnection(const SystemFacts &facts = systemFacts());

// Whether an error of this kind is about a port that could not be opened or a device that could
// not be reached, so that the error box offers the connection check.
bool isPortOpenFailure(ErrorKind kind);

} // namespace mk
