// SPDX-License-Identifier: GPL-3.0-or-later
// The manual choice of the port and the baud rate, the access check that guards them, and
// the port number kept in the ini file.

#include "app/AccessCheck.h"
#include "app/LinkSettings.h"
#include "app/PortChoice.h"
#include "base/Error.h"
#include "link/PortMap.h"
#include "link/SerialPort.h"
#include "support/LinkFixture.h"

#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace mk::test {
namespace {

struct ScriptedPrompt : PasswordPrompt
{
    std::vector<std::optional<QString>> answers;
    size_t answered = 0;
    QStringList prompts, errors;
    std::optional<QString> askPassword(const QString &prompt) override
    {
        prompts << prompt;
        return answered < answers.size() ? answers[answered++] : std::nullopt;
    }
    void showError(const QString &text) override { errors << text; }
};

TEST(AccessCheck, WrongCaseEmptyOrCancelAreRefusedThenOneGoodEntryLastsTheRun)
{
    AccessGuard guard;
    ScriptedPrompt prompt;
    prompt.answers = {QStringLiteral("qxr"), QString(), std::nullopt, QStringLiteral("QXR")};
    EXPECT_FALSE(guard.CheckAccess(prompt));
    EXPECT_FALSE(guard.CheckAccess(prompt));
    EXPECT_FALSE(guard.CheckAccess(prompt));
    EXPECT_FALSE(guard.granted());
    EXPECT_EQ(prompt.errors, QStringList(3, kWrongPasswordText));
    EXPECT_TRUE(guard.CheckAccess(prompt));
    EXPECT_TRUE(guard.CheckAccess(prompt));
    EXPECT_EQ(prompt.prompts, QStringList(4, kPasswordPromptText));
}

TEST(AccessCheck, GrantedAtStartNeverAsks)
{
    AccessGuard guard;
    guard.grant();
    ScriptedPrompt prompt;
    EXPECT_TRUE(guard.CheckAccess(prompt));
    EXPECT_TRUE(prompt.prompts.isEmpty());
}

struct ScriptedChooser : PortChooser, BaudChooser
{
    std::optional<int> port;
    QString typed; // answered instead of a row when set
    std::optional<quint32> baud;
    QList<PortChoiceItem> shown;
    int preselected = -2;
    std::optional<PortAnswer> choosePort(const QList<PortChoiceItem> &items, int pre, const PortListRefresh &) override
    {
        shown = items;
        preselected = pre;
        if (!typed.isEmpty())
            return PortAnswer{-1, typed};
        if (!port)
            return std::nullopt;
        return PortAnswer{*port};
    }
    std::optional<quint32> chooseBaud(quint32) override { return baud; }
};

TEST(PortDialog, ListsPresentPortsPreselectsTheCurrentAndOpensTheChoice)
{
    PortRig rig;
    AccessGuard guard;
    guard.grant();
    ScriptedPrompt prompt;
    ScriptedChooser chooser;
    rig.port->OpenPort(4);
    chooser.port = 0;
    EXPECT_TRUE(SelectPortDialog(*rig.port, guard, prompt, chooser));
    ASSERT_EQ(chooser.shown.size(), 2);
    EXPECT_EQ(chooser.shown[0].text, QStringLiteral("COM1"));
    EXPECT_EQ(chooser.preselected, 1);
    EXPECT_EQ(rig.port->PortNumber(), 1);
    EXPECT_TRUE(rig.port->IsOpen());

    // A current port that is gone leaves nothing preselected; Cancel keeps the number.
    rig.backend->removePort(1);
    chooser.port.reset();
    EXPECT_TRUE(SelectPortDialog(*rig.port, guard, prompt, chooser));
    EXPECT_EQ(chooser.preselected, -1);
}

TEST(PortDialog, PortsTheDevicesLinkLeadsToComeFirst)
{
    PortRig rig;
    rig.backend->addPort(9, PortRig::silent);
    rig.backend->setDeviceLink(9, QStringLiteral("/dev/mk-0"));
    rig.backend->addPort(40, PortRig::silent);
    rig.backend->addPort(256, PortRig::silent);
    rig.backend->setDeviceLink(256, QStringLiteral("/dev/mk-1"));
    rig.port->ScanPorts();
    rig.port->OpenPort(4);
    rig.port->ClosePort();
    int preselected = -2;
    const QList<PortChoiceItem> items = portChoiceItems(*rig.port, &preselected);
    QList<int> numbers;
    for (const PortChoiceItem &item : items)
        numbers << item.number;
    EXPECT_EQ(numbers, (QList<int>{9, 256, 1, 4, 40}));
    EXPECT_EQ(preselected, 3); // still the current port, wherever it stands

    // The choice is by number, not by row.
    AccessGuard guard;
    guard.grant();
    ScriptedPrompt prompt;
    ScriptedChooser chooser;
    chooser.port = 0;
    EXPECT_TRUE(SelectPortDialog(*rig.port, guard, prompt, chooser));
    EXPECT_EQ(rig.port->PortNumber(), 9);
}

// A typed number or COMn picks that port; a number out of range, a port not present or a word
// is refused with a message naming it, and the port stays as it was.
TEST(PortDialog, ATypedPortIsTakenOrRefusedByName)
{
    PortRig rig;
    rig.backend->addPort(40, PortRig::silent);
    rig.port->ScanPorts();
    AccessGuard guard;
    guard.grant();
    ScriptedPrompt prompt;
    ScriptedChooser chooser;
    rig.port->OpenPort(1);
    rig.port->ClosePort();
    for (const auto &[typed, port] : {std::pair{"com40", 40}, std::pair{" 4 ", 4}}) {
        chooser.typed = QString::fromLatin1(typed);
        EXPECT_TRUE(SelectPortDialog(*rig.port, guard, prompt, chooser)) << typed;
        EXPECT_EQ(rig.port->PortNumber(), port) << typed;
    }
    for (const char *typed : {"COM257", "0", "порт", "ttyUSB0"}) {
        chooser.typed = QString::fromUtf8(typed);
        try {
            SelectPortDialog(*rig.port, guard, prompt, chooser);
            ADD_FAILURE() << typed;
        } catch (const Error &e) {
            EXPECT_TRUE(e.text().contains(chooser.typed.trimmed())) << e.text().toStdString();
        }
        EXPECT_EQ(rig.port->PortNumber(), 4) << typed;
    }
}

// Where ports are nodes with paths, a typed path of a present node gets a number of its own
// choosing, and is named by its path alone, in lists, in messages and in the ini file.
TEST(PortDialog, ATypedPathIsNamedByItsPathAndKeptAsTyped)
{
    if (!systemPortNode(1).startsWith(QLatin1Char('/')))
        GTEST_SKIP() << "ports are named by numbers here";
    clearPortOverrides();
    const QString node = QStringLiteral("/dev/null"); // a character device anyone may open
    const int n = typedPortChoice(node);
    ASSERT_GE(n, 1);
    EXPECT_TRUE(isAssignedPort(n));
    EXPECT_EQ(portLabel(n), node);
    EXPECT_FALSE(portDisplayName(n).contains(QStringLiteral("COM")));
    EXPECT_EQ(typedPortChoice(node), n); // the same node, the same number
    EXPECT_THROW(typedPortChoice(QStringLiteral("/dev/no-such-node")), Error);
    // A number set on purpose keeps its COM name.
    setPortOverride(7, node);
    EXPECT_FALSE(isAssignedPort(7));
    EXPECT_EQ(portLabel(7), QStringLiteral("COM7 (/dev/null)"));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("mkconf.ini"));
    {
        SerialPort port;
        port.SelectPort(n);
        QSettings ini(path, QSettings::IniFormat);
        SaveSettings(port, ini);
    }
    EXPECT_EQ(QSettings(path, QSettings::IniFormat).value(QStringLiteral("RS232/Port")).toString(), node);
    clearPortOverrides(); // as at the next start
    SerialPort again;
    QSettings ini(path, QSettings::IniFormat);
    LoadSettings(again, ini);
    EXPECT_EQ(nodeForPort(again.PortNumber()), node);
    EXPECT_TRUE(isAssignedPort(again.PortNumber()));
    clearPortOverrides();
}

