// SPDX-License-Identifier: GPL-3.0-or-later
// The connection check against a faked system: folders standing in for sysfs, /dev, /proc,
// the udev rules and the lock folders, udev's records, and fixed answers for groups and rights.

#include "link/ConnectionCheck.h"
#include "link/ExchangeTexts.h"
#include "link/LinkTexts.h"
#include "link/SerialPortIo.h"
#include "support/MktoolRun.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <utility>

#include <gtest/gtest.h>

namespace mk::test {
namespace {

class FakeSystem
{
public:
    FakeSystem()
    {
        for (const char *folder : {"sys/bus/usb/devices", "dev", "proc", "rules", "lock", "bin"})
            QDir().mkpath(path(QString::fromLatin1(folder)));
        QFile::link(path(QStringLiteral("lock")), path(QStringLiteral("runlock"))); // /var/lock -> /run/lock
        // Installed from the package unless a test says otherwise.
        write(QStringLiteral("usr/bin/mkconf"), {});
        write(QStringLiteral("dpkg/info/mkconf.list"), "/.\n" + path(QStringLiteral("usr/bin/mkconf")).toUtf8() + "\n");
        programPath = path(QStringLiteral("usr/bin/mkconf"));
    }

    QString path(const QString &relative) const { return m_dir.filePath(relative); }

