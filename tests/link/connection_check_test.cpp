// The connection check against a faked system: folders standing in for sysfs, /dev, /proc,
// the udev rules and database and the lock folders, and fixed answers for groups and rights.

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

#include <gtest/gtest.h>

namespace mk::test {
namespace {

class FakeSystem
{
public:
    FakeSystem()
    {
        for (const char *folder : {"sys/bus/usb/devices", "dev", "proc", "udev/data", "rules", "lock", "bin"})
            QDir().mkpath(path(QString::fromLatin1(folder)));
        QFile::link(path(QStringLiteral("lock")), path(QStringLiteral("runlock"))); // /var/lock -> /run/lock
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
        write(QStringLiteral("udev/data/c166:%1").arg(minor),
              QByteArray("E:ID_VENDOR_ID=04d8\n") + (ignoredByModemManager ? "E:ID_MM_DEVICE_IGNORE=1\n" : ""));
    }

    SystemFacts facts() const
    {
        SystemFacts f;
        f.sysfsRoot = path(QStringLiteral("sys"));
        f.devFolder = path(QStringLiteral("dev"));
        f.procRoot = path(QStringLiteral("proc"));
        f.udevDataFolder = path(QStringLiteral("udev/data"));
        f.udevRuleFolders = {path(QStringLiteral("rules")), path(QStringLiteral("missing-rules"))};
        f.lockFolders = {path(QStringLiteral("lock")), path(QStringLiteral("runlock"))};
        f.programFolders = {path(QStringLiteral("bin"))};
        f.sessionGroups = [this] { return sessionGroups; };
        f.accountGroups = [this] { return accountGroups; };
        f.nodeAccess = [this](const QString &node) { return access.value(QFileInfo(node).fileName(), NodeAccess{}); };
        f.ownPid = 1;
        return f;
    }

    QStringList sessionGroups{QStringLiteral("user")};
    QStringList accountGroups{QStringLiteral("user")};
    QHash<QString, NodeAccess> access;

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

TEST(ConnectionCheck, PortFailuresOfferTheCheckOtherErrorsDoNot)
{
    const QString label = QStringLiteral("COM3 (/dev/ttyACM0)");
    for (const QString &m : {permissionDeniedText(label), portInUseText(label), kNoLinkText, kDeviceNotSeenText,
                             kNoFreePortText, QStringLiteral("Порт /dev/mk-9 не найден.")})
        EXPECT_TRUE(isPortOpenFailure(m)) << m.toStdString();
    for (const QString &m : {kModelMismatchText, kBusyText, kUnsteadyReadText, QString(), QStringLiteral("Порт")})
        EXPECT_FALSE(isPortOpenFailure(m)) << m.toStdString();
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
}

} // namespace
} // namespace mk::test
