// SPDX-License-Identifier: GPL-3.0-or-later
// A write puts the user's settings into the device and leaves what the device recorded itself
// (journals, averages, service counters) as the device has it, unless the user changed it or
// restores a backup; a read error the frame checksum cannot see never goes back to the device.
// Each scenario checks the device's memory byte for byte and the backup.

#include "base/FileIo.h"
#include "image/FactoryImage.h"
#include "image/SettingsFile.h"
#include "image/TMK.h"
#include "journals/JournalData.h"
#include "link/DeviceExchange.h"
#include "link/ExchangeTexts.h"
#include "link/LinkTexts.h"
#include "link/Protocol.h"
#include "link/TKW_RS.h"
#include "settings/RecordedUnitTexts.h"
#include "sim/InMemoryPort.h"
#include "sim/SimulatedDevice.h"
#include "support/QtPrinters.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace mk::test {
namespace {

constexpr quint16 kModel = 0x0101;

// An image with n trips (the latest first) and accumulators and service counters that grow with n.
QByteArray deviceAfter(int n)
{
    TMK t;
    t.replaceImage(kModel, makeFactoryImage(kModel, 3, 8192));
    for (int i = 0; i < n && i < kJournalEntryCount; ++i) {
        JournalEntry e;
        e.minutes = quint16(600 + n - i);
        e.day = quint8(1 + (n - i) % 28);
        e.month = 3;
        e.seconds = quint32(1000 * (n - i));
        e.metres = quint32(20000 + n - i);
        setJournalEntry(t.record(kTripsSection), JournalKind::Trip, i, e);
    }
    Record &s0 = t.record(kCountersSection);
    s0.setU32(kAccumulatorLayouts[0].distance, quint32(1000 * n));
    s0.setU32(kAllPathStartOffset, 5000);
    Record &s4 = t.record(kServiceSection);
    for (int c = 0; c < kServiceCounterCount; ++c)
        s4.setU8(c, quint8(60 - n - c));
    t.encodeAll();
    return t.image();
}

// The device on a virtual line; `hook` sees every request before the device answers and may
// change the memory or spoil the answer.
struct Line
{
    explicit Line(const QByteArray &image) : device({0xFC, kModel, 8192}, memoryFromImage(image, 8192))
    {
        const InMemoryPort::Responder answer = InMemoryPort::deviceResponder(device);
        backend->addPort(1, [this, answer](const QByteArray &request) -> std::optional<TimedReply> {
            if (before)
                before(request);
            std::optional<TimedReply> reply = answer(request);
            if (reply && after)
                after(request, reply->bytes);
            return reply;
        });
        link = std::make_unique<TKW_RS>(backend);
        link->port().OpenPort(1);
        link->port().ClosePort();
    }
    QByteArray image() const { return imageFromMemory(device.memory()); }