    void write(const QString &relative, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(path(relative)).path());
        QFile file(path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // A USB device; its serial nodes as cdc_acm makes them, each with a node in dev.
    void usbDevice(const QString &usbPath, const QByteArray &vendor, const QByteArray &product, const QByteArray &name,
                   const QStringList &ttys)
    {
        const QString dir = QStringLiteral("sys/bus/usb/devices/") + usbPath;
        write(dir + QStringLiteral("/idVendor"), vendor + "\n");
        write(dir + QStringLiteral("/idProduct"), product + "\n");
        write(dir + QStringLiteral("/product"), name + "\n");
        write(dir + QStringLiteral("/manufacturer"), name.contains("Trivolantics") ? "Trivolantics\n" : "Microchip\n");
        for (const QString &tty : ttys) {
            const QByteArray minor = tty.right(1).toLatin1();
            QDir().mkpath(path(dir + QStringLiteral("/%1:1.0/tty/%2").arg(usbPath, tty)));
            write(QStringLiteral("sys/class/tty/%1/dev").arg(tty), "166:" + minor + "\n");
            write(QStringLiteral("dev/") + tty, {});
        }
    }
    void process(qint64 pid, const QByteArray &name, const QStringList &openNodes = {})
    {
        write(QStringLiteral("proc/%1/comm").arg(pid), name + "\n");
        QDir().mkpath(path(QStringLiteral("proc/%1/fd").arg(pid)));
        int fd = 3;
        for (const QString &node : openNodes)
            QFile::link(path(QStringLiteral("dev/") + node), path(QStringLiteral("proc/%1/fd/%2").arg(pid).arg(fd++)));
    }
    void stableName(const QString &link, const QString &tty)
    {
        QFile::link(path(QStringLiteral("dev/") + tty), path(QStringLiteral("dev/") + link));
    }
    void installRule()
    {
        ASSERT_TRUE(QFile::copy(QStringLiteral(MK_TEST_DATA "/../../packaging/60-mkconf.rules"),
                                path(QStringLiteral("rules/60-mkconf.rules"))));
    }
    void udevRecord(int minor, bool ignoredByModemManager)
    {
        udevRecords[QStringLiteral("ttyACM%1").arg(minor)] = ignoredByModemManager;
    }

    SystemFacts facts() const
    {
        SystemFacts f;
        f.sysfsRoot = path(QStringLiteral("sys"));
        f.devFolder = path(QStringLiteral("dev"));
        f.procRoot = path(QStringLiteral("proc"));
        f.modemManagerIgnores = [this](const QString &tty) {
            return udevRecords.contains(tty) ? std::optional<bool>(udevRecords.value(tty)) : std::nullopt;
        };
        f.udevRuleFolders = {path(QStringLiteral("rules")), path(QStringLiteral("missing-rules"))};
        f.lockFolders = {path(QStringLiteral("lock")), path(QStringLiteral("runlock"))};
        f.programFolders = {path(QStringLiteral("bin"))};
        f.sessionGroups = [this] { return sessionGroups; };
        f.accountGroups = [this] { return accountGroups; };
        f.nodeAccess = [this](const QString &node) { return access.value(QFileInfo(node).fileName(), NodeAccess{}); };
        f.ownPid = 1;
        f.hostName = QStringLiteral("box");
        f.programPath = programPath;
        f.dpkgInfoFolder = path(QStringLiteral("dpkg/info"));
        f.demoNode = demoNode;
        return f;
    }

    QStringList sessionGroups{QStringLiteral("user")};
    QStringList accountGroups{QStringLiteral("user")};
    QHash<QString, NodeAccess> access;
    QHash<QString, bool> udevRecords; // tty name -> ID_MM_DEVICE_IGNORE=1
    QString programPath;
    QString demoNode;

private:
    QTemporaryDir m_dir;
};

NodeAccess dialoutNode(bool mayOpen, bool acl = false)
{
    return NodeAccess{true, QStringLiteral("dialout"), 0660, mayOpen, acl};
}

// The trip computer as the rule leaves it: stable name, ModemManager told to keep away.
void healthyDevice(FakeSystem &sys)
{
    sys.usbDevice(QStringLiteral("1-2"), "04d8", "000a", "Trivolantics МК", {QStringLiteral("ttyACM0")});
    sys.stableName(QStringLiteral("mk-0"), QStringLiteral("ttyACM0"));
    sys.installRule();
    sys.udevRecord(0, true);
    sys.access[QStringLiteral("ttyACM0")] = dialoutNode(true, true);
    sys.process(1, "mkconf", {QStringLiteral("ttyACM0")}); // this program itself
    sys.process(400, "ModemManager");
}

QStringList fixesOf(const ConnectionReport &report)
{
    QStringList fixes;
    for (const CheckProblem &p : report.problems)
        fixes << p.fix;
    return fixes;
}

TEST(ConnectionCheck, EachProblemOnceWithItsFix)
{
    const struct Scenario
    {
        const char *name;
        std::function<void(FakeSystem &)> setup;
        std::function<QStringList(const FakeSystem &)> fixes;
    } scenarios[] = {
        {"healthy", healthyDevice, [](const FakeSystem &) { return QStringList(); }},
        {"no device, the rest in order",
         [](FakeSystem &sys) {
             sys.usbDevice(QStringLiteral("3-1"), "1234", "000a", "Other", {QStringLiteral("ttyUSB0")});
             sys.installRule();
         },
         [](const FakeSystem &) {
             return QStringList{QStringLiteral("Подключите МК кабелем USB, включите его и повторите проверку.")};
         }},
        {"only another product with the same identity",
         [](FakeSystem &sys) {
             // The rule leaves it alone, so its node has no stable name and is root's: that is
             // no problem of the rule's, only the trip computer is missing.
             sys.usbDevice(QStringLiteral("1-4"), "04d8", "000a", "CDC RS-232", {QStringLiteral("ttyACM1")});
             sys.installRule();
             sys.udevRecord(1, false);
             sys.access[QStringLiteral("ttyACM1")] = NodeAccess{true, QStringLiteral("root"), 0600, false, false};
             sys.process(400, "ModemManager");
         },
         [](const FakeSystem &) {
             return QStringList{QStringLiteral("Подключите МК кабелем USB, включите его и повторите проверку.")};
         }},
        {"everything wrong at once",
         [](FakeSystem &sys) {
             // Two nodes in dialout the user is not in; a device without a driver; no rule; a
             // terminal program holding one node and locking it; a lock left by a dead process,
             // seen through both lock folders; brltty.
             sys.usbDevice(QStringLiteral("1-2"), "04d8", "000a", "Trivolantics МК",
                           {QStringLiteral("ttyACM0"), QStringLiteral("ttyACM1")});
             sys.usbDevice(QStringLiteral("1-3"), "04D8", "000A", "Trivolantics МК", {});
             sys.access[QStringLiteral("ttyACM0")] = dialoutNode(false);
             sys.access[QStringLiteral("ttyACM1")] = dialoutNode(false);
             sys.process(200, "minicom", {QStringLiteral("ttyACM0")});
             sys.process(400, "ModemManager");
             sys.write(QStringLiteral("lock/LCK..ttyACM0"), "       200\n");
             sys.write(QStringLiteral("lock/LCK..ttyACM1"), "       999\n");
             sys.write(QStringLiteral("bin/brltty"), "");
         },
         [](const FakeSystem &sys) {
             return QStringList{QStringLiteral("sudo modprobe cdc_acm"),
                                QStringLiteral("sudo apt install --reinstall mkconf"),
                                QStringLiteral("sudo usermod -aG dialout $USER"),
                                QStringLiteral("kill 200"),
                                QStringLiteral("sudo apt remove brltty"),
                                QStringLiteral("sudo rm -f ") + sys.path(QStringLiteral("lock/LCK..ttyACM1"))};
         }},
        {"rule installed after the device was plugged in",
         [](FakeSystem &sys) {
             // Root's node, no stable name, ModemManager not told: one cause, one fix.
             sys.usbDevice(QStringLiteral("1-2"), "04d8", "000a", "Trivolantics МК", {QStringLiteral("ttyACM0")});
             sys.installRule();
             sys.udevRecord(0, false);
             sys.access[QStringLiteral("ttyACM0")] = NodeAccess{true, QStringLiteral("root"), 0600, false, false};
             sys.process(400, "ModemManager");
         },
         [](const FakeSystem &) {
             return QStringList{QStringLiteral(
                 "sudo udevadm control --reload-rules && sudo udevadm trigger --subsystem-match=tty --action=change")};
         }},
        {"joined dialout but not logged in again; ModemManager holds the node",
         [](FakeSystem &sys) {
             healthyDevice(sys);
             sys.access[QStringLiteral("ttyACM0")] = dialoutNode(false);
             sys.accountGroups << QStringLiteral("dialout");
             sys.process(400, "ModemManager", {QStringLiteral("ttyACM0")});
             sys.write(QStringLiteral("lock/LCK..ttyACM0"), QByteArray("\x90\x01\x00\x00", 4)); // binary pid 400, alive
         },
         [](const FakeSystem &) {
             return QStringList{QStringLiteral("newgrp dialout"), QStringLiteral("sudo systemctl stop ModemManager")};
         }},
    };
    for (const Scenario &s : scenarios) {
        SCOPED_TRACE(s.name);
        FakeSystem sys;
        s.setup(sys);
        const ConnectionReport report = checkConnection(sys.facts());
        EXPECT_EQ(fixesOf(report), s.fixes(sys));
        for (const CheckProblem &p : report.problems) {
            EXPECT_FALSE(p.text.isEmpty());
            EXPECT_TRUE(report.text().contains(p.text));
        }
        const QJsonObject json = report.json();
        EXPECT_EQ(json[QStringLiteral("problems")].toArray().size(), report.problems.size());
    }
}

// Lock files of both formats on the device's node: the holding program is named, and removal is
// advised only when the process the file names is gone.
TEST(ConnectionCheck, LocksOfBothFormatsLiveAndDead)
{
    const QByteArray library = "\nbox\n0123456789abcdef\nfedcba9876543210\n"; // after the pid and program
    const struct
    {
        const char *name;
        QByteArray lock;
        const char *process; // running as pid 700; nullptr: no such process
        const char *program; // named in the report's lock list
        const char *fix;     // the lock's or the holder's fix; nullptr: no problem at all
    } cases[] = {
        {"library format, mkconf exchanging", "700\nmkconf" + library, "mkconf", "mkconf",
         "Дождитесь конца обмена в mkconf или закройте эту программу; файл блокировки она уберёт сама."},
        {"library format, another program", "700\ncutecom" + library, "cutecom", "cutecom", "kill 700"},
        {"library format, process gone", "700\nmkconf" + library, nullptr, "mkconf", "sudo rm -f "},
        {"library format, another computer", "700\nmkconf\nlaptop\n", nullptr, "mkconf",
         "Проверьте на laptop, работает ли ещё mkconf."},
        {"classic format, live", "       700\n", "minicom", "minicom", "kill 700"},
        {"classic format, process gone", "       700\n", nullptr, "", "sudo rm -f "},
        {"binary, live", QByteArray("\xBC\x02\x00\x00", 4), "mksim", "mksim",
         "Дождитесь конца обмена в mksim или закройте эту программу; файл блокировки она уберёт сама."},
        {"unreadable", "garbage", nullptr, "", "fuser -v "},
        {"library format, process ended but not waited for", "700\nmkconf" + library, "zombie", "mkconf",
         "sudo rm -f "},
        {"empty", "", "mkconf", "", "fuser -v "},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        FakeSystem sys;
        healthyDevice(sys);
        if (c.process && QByteArray(c.process) == "zombie")
            sys.write(QStringLiteral("proc/700/stat"), "700 (mkconf) Z 1 700 700 0 -1\n");
        else if (c.process)
            sys.process(700, c.process);
        sys.write(QStringLiteral("lock/LCK..ttyACM0"), c.lock);
        const ConnectionReport report = checkConnection(sys.facts());
        ASSERT_EQ(report.locks.size(), 1);
        EXPECT_EQ(report.locks[0].program, QString::fromUtf8(c.program));
        EXPECT_EQ(report.locks[0].alive, c.process != nullptr && QByteArray(c.process) != "zombie" &&
                                             !c.lock.isEmpty() && c.lock != "garbage");
        const QStringList fixes = fixesOf(report);
        ASSERT_EQ(fixes.size(), 1) << fixes.join(QLatin1Char('|')).toStdString();
        EXPECT_TRUE(fixes[0].startsWith(QString::fromUtf8(c.fix))) << fixes[0].toStdString();
        const bool removal = fixes[0].contains(QStringLiteral("rm "));
        EXPECT_EQ(removal, !report.staleLocks.isEmpty());
        EXPECT_EQ(removal, QByteArray(c.fix).startsWith("sudo rm"));
        if (*c.program) {
            EXPECT_TRUE(report.text().contains(QString::fromUtf8(c.program)));
        }
    }
}

// How the program was installed decides how its missing rule is put back; with the demo device
// nothing is missing for the demonstration.
TEST(ConnectionCheck, RuleFixFollowsTheInstallationAndTheDemoNeedsNoDevice)
{
    FakeSystem sys;
    EXPECT_EQ(fixesOf(checkConnection(sys.facts())).value(1), QStringLiteral("sudo apt install --reinstall mkconf"));

    sys.write(QStringLiteral("src/packaging/60-mkconf.rules"), "");
    sys.write(QStringLiteral("src/build/bin/mkconf"), "");
    sys.programPath = sys.path(QStringLiteral("src/build/bin/mkconf"));
    ConnectionReport report = checkConnection(sys.facts());
    EXPECT_EQ(report.installation.kind, Installation::Source);
    EXPECT_TRUE(fixesOf(report).value(1).startsWith(
        QStringLiteral("sudo cp %1 /etc/udev/rules.d/")
            .arg(QFileInfo(sys.path(QStringLiteral("src/packaging/60-mkconf.rules"))).canonicalFilePath())))
        << fixesOf(report).value(1).toStdString();
    EXPECT_TRUE(report.text().contains(QStringLiteral("Программа: собрана из исходников")));

    sys.write(QStringLiteral("opt/mk/bin/mkconf"), "");
    sys.programPath = sys.path(QStringLiteral("opt/mk/bin/mkconf"));
    report = checkConnection(sys.facts());
    EXPECT_EQ(report.installation.kind, Installation::Installed);
    EXPECT_TRUE(fixesOf(report).value(1).startsWith(QStringLiteral("sudo cmake --install")));

    sys.demoNode = QStringLiteral("/dev/pts/7");
    report = checkConnection(sys.facts());
    EXPECT_TRUE(report.problems.isEmpty()) << report.text().toStdString();
    EXPECT_TRUE(report.text().contains(QStringLiteral("Демонстрационный МК (имитатор): /dev/pts/7")));
    EXPECT_EQ(report.json()[QStringLiteral("demo_node")].toString(), QStringLiteral("/dev/pts/7"));
}

TEST(ConnectionCheck, ReportsTheDevicesNodesAndTheSystemsFacts)
{
    FakeSystem sys;
    healthyDevice(sys);
    sys.usbDevice(QStringLiteral("1-4"), "04d8", "000a", "CDC RS-232", {QStringLiteral("ttyACM1")});
    sys.usbDevice(QStringLiteral("2-1"), "0403", "6001", "FT232R", {QStringLiteral("ttyUSB0")});
    sys.process(500, "picocom", {QStringLiteral("ttyACM1")});
    const ConnectionReport report = checkConnection(sys.facts());

    ASSERT_EQ(report.devices.size(), 2);
    const UsbDeviceReport &mk = report.devices[0];
    EXPECT_EQ(mk.usbPath, QStringLiteral("1-2"));
    EXPECT_TRUE(mk.marker);
    ASSERT_EQ(mk.nodes.size(), 1);
    EXPECT_EQ(mk.nodes[0].node, sys.path(QStringLiteral("dev/ttyACM0")));
    EXPECT_EQ(mk.nodes[0].link, sys.path(QStringLiteral("dev/mk-0")));
    EXPECT_TRUE(mk.nodes[0].access.userAcl);
    EXPECT_TRUE(mk.nodes[0].holders.isEmpty()); // this program's own handle does not count
    EXPECT_EQ(mk.nodes[0].modemManagerIgnores, std::optional<bool>(true));
    // Same identity, no marker word: listed, and its holder found.
    EXPECT_FALSE(report.devices[1].marker);
    ASSERT_EQ(report.devices[1].nodes.size(), 1);
    ASSERT_EQ(report.devices[1].nodes[0].holders.size(), 1);
    EXPECT_EQ(report.devices[1].nodes[0].holders[0].name, QStringLiteral("picocom"));
    EXPECT_EQ(report.devices[1].nodes[0].modemManagerIgnores, std::nullopt);

    EXPECT_EQ(report.ruleFile, sys.path(QStringLiteral("rules/60-mkconf.rules")));
    EXPECT_TRUE(report.modemManagerRunning);
    EXPECT_FALSE(report.brlttyInstalled);
    const QString text = report.text();
    EXPECT_TRUE(text.contains(QStringLiteral("%1 — %2").arg(mk.nodes[0].node, mk.nodes[0].link))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("(не МК: нет слова Trivolantics)"))) << text.toStdString();
    // The other product's node is no concern of the check while the trip computer is there.
    EXPECT_TRUE(report.problems.isEmpty()) << text.toStdString();

