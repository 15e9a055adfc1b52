// SPDX-License-Identifier: GPL-3.0-or-later
// The manual choice of the port and the baud rate, the access check that guards them, and
// the port number kept in the ini file.

#include "app/AccessCheck.h"
#include "app/LinkSettings.h"
#include "app/PortChoice.h"
#include "base/Error.h"
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
    std::optional<quint32> baud;
    QList<PortChoiceItem> shown;
    int preselected = -2;
    std::optional<int> choosePort(const QList<PortChoiceItem> &items, int pre) override
    {
        shown = items;
        preselected = pre;
        return port;
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

TEST(PortDialog, RefusedAccessDoesNothingAndNoPortIsAnError)
{
    auto backend = std::make_shared<SimulatedPortBackend>();
    SerialPort port(backend);
    AccessGuard guard;
    ScriptedPrompt prompt;
    ScriptedChooser chooser;
    EXPECT_FALSE(SelectPortDialog(port, guard, prompt, chooser));
    EXPECT_TRUE(chooser.shown.isEmpty());
    guard.grant();
    EXPECT_THROW(SelectPortDialog(port, guard, prompt, chooser), Error);
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
