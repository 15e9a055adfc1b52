// SPDX-License-Identifier: GPL-3.0-or-later
// Reads and writes against a device that answers late, twice, or after a stray byte, on a
// virtual clock: every read ends byte-exact or fails with a message, every write ends verified
// and exact or fails, and nothing is ever reported done with wrong bytes.

#include "base/FileIo.h"
#include "image/FactoryImage.h"
#include "image/SettingsFile.h"
#include "image/TMK.h"
#include "link/DeviceExchange.h"
#include "link/ExchangeTexts.h"
#include "link/LinkTexts.h"
#include "link/TKW_RS.h"
#include "sim/InMemoryPort.h"
#include "sim/SimulatedDevice.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>

namespace mk::test {
namespace {

enum class Spoil { Late, Duplicate, Stray };

struct Aim
{
    Spoil kind;
    int request;     // the n-th request the device sees, from 0; -1: every read of block; -2: its first read
    qint64 ms = 0;   // Late: when the answer comes; Duplicate: when its copy comes
    quint8 byte = 0; // Stray: the byte before the answer
    int block = -1;
};

// Factory memory whose every block differs, so that an answer taken for another block's shows.
QByteArray distinctMemory()
{
    QByteArray memory = memoryFromImage(makeFactoryImage(0x0101, 3, 8192), 8192);
    std::mt19937 random(7);
    for (int i = kAddressBase + kHeaderSize; i < memory.size(); ++i)
        memory[i] = char(random());
    return memory;
}

// A device on a virtual line whose answers to the aimed requests are spoilt.
struct SpoiltLine
{
    explicit SpoiltLine(std::vector<Aim> aims) : device({0xFC, 0x0101, 8192}, distinctMemory()), m_aims(std::move(aims))
    {
        const InMemoryPort::Responder answer = InMemoryPort::deviceResponder(device);
        port = backend->addPort(1, [this, answer](const QByteArray &request) -> std::optional<TimedReply> {
            std::optional<TimedReply> reply = answer(request);
            const int n = m_seen++;
            if (onRequest)
                onRequest(request);
            if (!reply)
                return reply;
            const bool readBlock = quint8(request[4]) == command::kReadBlock;
            const int block = readBlock ? quint8(request[5]) | quint8(request[6]) << 8 : -1;
            for (const Aim &aim : m_aims) {
                if (aim.request != n && !(aim.request == -1 && aim.block == block) &&
                    !(aim.request == -2 && aim.block == block && !m_spoiltOnce))
                    continue;
                m_spoiltOnce = m_spoiltOnce || aim.request == -2;
                const QByteArray bytes = reply->bytes;
                if (aim.kind == Spoil::Late) {
                    reply = TimedReply::paced(bytes, aim.ms, 0);
                } else if (aim.kind == Spoil::Duplicate) {
                    reply = TimedReply::paced(bytes + bytes, 0, 0);
                    for (int i = int(bytes.size()); i < 2 * bytes.size(); ++i)
                        reply->atMs[size_t(i)] = aim.ms;
                } else {
                    reply = TimedReply{QByteArray(1, char(aim.byte)) + bytes, {}};
                }
            }
            return reply;
        });
        link = std::make_unique<TKW_RS>(backend);
        link->port().OpenPort(1);
        link->port().ClosePort();
    }