    // Alone, it is named where the trip computer is missing.
    FakeSystem other;
    other.usbDevice(QStringLiteral("1-4"), "04d8", "000a", "CDC RS-232", {QStringLiteral("ttyACM1")});
    other.installRule();
    const ConnectionReport alone = checkConnection(other.facts());
    ASSERT_EQ(alone.problems.size(), 1);
    EXPECT_EQ(alone.problems[0].text,
              QStringLiteral("МК не найден среди устройств USB (04d8:000a). 1-4 («CDC RS-232») с тем же "
                             "идентификатором USB — не МК: в названии изделия и изготовителя нет слова Trivolantics."));
}

TEST(ConnectionCheck, ACommentedForeignOrMaskedRuleIsNotTheDevicesRule)
{
    FakeSystem sys;
    sys.write(QStringLiteral("rules/50-other.rules"),
              "# SUBSYSTEM==\"tty\", ATTRS{idVendor}==\"04d8\", ATTRS{idProduct}==\"000a\", MODE=\"0666\"\n"
              "SUBSYSTEM==\"tty\", ATTRS{idVendor}==\"04d8\", ATTRS{idProduct}==\"00df\", MODE=\"0666\"\n");
    EXPECT_TRUE(checkConnection(sys.facts()).ruleFile.isEmpty());
    sys.write(QStringLiteral("rules/99-local.rules"),
              "SUBSYSTEM==\"tty\", ATTRS{idVendor}==\"04D8\", ATTRS{idProduct}==\"000A\", GROUP=\"plugdev\"\n");
    EXPECT_EQ(checkConnection(sys.facts()).ruleFile, sys.path(QStringLiteral("rules/99-local.rules")));

    // The package's rule in a later folder, turned off by a link to /dev/null in an earlier one.
    FakeSystem masked;
    QDir().mkpath(masked.path(QStringLiteral("missing-rules")));
    ASSERT_TRUE(QFile::copy(QStringLiteral(MK_TEST_DATA "/../../packaging/60-mkconf.rules"),
                            masked.path(QStringLiteral("missing-rules/60-mkconf.rules"))));
    EXPECT_EQ(checkConnection(masked.facts()).ruleFile, masked.path(QStringLiteral("missing-rules/60-mkconf.rules")));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), masked.path(QStringLiteral("rules/60-mkconf.rules"))));
    EXPECT_TRUE(checkConnection(masked.facts()).ruleFile.isEmpty());
}