// With the system's serial nodes: a numbered port carries its USB device's name, and a node no
// number stands for follows the numbered ports, chosen by its path.
TEST(PortDialog, TheSystemsNodesAddUsbNamesAndUnnumberedNodes)
{
    if (!systemPortNode(1).startsWith(QLatin1Char('/')))
        GTEST_SKIP() << "ports are named by numbers here";
    clearPortOverrides();
    PortRig rig;
    rig.port->ScanPorts();
    const QList<SerialNodeInfo> nodes{
        {nodeForPort(4), 0x04D8, 0x000A, QStringLiteral("Trip computer"), QStringLiteral("Maker"), {}},
        {QStringLiteral("/dev/null"), {}, {}, QStringLiteral("Pseudo line"), {}, {}},
        {QStringLiteral("/dev/no-such-node"), {}, {}, {}, {}, {}}};
    const QList<PortChoiceItem> items = portChoiceItems(*rig.port, nullptr, nodes);
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0].text, QStringLiteral("COM1"));
    EXPECT_EQ(items[1].text, QStringLiteral("COM4 — Trip computer (Maker)"));
    EXPECT_EQ(items[2].number, 0);
    EXPECT_EQ(items[2].text, QStringLiteral("/dev/null — Pseudo line"));

    AccessGuard guard;
    guard.grant();
    ScriptedPrompt prompt;
    ScriptedChooser chooser;
    chooser.port = 2;
    const auto listed = [&nodes] { return nodes; };
    EXPECT_TRUE(SelectPortDialog(*rig.port, guard, prompt, chooser, listed));
    EXPECT_TRUE(isAssignedPort(portForNode(QStringLiteral("/dev/null"))));
    clearPortOverrides();
}

