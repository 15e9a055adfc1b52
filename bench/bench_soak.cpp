// Soak of the device exchange on a bad line: many full reads and writes against the simulated
// device with faults injected, on a virtual clock (time-outs cost no real time). Every success
// must be byte-exact; every failure must leave the caller's image unchanged and the device's
// memory either unchanged or changed only in whole sections that were written completely.
// The device's bytes are paced as on a line of --line-rate baud (11 bits a byte), so that an
// answer that comes late or twice is still arriving when the next request goes out, as on a
// real line, and delivered byte by byte, in packets or in a bridge's chunks.
//
//   bench_soak [--reads N] [--writes N] [--faults KIND:RATE[:MS],...] [--seed N]
//              [--memory 8192|32768] [--line-rate BAUD] [--delivery byte|packet[:SIZE]|chunk:US]

#include "image/FactoryImage.h"
#include "image/TMK.h"
#include "link/DeviceExchange.h"
#include "link/TKW_RS.h"
#include "sim/InMemoryPort.h"
#include "sim/SimulatedDevice.h"

#include <QCoreApplication>
#include <QMap>
#include <QTemporaryDir>
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

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int reads = 200, writes = 50, memorySize = 8192, lineRate = 115200;
    Delivery delivery;
    quint64 seed = 1;
    // Late answers at delays around the time-outs: within the retry pause, meeting the retry,
    // past the retry's own time-out, and past the 2 s time-out of section writes.
    QString faults = QStringLiteral("drop-byte:0.005,bad-checksum:0.005,busy:0.002,late:0.001:120,late:0.001:160,"
                                    "late:0.001:250,late:0.001:350,late:0.0002:2500,duplicate:0.002,stray:0.002");
    const QStringList args = app.arguments();
    std::vector<FaultRule> rules;
    try {
        for (int i = 1; i + 1 < args.size(); i += 2) {
            const QString &opt = args[i], &val = args[i + 1];
            if (opt == QLatin1String("--reads"))
                reads = val.toInt();
            else if (opt == QLatin1String("--writes"))
                writes = val.toInt();
            else if (opt == QLatin1String("--faults"))
                faults = val;
            else if (opt == QLatin1String("--seed"))
                seed = val.toULongLong();
            else if (opt == QLatin1String("--memory"))
                memorySize = val.toInt();
            else if (opt == QLatin1String("--line-rate"))
                lineRate = val.toInt();
            else if (opt == QLatin1String("--delivery"))
                delivery = Delivery::parse(val);
            else {
                std::fprintf(stderr, "unknown option %s\n", qPrintable(opt));
                return 2;
            }
        }
        rules = parseFaultRules(faults);
    } catch (const Error &e) {
        std::fprintf(stderr, "bench_soak: %s\n", e.what());
        return 2;
    }

    const quint8 address = memorySize == 32768 ? 0xFE : 0xFC;
    const quint16 modelCode = 0x0101;
    SimulatedDevice device({address, modelCode, memorySize},
                           memoryFromImage(makeFactoryImage(modelCode, 1, memorySize), memorySize));
    device.setFaultRules(rules, seed);
    auto backend = std::make_shared<SimulatedPortBackend>();
    backend->addPort(1, InMemoryPort::deviceResponderAtRate(device, lineRate))->setDelivery(delivery);
    TKW_RS link(backend);
    link.port().OpenPort(1);
    link.port().ClosePort();
    NullProgress quiet;
    QTemporaryDir backups;
    std::mt19937_64 random(seed);

    std::printf("faults %s, seed %llu, %d-byte device, line paced at %d baud on a virtual clock, delivery %s\n",
                qPrintable(faults), (unsigned long long)seed, memorySize, lineRate, qPrintable(delivery.name()));

    Tally readTally;
    for (int i = 0; i < reads; ++i) {
        TMK held;
        held.replaceImage(modelCode, imageFromMemory(device.memory()));
        const QByteArray heldBefore = held.image();
        try {
            const std::optional<DeviceImage> got = readDevice(link, quiet);
            if (!got)
                ++readTally.cancelled;
            else if (got->image != imageFromMemory(device.memory()) || got->device.modelCode != modelCode)
                ++readTally.corruptions;
            else
                ++readTally.successes;
        } catch (const Error &e) {
            ++readTally.failures[firstLine(e.text())];
        }
        if (held.image() != heldBefore)
            ++readTally.corruptions;
    }
    print("reads", readTally, reads);
    const size_t readRequests = device.requests().size();
    std::printf("    %zu requests (%d without faults)\n", readRequests, reads * (1 + memorySize / 32 - 2));
    device.clearRequests();

    Tally writeTally;
    for (int i = 0; i < writes; ++i) {
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
        const QByteArray intended = memoryFromImage(intendedModel.image(), memorySize);
        try {
            const std::optional<WriteOutcome> outcome = writeDevice(link, model, quiet, backups.path());
            if (!outcome)
                ++writeTally.cancelled;
            else if (device.memory() != intended)
                ++writeTally.corruptions;
            else
                ++writeTally.successes;
        } catch (const Error &e) {
            ++writeTally.failures[firstLine(e.text())];
            if (!onlyWholeSectionsChanged(before, device.memory(), intended, model.header()))
                ++writeTally.corruptions;
        }
        if (model.image() != heldBefore)
            ++writeTally.corruptions;
    }
    print("writes", writeTally, writes);
    std::printf("    %zu requests\n", device.requests().size());
    const int corruptions = readTally.corruptions + writeTally.corruptions;
    std::printf("silent corruptions in all: %d\n", corruptions);
    return corruptions == 0 ? 0 : 1;
}