#ifndef Q_OS_WIN
// udev's record through libudev: a tty udev has never handled has none, and is unknown rather
// than "not told".
TEST(ConnectionCheck, UdevHasNoRecordOfATtyThatIsNotThere)
{
    const SystemFacts facts = systemFacts();
    ASSERT_TRUE(facts.modemManagerIgnores);
    EXPECT_EQ(facts.modemManagerIgnores(QStringLiteral("ttyACM999")), std::nullopt);
    EXPECT_EQ(facts.modemManagerIgnores(QStringLiteral("../../null")), std::nullopt);
}
#endif

// Windows: the copy in the folder the installer's record names is the installed one, whatever
// the slashes and letter case; a copy elsewhere (the zip's) is not, nor one in a folder below.
TEST(ConnectionCheck, TheInstallersCopyOnWindowsIsKnownByItsRecord)
{
    const QString record = QStringLiteral("C:\\Users\\Ann\\AppData\\Local\\Programs\\mkconf");
    for (const QString &program : {QStringLiteral("C:\\Users\\Ann\\AppData\\Local\\Programs\\mkconf\\mkconf.exe"),
                                   QStringLiteral("c:/users/ann/appdata/local/programs/MKCONF/mktool.exe")}) {
        const Installation install = installerInstallation(program, record + QStringLiteral("\\"));
        EXPECT_EQ(install.kind, Installation::Installer) << program.toStdString();
        EXPECT_EQ(install.prefix, record);
        EXPECT_EQ(install.programPath, program);
    }
    for (const auto &[program, location] :
         {std::pair{QStringLiteral("D:\\mkconf-1.0.0\\mkconf.exe"), record},
          std::pair{record + QStringLiteral("\\manual\\mkconf.exe"), record},
          std::pair{record + QStringLiteral("2\\mkconf.exe"), record},
          std::pair{record + QStringLiteral("\\mkconf.exe"), QString()}})
        EXPECT_EQ(installerInstallation(program, location).kind, Installation::Unknown) << program.toStdString();

    ConnectionReport report;
    report.system = ConnectionReport::Windows;
    report.installation = installerInstallation(record + QStringLiteral("\\mktool.exe"), record);
    EXPECT_TRUE(report.text().contains(QStringLiteral("Программа: установлена установщиком в %1 (%1\\mktool.exe)")
                                           .arg(record)))
        << report.text().toStdString();
    EXPECT_EQ(report.json()[QStringLiteral("installation")].toString(), QStringLiteral("installer"));
    report.installation = installerInstallation(QStringLiteral("D:\\mk\\mktool.exe"), record);
    EXPECT_FALSE(report.text().contains(QStringLiteral("не из пакета"))) << report.text().toStdString();
}