// With no port present the dialog opens all the same, empty, for a port to be typed; OK with
// nothing typed is "Нет свободного COM-порта!", Cancel nothing.
TEST(PortDialog, RefusedAccessDoesNothingAndNoPortStillLetsOneBeTyped)
{
    clearPortOverrides();
    auto backend = std::make_shared<SimulatedPortBackend>();
    SerialPort port(backend);
    AccessGuard guard;
    ScriptedPrompt prompt;
    ScriptedChooser chooser;
    EXPECT_FALSE(SelectPortDialog(port, guard, prompt, chooser));
    EXPECT_EQ(chooser.preselected, -2); // never shown
    guard.grant();
    EXPECT_TRUE(SelectPortDialog(port, guard, prompt, chooser)); // cancelled
    EXPECT_TRUE(chooser.shown.isEmpty());
    EXPECT_EQ(chooser.preselected, -1);
    EXPECT_FALSE(port.IsOpen());
    chooser.port = 0; // OK on an empty list
    try {
        SelectPortDialog(port, guard, prompt, chooser);
        ADD_FAILURE() << "OK with nothing listed or typed";
    } catch (const Error &e) {
        EXPECT_EQ(e.text(), QStringLiteral("Нет свободного COM-порта!"));
    }
    if (systemPortNode(1).startsWith(QLatin1Char('/'))) {
        // A node no list shows: the number it gets is the simulated port that answers.
        backend->addPort(typedPortChoice(QStringLiteral("/dev/null")), PortRig::silent);
        chooser.typed = QStringLiteral("/dev/null");
        EXPECT_TRUE(SelectPortDialog(port, guard, prompt, chooser));
        EXPECT_EQ(nodeForPort(port.PortNumber()), QStringLiteral("/dev/null"));
    }
    clearPortOverrides();
}

TEST(BaudDialog, RefusedRateRestoresTheOldOne)
{
    PortRig rig;
    AccessGuard guard;
    guard.grant();
    ScriptedPrompt prompt;
    ScriptedChooser chooser;
    rig.port->OpenPort(1);
    chooser.baud = 57600;
    EXPECT_TRUE(SelectBaudDialog(*rig.port, guard, prompt, chooser));
    EXPECT_EQ(rig.port->BaudRate(), 57600u);
    rig.backend->portAt(1)->setMaxBaudRate(115200);
    chooser.baud = 921600;
    try {
        SelectBaudDialog(*rig.port, guard, prompt, chooser);
        FAIL();
    } catch (const Error &e) {
        EXPECT_EQ(e.text(), kBaudRefusedText);
    }
    EXPECT_EQ(rig.port->BaudRate(), 57600u);
    chooser.baud.reset();
    EXPECT_FALSE(SelectBaudDialog(*rig.port, guard, prompt, chooser));
}

TEST(LinkSettings, PortNumberLivesUnderRs232Port)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("mkconf.ini"));
    auto backend = std::make_shared<SimulatedPortBackend>();
    backend->addPort(2, PortRig::silent);
    backend->addPort(5, PortRig::silent);
    {
        SerialPort port(backend);
        EXPECT_EQ(kLinkSettingsGroup, QStringLiteral("RS232"));
        port.OpenPort(5);
        QSettings ini(path, QSettings::IniFormat);
        SaveSettings(port, ini);
    }
    EXPECT_EQ(QSettings(path, QSettings::IniFormat).value(QStringLiteral("RS232/Port")).toInt(), 5);
    SerialPort again(backend);
    QSettings ini(path, QSettings::IniFormat);
    LoadSettings(again, ini);
    EXPECT_EQ(again.PortNumber(), 5);
    EXPECT_FALSE(again.IsOpen()); // the first exchange opens it, not the start

    // Every COM number is kept; a number no port can have leaves the port as it was.
    for (const auto &[stored, kept] : {std::pair{QVariant(256), 256}, std::pair{QVariant(257), 256},
                                       std::pair{QVariant(0), 256}, std::pair{QVariant(-3), 256},
                                       std::pair{QVariant(QStringLiteral("COM7")), 256}, std::pair{QVariant(40), 40}}) {
        ini.setValue(QStringLiteral("RS232/Port"), stored);
        LoadSettings(again, ini);
        EXPECT_EQ(again.PortNumber(), kept) << stored.toString().toStdString();
    }
}

} // namespace
} // namespace mk::test
