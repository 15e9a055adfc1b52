// mksim: a simulated trip computer on a pseudo-terminal.
// The first line on standard output is the terminal's path; it serves until SIGINT or SIGTERM.

#include "base/Error.h"
#include "base/FileIo.h"
#include "image/FactoryImage.h"
#include "image/SettingsFile.h"
#include "sim/PtySimulator.h"
#include "sim/SimulatedDevice.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <csignal>
#include <cstdio>
#include <pthread.h>

namespace {

const char kUsage[] =
    "usage: mksim [options]\n"
    "  --model CODE          model code the device reports (default 1; with --image, the file's)\n"
    "  --address FC|FD|FE    device address: FC and FD have 8192 bytes of memory, FE 32768 (default FC)\n"
    "  --version N           settings version of the factory image (default 0)\n"
    "  --image FILE.tcset    start from this settings file's image instead of the factory image\n"
    "  --save FILE.tcset     write the device memory as a settings file at exit\n"
    "  --line-rate BAUD      pace every byte as a line at this rate would (11 bits a byte)\n"
    "  --delivery MODE       how paced bytes reach the terminal (default byte):\n"
    "                        byte            each byte when it has finished on the line (a UART)\n"
    "                        packet[:SIZE]   up to SIZE bytes (default 64) when the last of them has\n"
    "                                        finished on the line (a device with its own USB port)\n"
    "                        chunk:US        what finished on the line every US microseconds\n"
    "                                        (a USB-serial bridge)\n"
    "  --reply-delay MS      wait this long before each answer\n"
    "  --fault KIND:RATE[,KIND:RATE...]  spoil this share (0..1) of the answers; kinds:\n"
    "                        drop-byte, bad-checksum, busy, zero-header, silence, short-frame,\n"
    "                        late (late:RATE[:MS]: the answer starts MS ms late, default 150, past\n"
    "                        the usual 100 ms time-out; the device keeps listening and answers\n"
    "                        the retry after it), duplicate (the answer twice, back to back),\n"
    "                        stray (one byte of random value before the answer)\n"
    "  --seed N              seed of the fault choices (default 1)\n"
    "  --log                 one line per request on standard error\n"
    "The first line on standard output is the path of the pseudo-terminal to open.\n"
    "SIGINT or SIGTERM ends it (after --save).\n"
    "exit codes: 0 ended by a signal, 1 failure, 2 bad command line\n";

struct Options
{
    mk::DeviceConfig device;
    bool modelGiven = false;
    quint32 version = 0;
    QString image, save, faults;
    quint64 seed = 1;
    int lineRate = 0, replyDelay = 0;
    mk::Delivery delivery;
    bool log = false;
};

quint64 number(const QString &text, const char *what, quint64 max)
{
    bool ok = false;
    const quint64 v = text.toULongLong(&ok, 0);
    if (!ok || v > max)
        throw mk::Error(QStringLiteral("mksim: bad value for %1: \"%2\"").arg(QLatin1String(what), text));
    return v;
}

Options parse(const QStringList &args)
{
    Options o;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const auto value = [&]() -> QString {
            if (i + 1 >= args.size())
                throw mk::Error(QStringLiteral("mksim: %1 needs a value").arg(a));
            return args[++i];
        };
        if (a == QLatin1String("--model")) {
            o.device.modelCode = quint16(number(value(), "--model", 0xFFFF));
            o.modelGiven = true;
        } else if (a == QLatin1String("--address")) {
            QString v = value().toUpper();
            if (v.startsWith(QLatin1String("0X")))
                v = v.mid(2);
            if (v != QLatin1String("FC") && v != QLatin1String("FD") && v != QLatin1String("FE"))
                throw mk::Error(QStringLiteral("mksim: --address must be FC, FD or FE"));
            o.device.address = quint8(v.toUInt(nullptr, 16));
            o.device.memorySize = mk::memorySizeForAddress(o.device.address);
        } else if (a == QLatin1String("--version")) {
            o.version = quint32(number(value(), "--version", 0xFFFFFFFFu));
        } else if (a == QLatin1String("--image")) {
            o.image = value();
        } else if (a == QLatin1String("--save")) {
            o.save = value();
        } else if (a == QLatin1String("--line-rate")) {
            o.lineRate = int(number(value(), "--line-rate", 4000000));
        } else if (a == QLatin1String("--delivery")) {
            o.delivery = mk::Delivery::parse(value());
        } else if (a == QLatin1String("--reply-delay")) {
            o.replyDelay = int(number(value(), "--reply-delay", 600000));
        } else if (a == QLatin1String("--fault")) {
            o.faults = value();
        } else if (a == QLatin1String("--seed")) {
            o.seed = number(value(), "--seed", ~quint64(0));
        } else if (a == QLatin1String("--log")) {
            o.log = true;
        } else {
            throw mk::Error(QStringLiteral("mksim: unknown option %1").arg(a));
        }
    }
    return o;
}

QByteArray initialMemory(Options &o)
{
    if (o.image.isEmpty())
        return mk::memoryFromImage(mk::makeFactoryImage(o.device.modelCode, o.version, o.device.memorySize),
                                   o.device.memorySize);
    const mk::SettingsFileContent file = mk::decodeSettingsFile(mk::readWholeFile(o.image, mk::kMaxSettingsFileSize));
    if (!o.modelGiven)
        o.device.modelCode = file.modelCode;
    return mk::memoryFromImage(file.image, o.device.memorySize);
}

int run(const QStringList &args)
{
    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    Options o;
    std::vector<mk::FaultRule> faults;
    try {
        o = parse(args);
        faults = mk::parseFaultRules(o.faults);
    } catch (const mk::Error &e) {
        std::fprintf(stderr, "%s\n%s", e.what(), kUsage);
        return 2;
    }

    // Signals are taken by sigwait below; every thread started from here on blocks them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    mk::SimulatedDevice device(o.device, initialMemory(o));
    device.setFaultRules(faults, o.seed);
    mk::PtySimulatorOptions simOptions;
    simOptions.lineRate = o.lineRate;
    simOptions.replyDelayMs = o.replyDelay;
    simOptions.delivery = o.delivery;
    QElapsedTimer clock;
    clock.start();
    if (o.log)
        simOptions.log = [&clock](const QString &line) {
            std::fprintf(stderr, "%10.3f %s\n", double(clock.nsecsElapsed()) / 1e9, line.toUtf8().constData());
        };
    mk::PtySimulator sim(device, simOptions);
    sim.start();
    std::printf("%s\n", sim.slavePath().toLocal8Bit().constData());
    std::fflush(stdout);

    int signal = 0;
    sigwait(&stopSignals, &signal);
    sim.stop();
    if (!o.save.isEmpty())
        mk::writeFileAtomically(o.save,
                                mk::encodeSettingsFile(o.device.modelCode, mk::imageFromMemory(device.memory())));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    try {
        return run(app.arguments().mid(1));
    } catch (const mk::Error &e) {
        std::fprintf(stderr, "mksim: %s\n", e.what());
        return 1;
    }
}