// On Windows a problem comes with numbered steps, not a command; the summary says so.
TEST(ConnectionCheck, WindowsProblemsGiveNumberedSteps)
{
    ConnectionReport report;
    report.system = ConnectionReport::Windows;
    report.problems << CheckProblem{QStringLiteral("COM7 занят."), QString(),
                                    {QStringLiteral("Закройте программу."), QStringLiteral("Повторите проверку.")}};
    const QString text = report.text();
    EXPECT_TRUE(text.contains(QStringLiteral("1. COM7 занят.\n   Как исправить:\n   1) Закройте программу.\n"
                                             "   2) Повторите проверку.\n")))
        << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("Исправить:")));
    for (const QString &linuxWord : {QStringLiteral("udev"), QStringLiteral("ModemManager"), QStringLiteral("brltty")})
        EXPECT_FALSE(text.contains(linuxWord)) << linuxWord.toStdString();
    EXPECT_EQ(report.summary(), QStringLiteral("Найдено проблем: 1. Под каждой — шаги по порядку, которые её устраняют."));
    const QJsonObject problem = report.json()[QStringLiteral("problems")].toArray().first().toObject();
    EXPECT_EQ(problem[QStringLiteral("steps")].toArray().size(), 2);

    report.system = ConnectionReport::Linux;
    report.problems = {CheckProblem{QStringLiteral("Нет правила."), QStringLiteral("sudo cp ..."), {}}};
    EXPECT_TRUE(report.text().contains(QStringLiteral("   Исправить: sudo cp ...")));
    EXPECT_EQ(report.summary(), QStringLiteral("Найдено проблем: 1. Под каждой — команда, которая её устраняет."));
}