    std::shared_ptr<SimulatedPortBackend> backend = std::make_shared<SimulatedPortBackend>();
    SimulatedDevice device;
    std::unique_ptr<TKW_RS> link;
    std::function<void(const QByteArray &request)> before;
    std::function<void(const QByteArray &request, QByteArray &answer)> after;
};

quint8 commandOf(const QByteArray &request) { return quint8(request[4]); }
int wordAt(const QByteArray &request, int at) { return quint8(request[at]) | quint8(request[at + 1]) << 8; }

// The held settings as the user has them: `loaded` as read or loaded, then `edit`.
TMK held(const QByteArray &loaded, const std::function<void(TMK &)> &edit)
{
    TMK t;
    t.replaceImage(kModel, loaded);
    edit(t);
    t.encodeAll();
    return t;
}

// `image` with `patch` applied to its records.
QByteArray patched(const QByteArray &image, const std::function<void(TMK &)> &patch)
{
    TMK t;
    t.replaceImage(kModel, image);
    patch(t);
    t.encodeAll();
    return t.image();
}

const auto setSpeedLimit = [](TMK &t) { t.record(kLimitsSection).setU8(0, 77); };
const auto setOilCounter = [](TMK &t) { t.record(kServiceSection).setU8(5, 10); };
// The unit of the engine-oil service counter.
RecordedUnitId oilCounterUnit()
{
    for (const RecordedUnit &u : deviceRecordedUnits())
        if (u.kind == RecordedKind::ServiceCounter && u.index == 5)
            return u.id;
    return {};
}
const auto setFuelPrice = [](TMK &t) { t.record(kTripsSection).setU16(0, 4321); };

struct Scenario
{
    const char *name;
    QByteArray loaded;               // what the user read or loaded
    std::function<void(TMK &)> edit; // what the user did in this session
    RecordedData recorded;
    std::function<void(Line &)> arm;    // what happens on the line
    std::function<void(TMK &)> expect;  // the device's memory before the write, patched so
    std::set<RecordedUnitId> take = {}; // chosen to be written from the settings
};

TEST(WriteRecorded, DeviceKeepsWhatItRecordedUnlessTheUserChangedIt)
{
    const QByteArray now = deviceAfter(11), older = deviceAfter(8);
    const auto nothing = [](Line &) {};
    const std::vector<Scenario> scenarios = {
        {"journal grown since the file", older, setSpeedLimit, RecordedData::FollowDevice, nothing, setSpeedLimit},
        {"a trip recorded at the first section write", now, setFuelPrice, RecordedData::FollowDevice,
         [](Line &line) {
             bool done = false;
             line.before = [&line, done](const QByteArray &request) mutable {
                 if (done || commandOf(request) != command::kBeginSectionWrite)
                     return;
                 done = true;
                 line.device.setMemory(memoryFromImage(deviceAfter(12), 8192));
             };
         },
         [](TMK &t) {
             t.replaceImage(kModel, deviceAfter(12));
             setFuelPrice(t);
         }},
        {"a service counter edited", older, [](TMK &t) { t.record(kServiceSection).setU8(2, 21); },
         RecordedData::FollowDevice, nothing, [](TMK &t) { t.record(kServiceSection).setU8(2, 21); }},
        {"the trip journal cleared: the trips recorded since stay", older,
         [](TMK &t) { clearJournal(t.record(kTripsSection), JournalKind::Trip); }, RecordedData::FollowDevice, nothing,
         [](TMK &t) {
             // The 8 trips the user saw are entries 3..10 in the device now; the 3 newer stay.
             for (int i = 3; i < 11; ++i) {
                 JournalEntry e = journalEntry(t.record(kTripsSection), JournalKind::Trip, i);
                 e.day = 0;
                 setJournalEntry(t.record(kTripsSection), JournalKind::Trip, i, e);
             }
         }},
        {"a counter set in the file is kept unless taken", patched(now, setOilCounter), setSpeedLimit,
         RecordedData::FollowDevice, nothing, setSpeedLimit},
        {"a counter set in the file and taken",
         patched(now, setOilCounter),
         setSpeedLimit,
         RecordedData::FollowDevice,
         nothing,
         [](TMK &t) {
             setSpeedLimit(t);
             setOilCounter(t);
         },
         {oilCounterUnit()}},
        {"a backup restored over a newer section 11", older, [](TMK &) {}, RecordedData::FromSettings,
         [](Line &line) {
             // The device's section 11 moved on since the backup; a restore leaves it so.
             QByteArray memory = line.device.memory();
             const SectionEntry e = ImageHeader::parse(imageFromMemory(memory)).sections[kUndecodedSection];
             memory[e.address] = char(0xF5);
             line.device.setMemory(memory);
         },
         [&older](TMK &t) {
             QByteArray image = older;
             const SectionEntry e = t.header().sections[kUndecodedSection];
             image.replace(e.contentPos(), e.contentLength(), t.image().mid(e.contentPos(), e.contentLength()));
             t.replaceImage(kModel, image);
         }},
        {"a trip recorded right after its section was written", now, setFuelPrice, RecordedData::FollowDevice,
         [](Line &line) {
             line.after = [&line](const QByteArray &request, QByteArray &) {
                 if (commandOf(request) == command::kEndSectionWrite &&
                     wordAt(request, 5) == ImageHeader::parse(line.image()).sections[kTripsSection].address)
                     line.device.setMemory(memoryFromImage(patched(deviceAfter(12), setFuelPrice), 8192));
             };
         },
         [](TMK &t) {
             t.replaceImage(kModel, deviceAfter(12));
             setFuelPrice(t);
         }},
        {"a backup restored", older, [](TMK &) {}, RecordedData::FromSettings, nothing,
         [&older](TMK &t) { t.replaceImage(kModel, older); }},
        {"a double error the checksum cannot see in the fresh read", older, setSpeedLimit, RecordedData::FollowDevice,
         [](Line &line) {
             int reads = 0;
             line.after = [reads](const QByteArray &request, QByteArray &answer) mutable {
                 // Block 77 holds section 9's settings; its first reading is spoilt so that the
                 // bytes still add up.
                 if (commandOf(request) != command::kReadBlock || wordAt(request, 5) != 77 || reads++ > 0)
                     return;
                 answer[8] = char(answer[8] + 1);
                 answer[9] = char(answer[9] - 1);
             };
         },
         setSpeedLimit},
    };
    for (const Scenario &s : scenarios) {
        SCOPED_TRACE(s.name);
        Line line(now);
        s.arm(line);
        const QByteArray before = line.image();
        QTemporaryDir backups;
        NullProgress quiet;
        WriteOptions options;
        options.backupDir = backups.path();
        options.recorded = s.recorded;
        options.take = s.take;
        const std::optional<WriteOutcome> outcome = writeDevice(*line.link, held(s.loaded, s.edit), quiet, options);
        ASSERT_TRUE(outcome);
        const QByteArray expected = patched(before, s.expect);
        EXPECT_EQ(line.image(), expected);
        EXPECT_EQ(outcome->image, expected);
        TMK backup;
        loadSettingsFile(backup, outcome->backupPath);
        EXPECT_EQ(backup.image(), before) << "the backup is the device's memory as it was before the write";
    }
}

// A device that stores a written chunk wrong where it keeps its own records is never reported
// as written: the read-back takes a difference there only as the device's own newer record.
TEST(WriteRecorded, AChunkStoredWrongAmongTheDevicesRecordsFailsTheWrite)
{
    struct Spoilt
    {
        const char *name;
        int section;
        std::function<void(TMK &)> edit; // makes the section written
        std::function<void(Record &)> spoil;
    };
    const std::vector<Spoilt> cases = {
        {"two compensating bytes in the overall averages", kCountersSection,
         [](TMK &t) { t.record(kCountersSection).setU8(105, 3); },
         [](Record &r) {
             const int at = kAccumulatorLayouts[0].distance;
             r.setU8(at, quint8(r.u8(at) + 1));
             r.setU8(at + 1, quint8(r.u8(at + 1) - 1));
         }},
        {"a byte flipped inside the trip journal", kTripsSection, setFuelPrice,
         [](Record &r) {
             r.setU8(kTripJournalOffset + 2 * kJournalEntrySize + 9,
                     quint8(r.u8(kTripJournalOffset + 2 * kJournalEntrySize + 9) ^ 0x10));
         }},
        {"a service counter gone up", kServiceSection, [](TMK &t) { t.record(kServiceSection).setU8(116, 0x7F); },
         [](Record &r) { r.setU8(3, quint8(r.u8(3) + 1)); }},
    };
    for (const Spoilt &c : cases) {
        SCOPED_TRACE(c.name);
        Line line(deviceAfter(11));
        line.after = [&line, &c](const QByteArray &request, QByteArray &) {
            if (commandOf(request) != command::kEndSectionWrite ||
                wordAt(request, 5) != ImageHeader::parse(line.image()).sections[size_t(c.section)].address)
                return;
            TMK t;
            t.replaceImage(kModel, line.image());
            c.spoil(t.record(c.section));
            t.encodeAll();
            line.device.setMemory(memoryFromImage(t.image(), 8192));
        };
        QTemporaryDir backups;
        NullProgress quiet;
        try {
            writeDevice(*line.link, held(deviceAfter(11), c.edit), quiet, backups.path());
            FAIL() << "a chunk stored wrong must fail the write";
        } catch (const WriteFailure &e) {
            EXPECT_EQ(e.stage(), WriteFailure::Mismatch) << e.text().toStdString();
            EXPECT_EQ(e.section(), c.section);
        }
    }
}

// Cancel stops a write with nothing written at any moment before the first section goes out,
// the confirming second reading included.
TEST(WriteRecorded, CancelDuringTheConfirmingReadWritesNothing)
{
    class CancelAt : public Progress
    {
    public:
        explicit CancelAt(QString text) : m_text(std::move(text)) {}
        void setText(const QString &text) override { m_cancelled = m_cancelled || text == m_text; }
        void setValue(int) override {}
        bool cancelled() const override { return m_cancelled; }

    private:
        QString m_text;
        bool m_cancelled = false;
    };
    Line line(deviceAfter(11));
    const QByteArray before = line.image();
    QTemporaryDir backups;
    CancelAt progress(kConfirmingText);
    EXPECT_FALSE(writeDevice(*line.link, held(deviceAfter(11), setSpeedLimit), progress, backups.path()));
    EXPECT_EQ(line.image(), before);
    for (const QByteArray &request : line.device.requests())
        EXPECT_NE(commandOf(request), command::kBeginSectionWrite);
}

TEST(WriteRecorded, SectionsWithNothingToChangeForTheDeviceAreNotWritten)
{
    Line line(deviceAfter(11));
    QTemporaryDir backups;
    NullProgress quiet;
    const std::optional<WriteOutcome> outcome =
        writeDevice(*line.link, held(deviceAfter(8), setSpeedLimit), quiet, backups.path());
    ASSERT_TRUE(outcome);
    // The counters, the service section, the journals, section 11 and the error journal are as the
    // device has them.
    EXPECT_EQ(outcome->sectionsLeft,
              (QList<int>{kCountersSection, kServiceSection, kTripsSection, kUndecodedSection, kErrorsSection}));
    EXPECT_FALSE(outcome->recordedMeanwhile);
}

TEST(WriteRecorded, ThePlanSaysWhatStaysAsInTheDeviceAndWhatIsWritten)
{
    TMK device, toWrite;
    device.replaceImage(kModel, deviceAfter(11));
    toWrite.replaceImage(kModel, patched(deviceAfter(11), [](TMK &t) {
                             clearJournal(t.record(kTripsSection), JournalKind::Trip);
                             setSpeedLimit(t);
                         }));
    const RecordedPlan plan = recordedPlan(device, toWrite);
    EXPECT_EQ(plan.written, QStringList{QStringLiteral("Журнал поездок")});
    EXPECT_EQ(plan.kept, (QStringList{QStringLiteral("Журнал заправок"), QStringLiteral("Журнал ошибок"),
                                      QStringLiteral("Накопленные средние"), QStringLiteral("Общий пробег"),
                                      QStringLiteral("Счётчики ТО")}));
    EXPECT_TRUE(plan.text().startsWith(QStringLiteral("Остаются как в МК: Журнал заправок,")));
}

TEST(WriteRecorded, ARestoreNamesTheNewerRecordsOfTheDeviceItReplaces)
{
    TMK device, backup;
    device.replaceImage(kModel, deviceAfter(11));
    backup.replaceImage(kModel, deviceAfter(8));
    const QStringList lines = restoreReplacesLines(device, backup);
    EXPECT_TRUE(lines.contains(QStringLiteral("Журнал поездок: новых записей в МК, которых нет в копии: 3")))
        << lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(lines.contains(
        QStringLiteral("Средние «Накопительные / Общие»: в МК 11 км / 512:00 ч, в копии 8 км / 512:00 ч")))
        << lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(restoreReplacesLines(device, device).isEmpty());
}

TEST(WriteRecorded, ADeviceThatFallsSilentDuringTheSectionWritesIsReportedWithinTheLinkTimeOuts)
{
    Line line(deviceAfter(11));
    bool silent = false;
    line.device.setFaultChooser(
        [&](const QByteArray &) { return silent ? std::optional(Fault::Silence) : std::nullopt; });
    QTemporaryDir backups;
    NullProgress quiet;
    qint64 start = 0;
    line.before = [&](const QByteArray &request) {
        if (!silent && commandOf(request) == command::kBeginSectionWrite) {
            silent = true;
            start = line.backend->virtualClock().nowMs();
        }
    };
    try {
        writeDevice(*line.link, held(deviceAfter(11), setSpeedLimit), quiet, backups.path());
        FAIL() << "the write must fail";
    } catch (const WriteFailure &e) {
        EXPECT_EQ(e.stage(), WriteFailure::Interrupted);
        EXPECT_EQ(e.section(), 1) << "section 0 holds only counters the device keeps and is not written";
        EXPECT_TRUE(e.text().startsWith(kNoLinkText));
        // Three attempts of 2 s with the drains between them that keep a late answer from being
        // taken for the next attempt's; the section is not sent again.
        EXPECT_LE(line.backend->virtualClock().nowMs() - start, 10500);
    }
}

} // namespace
} // namespace mk::test
