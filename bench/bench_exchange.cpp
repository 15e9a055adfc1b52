// A full read or write of the device memory against a device on a port: wall time, the wire
// time of the bytes exchanged, their ratio and the CPU time of this (the reading) process.
//   bench_exchange PORT read|write LINE_RATE

#include "BenchClock.h"
#include "link/DeviceExchange.h"
#include "link/PortMap.h"
#include "link/TKW_RS.h"
#include "model/Error.h"
#include "model/TMK.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>

using namespace mk;

namespace {

struct Span
{
    double wall0 = bench::wallSeconds(), cpu0 = bench::cpuSeconds();
    quint64 bytes0;
    explicit Span(const TKW_RS &link) : bytes0(link.bytesSent() + link.bytesReceived()) {}

    void print(const char *what, const TKW_RS &link, double lineRate) const
    {
        const double wall = bench::wallSeconds() - wall0, cpu = bench::cpuSeconds() - cpu0;
        const double bytes = double(link.bytesSent() + link.bytesReceived() - bytes0);
        const double wire = bench::wireSeconds(bytes, lineRate);
        std::printf("%-28s wall %7.3f s  wire %7.3f s  wall/wire %5.3f  CPU %6.3f s (%4.1f %% of wall)  %6.0f bytes\n", what,
                    wall, wire, wall / wire, cpu, 100 * cpu / wall, bytes);
    }
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: bench_exchange PORT read|write LINE_RATE\n");
        return 2;
    }
    const QString op = QString::fromLatin1(argv[2]);
    const double lineRate = std::atof(argv[3]);
    try {
        const int port = assignPortForNode(QString::fromLocal8Bit(argv[1]));
        TKW_RS link;
        link.OpenPort(port);
        link.ClosePort();
        NullProgress quiet;
        // The device is found first, so that the figures below are the transfer alone
        // (finding a device at 0xFE costs the silent waits at 0xFC and 0xFD).
        const std::optional<DeviceIdentity> device = identifyDevice(link, quiet);
        if (!device)
            return 1;
        if (op == QLatin1String("read")) {
            link.Reopen(true);
            Span span(link);
            const std::optional<QByteArray> image = readImage(link, *device, quiet);
            char what[64];
            std::snprintf(what, sizeof what, "read %d bytes (%d blocks)", device->memorySize, int(image->size() / 32));
            span.print(what, link, lineRate);
            link.Reopen(false);
        } else {
            const std::optional<DeviceImage> current = readDevice(link, quiet);
            TMK model;
            model.replaceImage(current->device.modelCode, current->image);
            model.record(2).setU16(0, quint16(model.record(2).u16(0) + 1));
            model.encodeAll();
            QTemporaryDir backups;
            Span span(link);
            writeDevice(link, model, quiet, backups.path());
            char what[64];
            std::snprintf(what, sizeof what, "write %d bytes (identify, read, write)", device->memorySize);
            span.print(what, link, lineRate);
        }
    } catch (const Error &e) {
        std::fprintf(stderr, "bench_exchange: %s\n", e.what());
        return 1;
    }
    return 0;
}
