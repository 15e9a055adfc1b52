// SPDX-License-Identifier: GPL-3.0-or-later
// Soak of the device exchange on a bad line: many full reads and writes against the simulated
// device with faults injected, on a virtual clock (time-outs cost no real time). Every success
// must be byte-exact; every failure must leave the caller's image unchanged and the device's
// memory either unchanged or changed only in whole sections that were written completely.
// The device's bytes are paced as on a line of --line-rate baud (11 bits a byte), so that an
// answer that comes late or twice is still arriving when the next request goes out, as on a
// real line, and delivered byte by byte, in packets or in a bridge's chunks.
//
// Each fault mix runs on many seeds (a fresh device each), and the report counts silent
// corruptions per mix: a success must mean exact bytes, for the read, the device after a
// write, the image the write returns and the backup it took.
//
//   bench_soak [--reads N] [--writes N] (per seed) [--seeds N | --seed N] [--faults MIX]...
//              [--memory 8192|32768] [--content factory|random] [--line-rate BAUD]
//              [--delivery byte|packet[:SIZE]|chunk:US]

#include "base/FileIo.h"
#include "image/FactoryImage.h"
#include "image/SettingsFile.h"
#include "image/TMK.h"
#include "link/DeviceExchange.h"
#include "link/TKW_RS.h"
#include "sim/InMemoryPort.h"
#include "sim/SimulatedDevice.h"

#include <QCoreApplication>
#include <QMap>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <random>

using namespace mk;

