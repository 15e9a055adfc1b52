// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing the whole device memory through the real port code on a pseudo-terminal.

#include "base/FileIo.h"
#include "image/SettingsFile.h"
#include "image/TMK.h"
#include "link/DeviceExchange.h"
#include "link/ExchangeTexts.h"
#include "link/LinkTexts.h"
#include "support/PtyDevice.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

namespace mk::test {
namespace {

TMK modelFrom(const PtyDevice &d)
{
    TMK model;
    model.replaceImage(d.device.config().modelCode, imageFromMemory(d.device.memory()));
    return model;
}

// Blocks in the order first asked for (a block in doubt is asked for again after a probe).
std::vector<int> blocksRead(const PtyDevice &d)
{
    std::vector<int> blocks;
    for (const auto &[block, unused] : requestWords(d.device.requests(), command::kReadBlock))
        if (std::find(blocks.begin(), blocks.end(), block) == blocks.end())
            blocks.push_back(block);
    return blocks;
}

std::vector<int> expectedBlocks(int memorySize)
{
    std::vector<int> blocks;
    for (int b = 1; b < memorySize / 32; ++b)
        if (b != memorySize / 64)
            blocks.push_back(b);
    return blocks;
}

TEST(Exchange, ReadsAnEightKiBDeviceByteExact)
{
    PtyDevice d(0xFC, 0x0101);
    RecordingProgress progress;
    const std::optional<DeviceImage> got = readDevice(*d.link, progress);
    ASSERT_TRUE(got);
    EXPECT_EQ(got->device.address, 0xFC);
    EXPECT_EQ(got->device.modelCode, 0x0101);
    EXPECT_EQ(got->image.size(), 8128);
    EXPECT_EQ(got->image, imageFromMemory(d.device.memory()));
    EXPECT_EQ(blocksRead(d), expectedBlocks(8192));
    EXPECT_EQ(progress.texts, (QStringList{kConnectingText, kReadingText}));
    EXPECT_EQ(progress.gauge, (QList<bool>{false, true}));
    EXPECT_EQ(progress.values.first(), 0);
    EXPECT_EQ(progress.values[127], 50); // block 127 of 254
    EXPECT_EQ(progress.values.last(), 100);
    EXPECT_TRUE(std::is_sorted(progress.values.begin(), progress.values.end()));
    EXPECT_FALSE(d.link->port().IsOpen());
}

TEST(Exchange, FindsADeviceAnsweringOnlyAtFEOnTheThirdAttemptAndReadsIt)
{
    PtyDevice d(0xFE, 0x8002);
    int failedAttempts = 0;
    RecordingProgress progress;
    // Asked after each failed identify; a safety net ends the test if FE is never found.
    progress.cancelWhen = [&] { return progress.texts.last() == kConnectingText && ++failedAttempts > 10; };
    const std::optional<DeviceImage> got = readDevice(*d.link, progress);
    ASSERT_TRUE(got);
    EXPECT_EQ(failedAttempts, 2); // 0xFC and 0xFD stayed silent
    EXPECT_EQ(got->device.memorySize, 32768);
    EXPECT_EQ(got->image.size(), 32704);
    EXPECT_EQ(got->image, imageFromMemory(d.device.memory()));
    EXPECT_EQ(blocksRead(d), expectedBlocks(32768));
}

TEST(Exchange, CancelWhileConnectingEndsQuietlyWithThePortClosed)
{
    PtyDevice d(0xFD, 0x0101);
    d.device.setFaultChooser([](const QByteArray &) { return Fault::Silence; });
    RecordingProgress progress;
    progress.cancel();
    EXPECT_FALSE(readDevice(*d.link, progress));
    EXPECT_FALSE(d.link->port().IsOpen());
    TMK model = modelFrom(d);
    const QByteArray before = d.device.memory();
    QTemporaryDir backups;
    EXPECT_FALSE(writeDevice(*d.link, model, progress, backups.path()));
    EXPECT_EQ(d.device.memory(), before);
    EXPECT_TRUE(QDir(backups.path()).isEmpty());
}

TEST(Exchange, ReadFaultsAreRetriedOrReportedWithTheLinksMessage)
{
    PtyDevice d(0xFC, 0x0101);
    d.device.setFaultRules(parseFaultRules(QStringLiteral("bad-checksum:0.02,busy:0.02,zero-header:0.01")), 7);
    NullProgress quiet;
    std::optional<DeviceImage> got = readDevice(*d.link, quiet);
    ASSERT_TRUE(got);
    EXPECT_EQ(got->image, imageFromMemory(d.device.memory()));
    EXPECT_GT(d.device.requests().size(), 255u);

    // Every attempt at block 40 answered wrongly, twice over: a line that answers is noisy, so
    // the block is tried again and the read ends byte-exact.
    d.device.setFaultRules({}, 0);
    int spoilt = 0;
    d.device.setFaultChooser([&spoilt](const QByteArray &r) -> std::optional<Fault> {
        if (quint8(r[4]) == command::kReadBlock && quint8(r[5]) == 40 && spoilt < 6)
            return ++spoilt % 2 ? Fault::BadChecksum : Fault::ShortFrame;
        return std::nullopt;
    });
    got = readDevice(*d.link, quiet);
    ASSERT_TRUE(got);
    EXPECT_EQ(got->image, imageFromMemory(d.device.memory()));
    EXPECT_EQ(spoilt, 6);

    // Silent for good from block 100 on: the device is gone, and the read says so at once.
    d.device.setFaultChooser([](const QByteArray &r) -> std::optional<Fault> {
        if (quint8(r[4]) == command::kReadBlock && quint8(r[5]) >= 100)
            return Fault::Silence;
        return std::nullopt;
    });
    d.device.clearRequests();
    try {
        readDevice(*d.link, quiet);
        FAIL() << "the read succeeded";
    } catch (const Error &e) {
        EXPECT_EQ(e.text(), kNoLinkText);
    }
    const auto silent = d.device.requests();
    EXPECT_EQ(
        std::count_if(silent.begin(), silent.end(),
                      [](const QByteArray &r) { return quint8(r[4]) == command::kReadBlock && quint8(r[5]) >= 100; }),
        3)
        << "the three attempts of block 100, nothing after";

    // Busy for good from block 100 on: the read fails and what the caller holds stays.
    d.device.setFaultChooser([](const QByteArray &r) -> std::optional<Fault> {
        if (quint8(r[4]) == command::kReadBlock && quint8(r[5]) >= 100)
            return Fault::Busy;
        return std::nullopt;
    });
    TMK held;
    held.replaceImage(0x0777, QByteArray(300, 'h'));
    try {
        if (auto image = readDevice(*d.link, quiet))
            held.replaceImage(image->device.modelCode, image->image);
        FAIL() << "the read succeeded";
    } catch (const Error &e) {
        EXPECT_EQ(e.text(), kBusyText);
    }
    EXPECT_EQ(held.modelCode(), 0x0777);
    EXPECT_EQ(held.image(), QByteArray(300, 'h'));
    EXPECT_FALSE(d.link->port().IsOpen());
}

TEST(Exchange, WriteChangesExactlyTheEditedBytesAndKeepsABackup)
{
    PtyDevice d(0xFC, 0x0101);
    TMK model = modelFrom(d);
    const QByteArray before = d.device.memory();
    model.record(2).setU16(0, 1234);  // Oil6L
    model.record(9).setU8(362, 5);    // sound volume
    model.record(12).setU8(16, 0x55); // inside the error journal
    QTemporaryDir backups;
    RecordingProgress progress;
    const std::optional<WriteOutcome> outcome = writeDevice(*d.link, model, progress, backups.path());
    ASSERT_TRUE(outcome);

    const QByteArray after = d.device.memory();
    const ImageHeader h = model.header();
    QList<int> changed;
    for (int i = 0; i < after.size(); ++i)
        if (after[i] != before[i])
            changed << i;
    const auto at = [&h](int section, int offset) { return int(h.sections[size_t(section)].address) + offset; };
    EXPECT_EQ(changed, (QList<int>{at(2, 0), at(2, 1), at(9, 362), at(12, 16)}));
    EXPECT_EQ(outcome->image, imageFromMemory(after));

    const SettingsFileContent backup = decodeSettingsFile(readWholeFile(outcome->backupPath, kMaxSettingsFileSize));
    EXPECT_EQ(backup.modelCode, 0x0101);
    EXPECT_EQ(backup.image, imageFromMemory(before));
    EXPECT_EQ(progress.texts,
              (QStringList{kConnectingText, kReadingText, kConfirmingText, kWritingText, kVerifyingText}));
    EXPECT_EQ(progress.values.last(), 100);
    EXPECT_EQ(progress.cancelAllowed.last(), false);

    // A second write keeps the first backup and takes another.
    const std::optional<WriteOutcome> again = writeDevice(*d.link, model, progress, backups.path());
    ASSERT_TRUE(again);
    EXPECT_NE(again->backupPath, outcome->backupPath);
    EXPECT_EQ(QDir(backups.path()).entryList(QDir::Files).size(), 2);
    EXPECT_EQ(d.device.memory(), after);
}

// A device whose header declares three sections with contents of 64, 70 and 0 bytes.
QByteArray chunkingMemory()
{
    QByteArray image(8128, '\0');
    ImageHeader h;
    h.count = 3;
    h.version = 3;
    h.sections[0] = {96, 68};
    h.sections[1] = {200, 74};
    h.sections[2] = {300, 4};
    h.writeTo(image);
    for (int i = 64; i < 400; ++i)
        image[i] = char(i);
    return memoryFromImage(image, 8192);
}

TEST(Exchange, SectionsGoInChunksOfThirtyTwoWithTheRemainderLast)
{
    PtyDevice d(0xFC, 0x0101, 3, chunkingMemory());
    TMK model = modelFrom(d);
    QTemporaryDir backups;
    NullProgress quiet;
    d.device.clearRequests();
    // Restoring writes every section, the counters' section 0 too.
    WriteOptions restore;
    restore.backupDir = backups.path();
    restore.recorded = RecordedData::FromSettings;
    ASSERT_TRUE(writeDevice(*d.link, model, quiet, restore));
    std::vector<QByteArray> writes;
    for (const QByteArray &r : d.device.requests())
        if (quint8(r[4]) != command::kIdentify && quint8(r[4]) != command::kReadBlock)
            writes.push_back(r);
    ASSERT_EQ(writes.size(), 11u);
    QStringList seen;
    for (const QByteArray &r : writes)
        seen << SimulatedDevice::describe(r);
    EXPECT_EQ(seen, (QStringList{
                        QStringLiteral("FC begin section write at 0x0060, 64 bytes"),
                        QStringLiteral("FC write chunk 0, 32 bytes"),
                        QStringLiteral("FC write chunk 1, 32 bytes"),
                        QStringLiteral("FC end section write at 0x0060, 64 bytes"),
                        QStringLiteral("FC begin section write at 0x00c8, 70 bytes"),
                        QStringLiteral("FC write chunk 0, 32 bytes"),
                        QStringLiteral("FC write chunk 1, 32 bytes"),
                        QStringLiteral("FC write chunk 2, 6 bytes"),
                        QStringLiteral("FC end section write at 0x00c8, 70 bytes"),
                        QStringLiteral("FC begin section write at 0x012c, 0 bytes"),
                        QStringLiteral("FC end section write at 0x012c, 0 bytes"),
                    }));
    // The chunk carries the image bytes of its place.
    EXPECT_EQ(writes[7].mid(9, 6), imageFromMemory(d.device.memory()).mid(200 - 32 + 64, 6));
}

TEST(Exchange, ModelOrVersionMismatchWritesNothing)
{
    PtyDevice d(0xFC, 0x0101);
    const QByteArray before = d.device.memory();
    QTemporaryDir backups;
    NullProgress quiet;

    TMK otherModel = modelFrom(d);
    otherModel.setModelCode(0x0202);
    d.device.clearRequests();
    try {
        writeDevice(*d.link, otherModel, quiet, backups.path());
        FAIL();
    } catch (const Error &e) {
        EXPECT_EQ(e.text(), kModelMismatchText);
    }
    EXPECT_EQ(d.device.requests().size(), 1u); // identify only

    QByteArray image = imageFromMemory(before);
    image[kVersionPos] = char(4);
    TMK otherVersion;
    otherVersion.replaceImage(0x0101, image);
    try {
        writeDevice(*d.link, otherVersion, quiet, backups.path());
        FAIL();
    } catch (const Error &e) {
        EXPECT_EQ(e.text(), kVersionMismatchText);
    }
    EXPECT_EQ(d.device.memory(), before);
    EXPECT_TRUE(requestWords(d.device.requests(), command::kBeginSectionWrite).empty());
    EXPECT_TRUE(QDir(backups.path()).isEmpty());
    EXPECT_FALSE(d.link->port().IsOpen());
}

TEST(Exchange, WriteFailingPartWayNamesTheSectionAndTheBackup)
{
    PtyDevice d(0xFC, 0x0101);
    TMK model = modelFrom(d);
    for (int k : {0, 5})
        model.record(k).setU8(0, quint8(model.record(k).u8(0) + 1));
    const QByteArray before = d.device.memory();
    const int section3 = model.header().sections[3].address;
    d.device.setFaultChooser([section3](const QByteArray &r) -> std::optional<Fault> {
        const bool begin3 =
            quint8(r[4]) == command::kBeginSectionWrite && (quint8(r[5]) | quint8(r[6]) << 8) == section3;
        return begin3 ? std::optional(Fault::Busy) : std::nullopt;
    });
    QTemporaryDir backups;
    NullProgress quiet;
    try {
        writeDevice(*d.link, model, quiet, backups.path());
        FAIL();
    } catch (const WriteFailure &e) {
        EXPECT_EQ(e.section(), 3);
        EXPECT_TRUE(e.text().startsWith(kBusyText)) << e.what();
        EXPECT_TRUE(e.text().contains(QStringLiteral("секции 3"))) << e.what();
        EXPECT_TRUE(e.text().contains(e.backupPath())) << e.what();
        const SettingsFileContent backup = decodeSettingsFile(readWholeFile(e.backupPath(), kMaxSettingsFileSize));
        EXPECT_EQ(backup.image, imageFromMemory(before));
    }
    // Section 0 was written before the failure, section 5 was not.
    const QByteArray after = d.device.memory();
    EXPECT_NE(after[model.header().sections[0].address], before[model.header().sections[0].address]);
    EXPECT_EQ(after[model.header().sections[5].address], before[model.header().sections[5].address]);
}

TEST(Exchange, DamagedSectionTableStopsTheWriteBeforeAnythingIsSent)
{
    QByteArray memory = chunkingMemory();
    memory[32] = char(14); // the device claims 14 sections
    PtyDevice d(0xFC, 0x0101, 3, memory);
    TMK model = modelFrom(d);
    QTemporaryDir backups;
    NullProgress quiet;
    EXPECT_THROW(writeDevice(*d.link, model, quiet, backups.path()), Error);
    EXPECT_TRUE(requestWords(d.device.requests(), command::kBeginSectionWrite).empty());
    EXPECT_EQ(d.device.memory(), memory);
}

} // namespace
} // namespace mk::test
