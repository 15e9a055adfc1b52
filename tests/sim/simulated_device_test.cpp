// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated device's commands and injected faults, in process.

#include "base/Error.h"
#include "link/LinkTexts.h"
#include "link/TKW_RS.h"
#include "sim/InMemoryPort.h"
#include "sim/SimulatedDevice.h"
#include "support/ErrorText.h"
#include "support/LinkFixture.h"

#include <gtest/gtest.h>

namespace mk::test {
namespace {

struct DeviceRig
{
    explicit DeviceRig(DeviceConfig config = {}) : device(config)
    {
        backend->addPort(1, InMemoryPort::deviceResponder(device));
        link = std::make_unique<TKW_RS>(backend);
        link->port().OpenPort(1);
        link->protocol().SetFirstByteTimeout(100);
    }
    void command(quint8 cmd, std::initializer_list<quint16> words, const QByteArray &bytes = {})
    {
        link->frame().BeginCommand(device.config().address, cmd);
        for (quint16 w : words)
            link->frame().PutWord(w);
        link->frame().PutBytes(bytes);
        link->protocol().Exchange();
    }
    SimulatedDevice device;
    std::shared_ptr<SimulatedPortBackend> backend = std::make_shared<SimulatedPortBackend>();
    std::unique_ptr<TKW_RS> link;
};

TEST(SimulatedDevice, SectionWriteAppliesOnlyWhenTheChunksAddUp)
{
    DeviceRig rig;
    const QByteArray data = QByteArray("0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ!?").left(40);
    rig.command(command::kBeginSectionWrite, {0x100, 40});
    rig.command(command::kWriteChunk, {0, 32}, data.left(32));
    rig.command(command::kWriteChunk, {1, 8}, data.mid(32));
    EXPECT_EQ(rig.device.memory().mid(0x100, 40), QByteArray(40, '\0')); // nothing before the end
    rig.command(command::kEndSectionWrite, {0x100, 40});
    EXPECT_EQ(rig.device.memory().mid(0x100, 40), data);
    // The end repeated (its answer was lost) is still fine.
    rig.command(command::kEndSectionWrite, {0x100, 40});

    rig.command(command::kBeginSectionWrite, {0x200, 40});
    rig.command(command::kWriteChunk, {0, 32}, data.left(32));
    EXPECT_EQ(errorTextOf([&] { rig.command(command::kEndSectionWrite, {0x200, 40}); }), kBusyText);
    EXPECT_EQ(rig.device.memory().mid(0x200, 40), QByteArray(40, '\0'));
    // Chunks past the content, too long, or without a begin are refused.
    rig.command(command::kBeginSectionWrite, {0x200, 40});
    EXPECT_EQ(errorTextOf([&] { rig.command(command::kWriteChunk, {1, 9}, data.left(9)); }), kBusyText);
    EXPECT_EQ(errorTextOf([&] { rig.command(command::kWriteChunk, {0, 33}, data.left(33)); }), kBusyText);
    EXPECT_EQ(errorTextOf([&] { rig.command(command::kBeginSectionWrite, {8190, 40}); }), kBusyText);
}

TEST(SimulatedDevice, ReadsBlocksWithinItsMemoryOnly)
{
    QByteArray memory(8192, '\0');
    for (int i = 0; i < memory.size(); ++i)
        memory[i] = char(i / 32);
    DeviceRig rig({0xFD, 0x0101, 8192});
    rig.device.setMemory(memory);
    rig.command(command::kReadBlock, {200});
    EXPECT_EQ(rig.link->frame().GetBytes(32), QByteArray(32, char(200)));
    EXPECT_EQ(errorTextOf([&] { rig.command(command::kReadBlock, {256}); }), kBusyText);
    rig.link->protocol().CommandExchange(0xFD, command::kIdentify);
    rig.link->frame().GetByte();
    EXPECT_EQ(rig.link->frame().GetWord(), 0x0101);
    EXPECT_EQ(errorTextOf([&] { rig.link->protocol().CommandExchange(0xFC, command::kIdentify); }), kNoLinkText);
    EXPECT_EQ(errorTextOf([&] { rig.link->protocol().CommandExchange(0xFD, 9); }), kNoLinkText);
}

TEST(SimulatedDevice, EachFaultKindGivesTheLinksMessage)
{
    const std::pair<Fault, QString> rows[] = {
        {Fault::DropByte, kInterByteText}, {Fault::BadChecksum, kExchangeErrorText + QStringLiteral("(0)")},
        {Fault::Busy, kBusyText},          {Fault::ZeroHeader, kExchangeErrorText + QStringLiteral("(4)")},
        {Fault::Silence, kNoLinkText},     {Fault::ShortFrame, kNoLinkText},
    };
    for (const auto &[fault, message] : rows) {
        DeviceRig rig;
        rig.device.setFaultChooser([kind = fault](const QByteArray &) { return kind; });
        EXPECT_EQ(errorTextOf([&] { rig.link->protocol().CommandExchange(0xFC, command::kIdentify); }), message);
        EXPECT_EQ(rig.device.requests().size(), 3u);
    }
}

TEST(SimulatedDevice, RandomFaultsFollowTheSeedAndRetriesCarryThrough)
{
    const auto run = [](quint64 seed) {
        DeviceRig rig;
        rig.device.setFaultRules(parseFaultRules(QStringLiteral("drop-byte:0.1,bad-checksum:0.05")), seed);
        for (int b = 1; b < 100; ++b)
            rig.command(command::kReadBlock, {quint16(b)});
        return rig.device.requests().size();
    };
    const size_t sent = run(42);
    EXPECT_GT(sent, 99u); // some were retried
    EXPECT_EQ(run(42), sent);
}

TEST(SimulatedDevice, LineFaultsKeepTheAnswerButNotItsTimingOrItsBytesAlone)
{
    const QByteArray request = framed(hex("08 FC 01 00 05 07 00")); // read block 7
    DeviceRig clean;
    const QByteArray answer = clean.device.respond(request)->bytes;
    ASSERT_EQ(answer.size(), 38);
    for (const Fault fault : {Fault::Late, Fault::Duplicate, Fault::Stray}) {
        DeviceRig rig;
        rig.device.setFaultChooser([kind = fault](const QByteArray &) { return kind; });
        const DeviceAnswer got = *rig.device.respond(request);
        switch (fault) {
        case Fault::Late:
            EXPECT_EQ(got.bytes, answer);
            EXPECT_EQ(got.lateMs, kDefaultLateMs);
            break;
        case Fault::Duplicate:
            EXPECT_EQ(got.bytes, answer + answer);
            EXPECT_EQ(got.lateMs, 0);
            break;
        default:
            EXPECT_EQ(got.bytes.mid(1), answer);
            EXPECT_EQ(got.lateMs, 0);
            break;
        }
    }
    // A random late rule carries its own delay; the stray byte's value follows the seed.
    DeviceRig rig;
    rig.device.setFaultRules(parseFaultRules(QStringLiteral("late:1:320")), 3);
    EXPECT_EQ(rig.device.respond(request)->lateMs, 320);
    const auto strayByte = [&](quint64 seed) {
        rig.device.setFaultRules(parseFaultRules(QStringLiteral("stray:1")), seed);
        return rig.device.respond(request)->bytes.at(0);
    };
    EXPECT_EQ(strayByte(11), strayByte(11));
}

TEST(SimulatedDevice, ALateAnswerHoldsUpTheNextOnTheVirtualLine)
{
    SimulatedDevice device({0xFC, 1, 8192});
    device.setFaultChooser([](const QByteArray &r) { return r[5] == 7 ? std::optional(Fault::Late) : std::nullopt; });
    VirtualClock clock;
    InMemoryPort port(clock, InMemoryPort::deviceResponder(device, 0, 1)); // 1 ms a byte
    const QByteArray late = framed(hex("08 FC 01 00 05 07 00")), next = framed(hex("08 FC 01 00 05 08 00"));
    port.write(late);
    clock.advance(151); // the client gave up and paused; the late answer is on its way
    EXPECT_EQ(port.pendingBytes(), 0);
    port.write(next);
    QByteArray got;
    std::vector<qint64> at;
    for (char c; at.size() < 76; clock.advance(1))
        while (port.read(&c, 1) == 1) {
            got += c;
            at.push_back(clock.nowMs());
        }
    SimulatedDevice clean({0xFC, 1, 8192});
    EXPECT_EQ(got, *clean.answer(late) + *clean.answer(next));
    EXPECT_EQ(at.front(), 8 + 150 + 1); // the request's line time, the delay, the first byte
    EXPECT_EQ(at[38], at[37] + 1);      // the next answer starts when the line is free, at its pace
}

TEST(SimulatedDevice, EveryDeliveryOnTheVirtualLineGivesTheSameBytesInOrder)
{
    const QByteArray first = framed(hex("08 FC 01 00 05 07 00")), second = framed(hex("08 FC 01 00 05 08 00"));
    SimulatedDevice clean({0xFC, 1, 8192});
    const QByteArray expected = *clean.answer(first) + *clean.answer(first) + *clean.answer(second);
    for (const char *delivery : {"byte", "packet", "packet:5", "chunk:1000", "chunk:70"}) {
        SCOPED_TRACE(delivery);
        SimulatedDevice device({0xFC, 1, 8192});
        device.setFaultChooser(
            [](const QByteArray &r) { return r[5] == 7 ? std::optional(Fault::Duplicate) : std::nullopt; });
        VirtualClock clock;
        InMemoryPort port(clock, InMemoryPort::deviceResponderAtRate(device, 115200));
        port.setDelivery(Delivery::parse(QString::fromLatin1(delivery)));
        port.write(first);
        port.write(second);
        QByteArray got;
        char buffer[256];
        for (int n; got.size() < expected.size() && clock.nowMs() < 1000; got.append(buffer, n)) {
            port.waitForBytes(10);
            n = port.read(buffer, int(sizeof buffer));
        }
        EXPECT_EQ(got, expected);
    }
}

TEST(SimulatedDevice, FaultRulesAreChecked)
{
    EXPECT_EQ(parseFaultRules(QStringLiteral("silence:1,short-frame:0.25")).size(), 2u);
    EXPECT_TRUE(parseFaultRules(QString()).empty());
    const std::vector<FaultRule> late = parseFaultRules(QStringLiteral("late:0.5,late:0.1:300,duplicate:0.2,stray:0"));
    ASSERT_EQ(late.size(), 4u);
    EXPECT_EQ(late[0].lateMs, kDefaultLateMs);
    EXPECT_EQ(late[1].lateMs, 300);
    EXPECT_EQ(late[2].kind, Fault::Duplicate);
    EXPECT_EQ(late[3].kind, Fault::Stray);
    for (const char *bad :
         {"silence", "silence:1.5", "noise:0.1", "stray:0.1:5", "late:0.1:", "late:0.1:-1", "late:0.1:300:1"})
        EXPECT_THROW(parseFaultRules(QString::fromLatin1(bad)), Error) << bad;
}

TEST(SimulatedDevice, ImageLeavesOutTheFirstBlockOfEachHalf)
{
    QByteArray memory(8192, '\0');
    for (int i = 0; i < memory.size(); ++i)
        memory[i] = char(i * 13);
    const QByteArray image = imageFromMemory(memory);
    ASSERT_EQ(image.size(), 8128);
    EXPECT_EQ(image.left(32), memory.mid(32, 32));
    EXPECT_EQ(image.mid(4064, 32), memory.mid(4128, 32));
    QByteArray back = memoryFromImage(image, 8192);
    back.replace(0, 32, memory.left(32));
    back.replace(4096, 32, memory.mid(4096, 32));
    EXPECT_EQ(back, memory);
    EXPECT_THROW(memoryFromImage(QByteArray(8129, 'x'), 8192), Error);
}

} // namespace
} // namespace mk::test