namespace {

struct Tally
{
    int successes = 0;
    int cancelled = 0;
    int corruptions = 0;
    QMap<QString, int> failures;
    std::vector<qint64> writeMs;   // each write's time on the line, whatever its end
    QMap<QString, qint64> phaseMs; // the writes' time by the step the progress named
};

// Adds the time between two progress texts to the step the first named.
class PhaseClock : public Progress
{
public:
    PhaseClock(VirtualClock &clock, QMap<QString, qint64> &into) : m_clock(clock), m_into(into), m_since(clock.nowMs())
    {}
    ~PhaseClock() override { setText({}); }
    void setText(const QString &text) override
    {
        const qint64 now = m_clock.nowMs();
        if (!m_text.isEmpty())
            m_into[m_text] += now - m_since;
        m_text = text;
        m_since = now;
    }
    void setValue(int) override {}
    bool cancelled() const override { return false; }

private:
    VirtualClock &m_clock;
    QMap<QString, qint64> &m_into;
    QString m_text;
    qint64 m_since;
};

QString firstLine(const QString &text) { return text.section(QLatin1Char('\n'), 0, 0); }

// A write may change only whole sections: each section's content is either as before or as
// intended, and nothing outside the sections changes.
bool onlyWholeSectionsChanged(const QByteArray &before, const QByteArray &after, const QByteArray &intended,
                              const ImageHeader &header)
{
    QByteArray rest = after;
    for (const SectionEntry &e : header.sections) {
        if (!e.usable())
            continue;
        const int at = e.address, len = e.contentLength();
        const QByteArray got = after.mid(at, len);
        if (got != before.mid(at, len) && got != intended.mid(at, len))
            return false;
        rest.replace(at, len, before.mid(at, len));
    }
    return rest == before;
}

void print(const char *what, const Tally &t, int total)
{
    std::printf("%s: %d runs, %d succeeded, %d failed, %d silent corruptions\n", what, total, t.successes,
                total - t.successes - t.cancelled, t.corruptions);
    for (auto it = t.failures.cbegin(); it != t.failures.cend(); ++it)
        std::printf("    %5d  %s\n", it.value(), it.key().toUtf8().constData());
}

// Faults the soak runs by default, one mix at a time: the usual mix of a poor line (late answers
// at delays around the time-outs: within the retry pause, meeting the retry, past the retry's
// own time-out, and past the 2 s time-out of section writes), a duplicate and a lost answer that
// cancel out, and every kind at once at 0.5-1 %.
const QStringList kDefaultMixes = {
    QStringLiteral("drop-byte:0.005,bad-checksum:0.005,busy:0.002,late:0.001:120,late:0.001:160,late:0.001:250,"
                   "late:0.001:350,late:0.0002:2500,duplicate:0.002,stray:0.002"),
    QStringLiteral("duplicate:0.01,silence:0.01"),
    QStringLiteral("drop-byte:0.005,bad-checksum:0.005,busy:0.005,zero-header:0.005,silence:0.01,short-frame:0.005,"
                   "late:0.005:160,late:0.005:350,duplicate:0.01,stray:0.01"),
};

void soakRead(TKW_RS &link, SimulatedDevice &device, Tally &tally)
{
    NullProgress quiet;
    try {
        const std::optional<DeviceImage> got = readDevice(link, quiet);
        if (!got)
            ++tally.cancelled;
        else if (got->image != imageFromMemory(device.memory()) || got->device.modelCode != device.config().modelCode)
            ++tally.corruptions;
        else
            ++tally.successes;
    } catch (const Error &e) {
        ++tally.failures[firstLine(e.text())];
    }
}

// The backup must hold the device's memory as it was before the write.
bool backupHolds(const QString &path, const QByteArray &memory)
{
    try {
        return decodeSettingsFile(readWholeFile(path, kMaxSettingsFileSize)).image == imageFromMemory(memory);
    } catch (const Error &) {
        return false;
    }
}

void soakWrite(TKW_RS &link, VirtualClock &clock, SimulatedDevice &device, std::mt19937_64 &random,
               const QString &backupDir, Tally &tally)
{
    const qint64 started = clock.nowMs();
    struct Timed
    {
        VirtualClock &clock;
        qint64 started;
        std::vector<qint64> &into;
        ~Timed() { into.push_back(clock.nowMs() - started); }
    } timed{clock, started, tally.writeMs};
    const quint16 modelCode = device.config().modelCode;
    const int memorySize = device.config().memorySize;
    const QByteArray before = device.memory();
    TMK model;
    model.replaceImage(modelCode, imageFromMemory(before));
    // Edit a few bytes in three records, as a user would.
    for (int k : {2, 5, 9}) {
        const int off = int(random() % quint64(model.record(k).size()));
        model.record(k).setU8(off, quint8(random()));
    }
    const QByteArray heldBefore = model.image();
    TMK intendedModel = model;
    intendedModel.setImage(imageFromMemory(before));
    intendedModel.encodeAll();
    // The first block of each half is never read or written.
    QByteArray intended = memoryFromImage(intendedModel.image(), memorySize);
    for (int at : {0, memorySize / 2})
        intended.replace(at, kBlockSize, before.mid(at, kBlockSize));
    PhaseClock phases(clock, tally.phaseMs);
    try {
        const std::optional<WriteOutcome> outcome = writeDevice(link, model, phases, backupDir);
        if (!outcome)
            ++tally.cancelled;
        else if (device.memory() != intended || outcome->image != imageFromMemory(intended) ||
                 !backupHolds(outcome->backupPath, before))
            ++tally.corruptions;
        else
            ++tally.successes;
    } catch (const WriteFailure &e) {
        ++tally.failures[firstLine(e.text())];
        if (!onlyWholeSectionsChanged(before, device.memory(), intended, model.header()) ||
            !backupHolds(e.backupPath(), before))
            ++tally.corruptions;
    } catch (const Error &e) {
        ++tally.failures[firstLine(e.text())];
        if (!onlyWholeSectionsChanged(before, device.memory(), intended, model.header()))
            ++tally.corruptions;
    }
    if (model.image() != heldBefore)
        ++tally.corruptions;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int reads = 4, writes = 2, memorySize = 8192, lineRate = 115200;
    Delivery delivery;
    bool randomContent = false;
    quint64 firstSeed = 1, seeds = 50;
    QStringList mixes;
    const QStringList args = app.arguments();
    std::vector<std::vector<FaultRule>> rules;
    try {
        for (int i = 1; i + 1 < args.size(); i += 2) {
            const QString &opt = args[i], &val = args[i + 1];
            if (opt == QLatin1String("--reads"))
                reads = val.toInt();
            else if (opt == QLatin1String("--writes"))
                writes = val.toInt();
            else if (opt == QLatin1String("--faults"))
                mixes << val;
            else if (opt == QLatin1String("--seed"))
                firstSeed = val.toULongLong(), seeds = 1;
            else if (opt == QLatin1String("--seeds"))
                seeds = val.toULongLong();
            else if (opt == QLatin1String("--memory"))
                memorySize = val.toInt();
            else if (opt == QLatin1String("--content"))
                randomContent = val == QLatin1String("random");
            else if (opt == QLatin1String("--line-rate"))
                lineRate = val.toInt();
            else if (opt == QLatin1String("--delivery"))
                delivery = Delivery::parse(val);
            else {
                std::fprintf(stderr, "unknown option %s\n", qPrintable(opt));
                return 2;
            }
        }
        if (mixes.isEmpty())
            mixes = kDefaultMixes;
        for (const QString &mix : mixes)
            rules.push_back(parseFaultRules(mix));
    } catch (const Error &e) {
        std::fprintf(stderr, "bench_soak: %s\n", e.what());
        return 2;
    }

    const quint8 address = memorySize == 32768 ? 0xFE : 0xFC;
    const quint16 modelCode = 0x0101;
    // The factory image is mostly runs of equal blocks; random content has every block differ.
    QByteArray factory = memoryFromImage(makeFactoryImage(modelCode, 1, memorySize), memorySize);
    std::mt19937_64 contentRandom(99);
    for (int i = kAddressBase + kHeaderSize; randomContent && i < memorySize; ++i)
        factory[i] = char(contentRandom());
    std::printf("%llu seeds from %llu, %d reads and %d writes each, %d-byte device, line paced at %d baud on a "
                "virtual clock, delivery %s\n",
                (unsigned long long)seeds, (unsigned long long)firstSeed, reads, writes, memorySize, lineRate,
                qPrintable(delivery.name()));
    // A fresh device on its own paced line.
    struct Bench
    {
        SimulatedDevice device;
        std::shared_ptr<SimulatedPortBackend> backend = std::make_shared<SimulatedPortBackend>();
        TKW_RS link{backend};
        Bench(const DeviceConfig &config, const QByteArray &memory, int lineRate, const Delivery &delivery)
            : device(config, memory)
        {
            backend->addPort(1, InMemoryPort::deviceResponderAtRate(device, lineRate))->setDelivery(delivery);
            link.port().OpenPort(1);
            link.port().ClosePort();
        }
    };
    // The same write on a clean line: what a disturbed line's writes are measured against.
    qint64 cleanMs = 0;
    {
        Bench b({address, modelCode, memorySize}, factory, lineRate, delivery);
        QTemporaryDir backups;
        std::mt19937_64 random(firstSeed);
        Tally clean;
        soakWrite(b.link, b.backend->virtualClock(), b.device, random, backups.path(), clean);
        cleanMs = clean.writeMs.front();
        std::printf("a write on a clean line: %lld ms\n", (long long)cleanMs);
    }
    int corruptions = 0;
    for (size_t m = 0; m < rules.size(); ++m) {
        Tally readTally, writeTally;
        size_t requests = 0;
        quint64 readBytes = 0;
        for (quint64 seed = firstSeed; seed < firstSeed + seeds; ++seed) {
            Bench b({address, modelCode, memorySize}, factory, lineRate, delivery);
            b.device.setFaultRules(rules[m], seed);
            TKW_RS &link = b.link;
            SimulatedDevice &device = b.device;
            NullProgress quiet;
            QTemporaryDir backups;
            std::mt19937_64 random(seed);
            const quint64 bytesBefore = link.protocol().bytesSent() + link.protocol().bytesReceived();
            for (int i = 0; i < reads; ++i)
                soakRead(link, device, readTally);
            readBytes += link.protocol().bytesSent() + link.protocol().bytesReceived() - bytesBefore;
            for (int i = 0; i < writes; ++i)
                soakWrite(link, b.backend->virtualClock(), device, random, backups.path(), writeTally);
            requests += device.requests().size();
        }
        std::printf("== faults %s\n", qPrintable(mixes[int(m)]));
        print("reads", readTally, reads * int(seeds));
        print("writes", writeTally, writes * int(seeds));
        // A plain read of every block once: a 7-byte request and a 38-byte answer per block.
        const double plainBytes = double(reads) * double(seeds) * (memorySize / kBlockSize - 2) * 45.0;
        if (reads > 0)
            std::printf("    %zu requests; reads exchanged %.3f times the bytes of reading every block once\n",
                        requests, double(readBytes) / plainBytes);
        if (!writeTally.writeMs.empty()) {
            std::vector<qint64> ms = writeTally.writeMs;
            std::sort(ms.begin(), ms.end());
            std::printf("    writes took %lld ms (median) and %lld ms at the worst: %.2f times the clean write\n",
                        (long long)ms[ms.size() / 2], (long long)ms.back(), double(ms.back()) / double(cleanMs));
            for (auto it = writeTally.phaseMs.cbegin(); it != writeTally.phaseMs.cend(); ++it)
                std::printf("        %8lld ms a write on average in \"%s\"\n",
                            (long long)(it.value() / qint64(ms.size())), it.key().toUtf8().constData());
        }
        corruptions += readTally.corruptions + writeTally.corruptions;
    }
    std::printf("silent corruptions in all: %d\n", corruptions);
    return corruptions == 0 ? 0 : 1;
}