    std::shared_ptr<SimulatedPortBackend> backend = std::make_shared<SimulatedPortBackend>();
    SimulatedDevice device;
    std::shared_ptr<InMemoryPort> port;
    std::unique_ptr<TKW_RS> link;
    std::function<void(const QByteArray &request)> onRequest;

private:
    std::vector<Aim> m_aims;
    int m_seen = 0;
    bool m_spoiltOnce = false;
};

bool isLinkMessage(const QString &text)
{
    return text == kNoLinkText || text == kInterByteText || text.startsWith(kExchangeErrorText) || text == kBusyText ||
           text == kUnsteadyReadText;
}

// A failure of the line: one of the link's own kinds, in the link's own words.
bool isLinkError(const Error &e)
{
    const ErrorKind k = e.kind();
    const bool linkKind =
        k == ErrorKind::NoLink || k == ErrorKind::Timeout || k == ErrorKind::Refused || k == ErrorKind::DeviceBusy;
    return linkKind && isLinkMessage(e.text());
}

std::vector<Aim> everyAim()
{
    std::vector<Aim> aims;
    // Request 0 is the identification, 1..254 the blocks of a read.
    for (int request : {1, 2, 127, 128, 253, 254}) {
        for (qint64 ms : {101, 150, 160, 220, 350, 600, 1500})
            aims.push_back({Spoil::Late, request, ms});
        for (qint64 ms : {0, 1, 5, 50})
            aims.push_back({Spoil::Duplicate, request, ms});
        for (quint8 byte : {0x03, 0x06, 0x26, 0x27, 0xFC})
            aims.push_back({Spoil::Stray, request, 0, byte});
    }
    return aims;
}

QString describe(const Aim &aim)
{
    static const char *kinds[] = {"late", "duplicate", "stray"};
    return QStringLiteral("%1 at request %2 (%3 ms, byte %4)")
        .arg(QLatin1String(kinds[int(aim.kind)]))
        .arg(aim.request)
        .arg(aim.ms)
        .arg(aim.byte);
}

TEST(ExchangeSoundness, EveryReadIsExactOrFailsWithAMessage)
{
    int exact = 0;
    for (const Aim &aim : everyAim()) {
        SCOPED_TRACE(describe(aim).toStdString());
        SpoiltLine line({aim});
        NullProgress quiet;
        try {
            const std::optional<DeviceImage> got = readDevice(*line.link, quiet);
            ASSERT_TRUE(got);
            EXPECT_EQ(got->image, imageFromMemory(line.device.memory()));
            ++exact;
        } catch (const Error &e) {
            EXPECT_TRUE(isLinkError(e)) << errorKindName(e.kind()).toStdString() << " " << e.what();
        }
    }
    // Only a device silent past three attempts makes a read fail.
    EXPECT_GE(exact, int(everyAim().size()) - 6);
}

TEST(ExchangeSoundness, ADeviceThatAnswersOneBlockTwiceEveryTimeIsStillReadExactly)
{
    // The copy is taken for the next block's answer, repeats an answer already received and so
    // has that block read again after a probe.
    for (const qint64 copyMs : {0, 5, 30, 90}) {
        SCOPED_TRACE(copyMs);
        SpoiltLine line({{Spoil::Duplicate, -1, copyMs, 0, 50}});
        NullProgress quiet;
        const std::optional<DeviceImage> got = readDevice(*line.link, quiet);
        ASSERT_TRUE(got);
        EXPECT_EQ(got->image, imageFromMemory(line.device.memory())) << copyMs;
    }
}

TEST(ExchangeSoundness, ALateAnswerOfOneReadIsNeverTakenByTheNextOnesIdentify)
{
    // The first answer for the last block comes when the first read has given up or ended, while
    // the second read identifies the device or reads its first blocks.
    for (const qint64 ms : {100, 300, 700, 1000, 1500}) {
        for (const qint64 pause : {0, 200, 600}) {
            SCOPED_TRACE(QStringLiteral("late %1 ms, pause %2 ms").arg(ms).arg(pause).toStdString());
            SpoiltLine line({{Spoil::Late, -2, ms, 0, 255}});
            NullProgress quiet;
            const QByteArray image = imageFromMemory(line.device.memory());
            try {
                const std::optional<DeviceImage> first = readDevice(*line.link, quiet);
                EXPECT_EQ(first->image, image);
            } catch (const Error &e) {
                EXPECT_TRUE(isLinkError(e)) << errorKindName(e.kind()).toStdString() << " " << e.what();
            }
            line.backend->virtualClock().advance(pause);
            const std::optional<DeviceImage> got = readDevice(*line.link, quiet);
            ASSERT_TRUE(got);
            EXPECT_EQ(got->device.modelCode, 0x0101);
            EXPECT_EQ(got->image, image);
        }
    }
}

// A device with a memory of long runs of equal blocks and blocks that differ, on a line paced
// at 115200 baud, with faults of several kinds at once: every read ends exact or fails with a
// link message; every write ends verified, exact and with an exact backup, or fails, changing
// only whole sections and keeping an exact backup.
TEST(ExchangeSoundness, CombinedFaultsNeverEndInWrongBytes)
{
    const QStringList mixes = {
        QStringLiteral("duplicate:0.01,silence:0.01"),
        QStringLiteral("duplicate:0.02,silence:0.02,bad-checksum:0.01"),
        QStringLiteral("drop-byte:0.005,bad-checksum:0.005,busy:0.005,zero-header:0.005,silence:0.01,"
                       "short-frame:0.005,late:0.005:160,duplicate:0.01,stray:0.01"),
    };
    const QStringList deliveries = {QStringLiteral("byte"), QStringLiteral("packet"), QStringLiteral("chunk:1000")};
    QByteArray memory = memoryFromImage(makeFactoryImage(0x0101, 3, 8192), 8192);
    std::mt19937 random(11);
    for (int at = kAddressBase + kHeaderSize; at < memory.size(); at += 3 * kBlockSize)
        for (int k = 0; k < kBlockSize && at + k < memory.size(); ++k)
            memory[at + k] = char(random());
    int reads = 0, writes = 0;
    for (const QString &mix : mixes) {
        for (const QString &delivery : deliveries) {
            for (quint64 seed = 1; seed <= 6; ++seed) {
                SCOPED_TRACE(QStringLiteral("%1, %2, seed %3").arg(mix, delivery).arg(seed).toStdString());
                SimulatedDevice device({0xFC, 0x0101, 8192}, memory);
                device.setFaultRules(parseFaultRules(mix), seed);
                auto backend = std::make_shared<SimulatedPortBackend>();
                backend->addPort(1, InMemoryPort::deviceResponderAtRate(device, 115200))
                    ->setDelivery(Delivery::parse(delivery));
                TKW_RS link(backend);
                link.port().OpenPort(1);
                link.port().ClosePort();
                NullProgress quiet;
                try {
                    const std::optional<DeviceImage> got = readDevice(link, quiet);
                    ASSERT_TRUE(got);
                    EXPECT_EQ(got->image, imageFromMemory(device.memory()));
                    ++reads;
                } catch (const Error &e) {
                    EXPECT_TRUE(isLinkError(e)) << errorKindName(e.kind()).toStdString() << " " << e.what();
                }
                const QByteArray before = device.memory();
                TMK model;
                model.replaceImage(0x0101, imageFromMemory(before));
                model.record(2).setU8(3, quint8(model.record(2).u8(3) ^ 0x5A));
                model.record(9).setU8(7, quint8(model.record(9).u8(7) ^ 0x3C));
                TMK intended = model;
                intended.encodeAll();
                QTemporaryDir backups;
                QString backupPath;
                try {
                    const std::optional<WriteOutcome> outcome = writeDevice(link, model, quiet, backups.path());
                    ASSERT_TRUE(outcome);
                    EXPECT_EQ(imageFromMemory(device.memory()), intended.image());
                    EXPECT_EQ(outcome->image, intended.image());
                    backupPath = outcome->backupPath;
                    ++writes;
                } catch (const WriteFailure &e) {
                    backupPath = e.backupPath();
                    const QByteArray after = imageFromMemory(device.memory());
                    for (const SectionEntry &s : model.header().sections) {
                        if (!s.usable())
                            continue;
                        const QByteArray got = after.mid(s.contentPos(), s.contentLength());
                        EXPECT_TRUE(got == imageFromMemory(before).mid(s.contentPos(), s.contentLength()) ||
                                    got == intended.image().mid(s.contentPos(), s.contentLength()));
                    }
                } catch (const Error &e) {
                    EXPECT_TRUE(isLinkError(e)) << errorKindName(e.kind()).toStdString() << " " << e.what();
                    EXPECT_EQ(device.memory(), before);
                }
                if (!backupPath.isEmpty()) {
                    EXPECT_EQ(decodeSettingsFile(readWholeFile(backupPath, kMaxSettingsFileSize)).image,
                              imageFromMemory(before));
                }
            }
        }
    }
    // Most runs end well; the rest fail with a message.
    EXPECT_GT(reads, 40);
    EXPECT_GT(writes, 30);
}

TEST(ExchangeSoundness, EveryWriteIsVerifiedAndExactOrFailsKeepingAnExactBackup)
{
    // Requests of a write: identification, 254 blocks, the sections, then the read-back.
    std::vector<Aim> aims;
    for (int request : {0, 3, 200, 255, 256, 300, 420, 500, 560}) {
        aims.push_back({Spoil::Late, request, 160});
        aims.push_back({Spoil::Late, request, 350});
        aims.push_back({Spoil::Duplicate, request, 5});
        aims.push_back({Spoil::Stray, request, 0, 0x26});
    }
    int verified = 0;
    for (const Aim &aim : aims) {
        SCOPED_TRACE(describe(aim).toStdString());
        SpoiltLine line({aim});
        const QByteArray before = line.device.memory();
        TMK model;
        model.replaceImage(0x0101, imageFromMemory(before));
        for (int k : {0, 2, 9, 12})
            model.record(k).setU8(1, quint8(model.record(k).u8(1) ^ 0x5A));
        TMK intended = model;
        intended.encodeAll();
        QTemporaryDir backups;
        NullProgress quiet;
        try {
            const std::optional<WriteOutcome> outcome = writeDevice(*line.link, model, quiet, backups.path());
            ASSERT_TRUE(outcome);
            EXPECT_EQ(imageFromMemory(line.device.memory()), intended.image());
            EXPECT_EQ(outcome->image, intended.image());
            const SettingsFileContent backup =
                decodeSettingsFile(readWholeFile(outcome->backupPath, kMaxSettingsFileSize));
            EXPECT_EQ(backup.image, imageFromMemory(before));
            ++verified;
        } catch (const WriteFailure &e) {
            const SettingsFileContent backup = decodeSettingsFile(readWholeFile(e.backupPath(), kMaxSettingsFileSize));
            EXPECT_EQ(backup.image, imageFromMemory(before));
        } catch (const Error &e) {
            // Failed before anything was written.
            EXPECT_TRUE(isLinkError(e)) << errorKindName(e.kind()).toStdString() << " " << e.what();
            EXPECT_EQ(line.device.memory(), before);
        }
    }
    EXPECT_GE(verified, int(aims.size()) - 2);
}

TEST(ExchangeSoundness, AByteChangedBehindTheWritersBackFailsVerification)
{
    SpoiltLine line({});
    const QByteArray before = line.device.memory();
    TMK model;
    model.replaceImage(0x0101, imageFromMemory(before));
    model.record(9).setU8(362, quint8(model.record(9).u8(362) + 1));
    const int section9 = model.header().sections[9].address;
    // Once section 9 is written the device spoils one of its bytes (a worn cell, a firmware
    // that keeps its own value there).
    bool spoilt = false;
    line.onRequest = [&](const QByteArray &request) {
        if (spoilt || quint8(request[4]) != command::kEndSectionWrite ||
            (quint8(request[5]) | quint8(request[6]) << 8) != section9)
            return;
        QByteArray memory = line.device.memory();
        memory[section9 + 10] = char(memory[section9 + 10] ^ 0x01);
        line.device.setMemory(memory);
        spoilt = true;
    };
    QTemporaryDir backups;
    NullProgress quiet;
    try {
        writeDevice(*line.link, model, quiet, backups.path());
        FAIL() << "a write with a changed byte was reported done";
    } catch (const WriteFailure &e) {
        EXPECT_EQ(e.stage(), WriteFailure::Mismatch);
        EXPECT_EQ(e.section(), 9);
        EXPECT_TRUE(e.text().contains(QStringLiteral("секция 9"))) << e.what();
        EXPECT_TRUE(e.text().contains(QString::number(section9 + 10))) << e.what();
        EXPECT_TRUE(e.text().contains(QDir::toNativeSeparators(e.backupPath()))) << e.what();
    }
}

} // namespace
} // namespace mk::test