TEST(ConnectionCheck, PortFailuresOfferTheCheckOtherErrorsDoNot)
{
    // Told by kind, whatever the words: a port that cannot be opened or a device not reached.
    for (const ErrorKind k : {ErrorKind::PortDenied, ErrorKind::PortBusy, ErrorKind::NoLink, ErrorKind::DeviceMissing,
                              ErrorKind::PortMissing})
        EXPECT_TRUE(isPortOpenFailure(k)) << errorKindName(k).toStdString();
    for (const ErrorKind k : {ErrorKind::BadValue, ErrorKind::DeviceBusy, ErrorKind::Refused, ErrorKind::Other,
                              ErrorKind::Timeout, ErrorKind::FileIo, ErrorKind::Damaged, ErrorKind::Cancelled})
        EXPECT_FALSE(isPortOpenFailure(k)) << errorKindName(k).toStdString();
}

TEST(ConnectionCheck, MktoolDoctorPrintsTheReportAndFailsOnProblems)
{
    const ToolRun json = mktool({QStringLiteral("doctor"), QStringLiteral("--json")});
    ASSERT_TRUE(json.code == 0 || json.code == 1) << json.err.toStdString();
    const QJsonDocument doc = QJsonDocument::fromJson(json.out);
    ASSERT_TRUE(doc.isObject()) << json.out.toStdString();
    const QJsonArray problems = doc.object()[QStringLiteral("problems")].toArray();
    EXPECT_EQ(json.code == 1, !problems.isEmpty());
    const ToolRun text = mktool({QStringLiteral("doctor")});
    EXPECT_EQ(text.code, json.code);
    EXPECT_TRUE(QString::fromUtf8(text.out).contains(QStringLiteral("Правило udev:")));
    EXPECT_EQ(mktool({QStringLiteral("doctor"), QStringLiteral("extra")}).code, 2);
    // The help names what this system's check looks at, and the folders as Linux spells them.
    const QString help = QString::fromUtf8(mktool({QStringLiteral("--help")}).out);
    EXPECT_TRUE(help.contains(QStringLiteral("правило udev"))) << help.toStdString();
    EXPECT_TRUE(help.contains(QStringLiteral("~/.local/share/mkconf/backups")));
    EXPECT_TRUE(help.contains(QStringLiteral("~/.local/share/mkconf/history.sqlite")));
    EXPECT_FALSE(help.contains(QStringLiteral("Диспетчер")));
}

} // namespace
} // namespace mk::test
