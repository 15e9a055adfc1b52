// Automatic search for the device's port, the manual choice and the access check.

#include "link/AccessCheck.h"
#include "link/InMemoryPort.h"
#include "link/LinkTexts.h"
#include "link/PortChoice.h"
#include "link/PortDiscovery.h"
#include "link/PortMap.h"
#include "link/TKW_RS.h"
#include "model/Error.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace mk::test {
namespace {

using Instances = QList<QPair<QString, QString>>;

bool anyPresent(int)
{
    return true;
}

TEST(RegistryRule, PortDigitsAfterTheFirstCom)
{
    const auto port = [](const QString &name) {
        return portFromRegistryNames({{QStringLiteral("1&2"), name}}, anyPresent);
    };
    EXPECT_EQ(port(QStringLiteral("Trivolantics МК (COM5)")), 5);
    EXPECT_EQ(port(QStringLiteral("Trivolantics МК (COM12)")), 12);
    EXPECT_EQ(port(QStringLiteral("Trivolantics МК (COM123)")), 12);
    EXPECT_EQ(port(QStringLiteral("Trivolantics МК (COMx)")), 0);
    EXPECT_EQ(port(QStringLiteral("Trivolantics МК (COM")), 0);
    EXPECT_EQ(port(QStringLiteral("USB serial (COM5)")), 0);             // marker missing
    EXPECT_EQ(port(QStringLiteral("trivolantics МК (COM5)")), 0);        // marker is case-sensitive
}

TEST(RegistryRule, FirstInstanceWhosePortIsPresentWins)
{
    const Instances instances = {{QStringLiteral("a"), QStringLiteral("Other (COM2)")},
                                 {QStringLiteral("b"), QStringLiteral("Trivolantics (COM9)")},
                                 {QStringLiteral("c"), QStringLiteral("Trivolantics (COM4)")},
                                 {QStringLiteral("d"), QStringLiteral("Trivolantics (COM6)")}};
    QList<int> asked;
    const int n = portFromRegistryNames(instances, [&](int p) {
        asked << p;
        return p != 9;
    });
    EXPECT_EQ(n, 4);
    EXPECT_EQ(asked, (QList<int>{9, 4}));
}

SerialNodeInfo usbNode(const QString &node, quint16 vid, quint16 pid, const QString &product)
{
    return SerialNodeInfo{node, vid, pid, product, QStringLiteral("Microchip")};
}

TEST(SerialNodeRule, VendorProductAndMarkerAllCount)
{
    clearPortOverrides();
    EXPECT_EQ(portFromSerialNodes({usbNode(QStringLiteral("/dev/ttyACM1"), 0x04D8, 0x000A, QStringLiteral("Trivolantics MK"))}), 4);
    EXPECT_EQ(portFromSerialNodes({usbNode(QStringLiteral("/dev/ttyACM1"), 0x04D8, 0x000B, QStringLiteral("Trivolantics MK"))}), 0);
    EXPECT_EQ(portFromSerialNodes({usbNode(QStringLiteral("/dev/ttyACM1"), 0x04D8, 0x000A, QStringLiteral("CDC RS-232"))}), 0);
    EXPECT_EQ(portFromSerialNodes({SerialNodeInfo{QStringLiteral("/dev/ttyS0"), {}, {}, QStringLiteral("Trivolantics"), {}}}), 0);
    EXPECT_EQ(portFromSerialNodes({usbNode(QStringLiteral("/dev/ttyUSB0"), 0x1234, 0x000A, QStringLiteral("x")),
                                   usbNode(QStringLiteral("/dev/ttyACM0"), 0x04D8, 0x000A, QStringLiteral("Trivolantics MK"))}),
              3);
}

struct DiscoveryRig
{
    DiscoveryRig()
    {
        backend->addPort(1, silent);
        backend->addPort(4, silent);
        link = std::make_unique<TKW_RS>(backend);
    }
    static std::optional<TimedReply> silent(const QByteArray &) { return std::nullopt; }
    std::shared_ptr<SimulatedPortBackend> backend = std::make_shared<SimulatedPortBackend>();
    std::unique_ptr<TKW_RS> link;
};

TEST(FindDevicePort, SelectsTheDevicesPortAndLeavesItClosed)
{
    clearPortOverrides();
    DiscoveryRig rig;
    DeviceSearchSource source;
    source.serialNodes = [] {
        return QList<SerialNodeInfo>{usbNode(QStringLiteral("/dev/ttyACM1"), 0x04D8, 0x000A, QStringLiteral("Trivolantics MK"))};
    };
    FindDevicePort(*rig.link, true, source);
    EXPECT_EQ(rig.link->PortNumber(), 4);
    EXPECT_FALSE(rig.link->IsOpen());
    EXPECT_EQ(rig.backend->openCount(4), 1);
}

TEST(FindDevicePort, RegistryInstanceWithVanishedPortIsPassedOver)
{
    DiscoveryRig rig;
    DeviceSearchSource source;
    source.serialNodes = {};
    source.registryInstances = [] {
        return Instances{{QStringLiteral("old"), QStringLiteral("Trivolantics (COM7)")},
                         {QStringLiteral("new"), QStringLiteral("Trivolantics (COM4)")}};
    };
    FindDevicePort(*rig.link, true, source);
    EXPECT_EQ(rig.link->PortNumber(), 4);
}

TEST(FindDevicePort, NothingFoundIsNotSeenAndManualModeAsksNobody)
{
    DiscoveryRig rig;
    int asked = 0;
    DeviceSearchSource source;
    source.serialNodes = [&] {
        ++asked;
        return QList<SerialNodeInfo>{};
    };
    try {
        FindDevicePort(*rig.link, true, source);
        FAIL();
    } catch (const Error &e) {
        EXPECT_EQ(e.text(), kDeviceNotSeenText);
    }
    EXPECT_EQ(asked, 1);
    rig.link->OpenPort(4);
    rig.link->ClosePort();
    FindDevicePort(*rig.link, false, source);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(rig.link->PortNumber(), 4);
}

struct ScriptedPrompt : PasswordPrompt
{
    std::vector<std::optional<QString>> answers;
    QStringList prompts, errors;
    std::optional<QString> askPassword(const QString &prompt) override
    {
        prompts << prompt;
        if (answers.empty())
            return std::nullopt;
        auto a = answers.front();
        answers.erase(answers.begin());
        return a;
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
    DiscoveryRig rig;
    AccessGuard guard;
    guard.grant();
    ScriptedPrompt prompt;
    ScriptedChooser chooser;
    rig.link->OpenPort(4);
    chooser.port = 0;
    EXPECT_TRUE(SelectPortDialog(*rig.link, guard, prompt, chooser));
    ASSERT_EQ(chooser.shown.size(), 2);
    EXPECT_EQ(chooser.shown[0].text, QStringLiteral("COM1"));
    EXPECT_EQ(chooser.preselected, 1);
    EXPECT_EQ(rig.link->PortNumber(), 1);
    EXPECT_TRUE(rig.link->IsOpen());

    // A current port that is gone leaves nothing preselected; Cancel keeps the number.
    rig.backend->removePort(1);
    chooser.port.reset();
    EXPECT_TRUE(SelectPortDialog(*rig.link, guard, prompt, chooser));
    EXPECT_EQ(chooser.preselected, -1);
}

TEST(PortDialog, RefusedAccessDoesNothingAndNoPortIsAnError)
{
    auto backend = std::make_shared<SimulatedPortBackend>();
    TKW_RS link(backend);
    AccessGuard guard;
    ScriptedPrompt prompt;
    ScriptedChooser chooser;
    EXPECT_FALSE(SelectPortDialog(link, guard, prompt, chooser));
    EXPECT_TRUE(chooser.shown.isEmpty());
    guard.grant();
    EXPECT_THROW(SelectPortDialog(link, guard, prompt, chooser), Error);
}

TEST(BaudDialog, RefusedRateRestoresTheOldOne)
{
    DiscoveryRig rig;
    AccessGuard guard;
    guard.grant();
    ScriptedPrompt prompt;
    ScriptedChooser chooser;
    rig.link->OpenPort(1);
    chooser.baud = 57600;
    EXPECT_TRUE(SelectBaudDialog(*rig.link, guard, prompt, chooser));
    EXPECT_EQ(rig.link->BaudRate(), 57600u);
    rig.backend->portAt(1)->setMaxBaudRate(115200);
    chooser.baud = 921600;
    try {
        SelectBaudDialog(*rig.link, guard, prompt, chooser);
        FAIL();
    } catch (const Error &e) {
        EXPECT_EQ(e.text(), kBaudRefusedText);
    }
    EXPECT_EQ(rig.link->BaudRate(), 57600u);
    chooser.baud.reset();
    EXPECT_FALSE(SelectBaudDialog(*rig.link, guard, prompt, chooser));
}

} // namespace
} // namespace mk::test
