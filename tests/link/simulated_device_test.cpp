// The simulated device's commands and injected faults, in process.

#include "link/InMemoryPort.h"
#include "link/LinkTexts.h"
#include "link/SimulatedDevice.h"
#include "link/TKW_RS.h"
#include "model/Error.h"
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
        link->OpenPort(1);
        link->SetFirstByteTimeout(100);
    }
    void command(quint8 cmd, std::initializer_list<quint16> words, const QByteArray &bytes = {})
    {
        link->BeginCommand(device.config().address, cmd);
        for (quint16 w : words)
            link->PutWord(w);
        link->PutBytes(bytes);
        link->Exchange();
    }
    QString failure(const std::function<void()> &f)
    {
        try {
            f();
        } catch (const Error &e) {
            return e.text();
        }
        return {};
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
    EXPECT_EQ(rig.failure([&] { rig.command(command::kEndSectionWrite, {0x200, 40}); }), kBusyText);
    EXPECT_EQ(rig.device.memory().mid(0x200, 40), QByteArray(40, '\0'));
    // Chunks past the content, too long, or without a begin are refused.
    rig.command(command::kBeginSectionWrite, {0x200, 40});
    EXPECT_EQ(rig.failure([&] { rig.command(command::kWriteChunk, {1, 9}, data.left(9)); }), kBusyText);
    EXPECT_EQ(rig.failure([&] { rig.command(command::kWriteChunk, {0, 33}, data.left(33)); }), kBusyText);
    EXPECT_EQ(rig.failure([&] { rig.command(command::kBeginSectionWrite, {8190, 40}); }), kBusyText);
}

TEST(SimulatedDevice, ReadsBlocksWithinItsMemoryOnly)
{
    QByteArray memory(8192, '\0');
    for (int i = 0; i < memory.size(); ++i)
        memory[i] = char(i / 32);
    DeviceRig rig({0xFD, 0x0101, 8192});
    rig.device.setMemory(memory);
    rig.command(command::kReadBlock, {200});
    EXPECT_EQ(rig.link->GetBytes(32), QByteArray(32, char(200)));
    EXPECT_EQ(rig.failure([&] { rig.command(command::kReadBlock, {256}); }), kBusyText);
    rig.link->CommandExchange(0xFD, command::kIdentify);
    rig.link->GetByte();
    EXPECT_EQ(rig.link->GetWord(), 0x0101);
    EXPECT_EQ(rig.failure([&] { rig.link->CommandExchange(0xFC, command::kIdentify); }), kNoLinkText);
    EXPECT_EQ(rig.failure([&] { rig.link->CommandExchange(0xFD, 9); }), kNoLinkText);
}

TEST(SimulatedDevice, EachFaultKindGivesTheLinksMessage)
{
    const std::pair<Fault, QString> rows[] = {
        {Fault::DropByte, kInterByteText},
        {Fault::BadChecksum, kExchangeErrorText + QStringLiteral("(0)")},
        {Fault::Busy, kBusyText},
        {Fault::ZeroHeader, kExchangeErrorText + QStringLiteral("(4)")},
        {Fault::Silence, kNoLinkText},
        {Fault::ShortFrame, kNoLinkText},
    };
    for (const auto &[fault, message] : rows) {
        DeviceRig rig;
        rig.device.setFaultChooser([fault](const QByteArray &) { return fault; });
        EXPECT_EQ(rig.failure([&] { rig.link->CommandExchange(0xFC, command::kIdentify); }), message);
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

TEST(SimulatedDevice, FaultRulesAreChecked)
{
    EXPECT_EQ(parseFaultRules(QStringLiteral("silence:1,short-frame:0.25")).size(), 2u);
    EXPECT_TRUE(parseFaultRules(QString()).empty());
    EXPECT_THROW(parseFaultRules(QStringLiteral("silence")), Error);
    EXPECT_THROW(parseFaultRules(QStringLiteral("silence:1.5")), Error);
    EXPECT_THROW(parseFaultRules(QStringLiteral("noise:0.1")), Error);
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
