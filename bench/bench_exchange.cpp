// SPDX-License-Identifier: GPL-3.0-or-later
// A full read or write of the device memory against a device on a port: wall time, the wire
// time of the bytes exchanged (request and answer bytes, 11 bits each at the line rate),
// their ratio, the CPU time of this (the client) process as a share of the wall time and,
// given the simulator's process id, its CPU time as a share of one core.
// "traced-read" is the read with the trace on, written to rotating files as the configurator
// keeps it (in a temporary folder): the trace's cost is its wall / wire beside the plain read's.
//   bench_exchange PORT read|traced-read|write LINE_RATE [SIMULATOR_PID [LABEL]]

#include "BenchClock.h"
#include "base/Error.h"
#include "base/TraceLog.h"
#include "image/TMK.h"
#include "link/DeviceExchange.h"
#include "link/PortMap.h"
#include "link/TKW_RS.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>

using namespace mk;

namespace {

struct Span
{
    double wall0 = bench::wallSeconds(), cpu0 = bench::cpuSeconds(), sim0;
    long simPid;
    quint64 bytes0;
    Span(const TKW_RS &link, long simulatorPid)
        : sim0(bench::processCpuSeconds(simulatorPid)),
          simPid(simulatorPid),
          bytes0(link.protocol().bytesSent() + link.protocol().bytesReceived())
    {}

    void print(const char *label, const char *what, const TKW_RS &link, double lineRate) const
    {
        const double wall = bench::wallSeconds() - wall0, cpu = bench::cpuSeconds() - cpu0;
        const double sim = simPid > 0 ? bench::processCpuSeconds(simPid) - sim0 : -1;
        const double bytes = double(link.protocol().bytesSent() + link.protocol().bytesReceived() - bytes0);
        const double wire = bench::wireSeconds(bytes, lineRate);
        char simText[32] = "    -";
        if (sim >= 0)
            std::snprintf(simText, sizeof simText, "%5.2f", 100 * sim / wall);
        std::printf("%-11s %-24s wall %6.3f s  wire %6.3f s  wall/wire %5.3f  client CPU %5.2f %% of wall  "
                    "simulator %s %% of a core  %6.0f bytes  load %s\n",
                    label, what, wall, wire, wall / wire, 100 * cpu / wall, simText, bytes,
                    bench::loadAverage().c_str());
        std::fflush(stdout);
    }
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: bench_exchange PORT read|traced-read|write LINE_RATE [SIMULATOR_PID [LABEL]]\n");
        return 2;
    }
    const QString op = QString::fromLatin1(argv[2]);
    const double lineRate = std::atof(argv[3]);
    const long simPid = argc > 4 ? std::atol(argv[4]) : 0;
    const char *label = argc > 5 ? argv[5] : "";
    try {
        const int port = assignPortForNode(QString::fromLocal8Bit(argv[1]));
        TKW_RS link;
        link.port().OpenPort(port);
        link.port().ClosePort();
        NullProgress quiet;
        // The device is found first, so that the figures below are the transfer alone
        // (finding a device at 0xFE costs the silent waits at 0xFC and 0xFD).
        const std::optional<DeviceIdentity> device = identifyDevice(link, quiet);
        if (!device)
            return 1;
        const bool traced = op == QLatin1String("traced-read");
        if (op == QLatin1String("read") || traced) {
            QTemporaryDir traceDir;
            if (traced)
                TraceLog::toRotatingFiles(traceDir.path(), QStringLiteral("bench_exchange"));
            link.port().Reopen(true);
            Span span(link, simPid);
            const std::optional<QByteArray> image = readImage(link, *device, quiet);
            char what[64];
            std::snprintf(what, sizeof what, "%sread %d bytes", traced ? "traced " : "", device->memorySize);
            span.print(label, what, link, lineRate);
            link.port().Reopen(false);
            if (traced) {
                TraceLog::stop();
                const QByteArray trace = TraceLog::rotatingTail(traceDir.path(), 64 * kTraceFileCap);
                std::printf("%-11s trace: %lld bytes, %lld lines\n", label, qint64(trace.size()),
                            qint64(trace.count('\n')));
            }
        } else {
            const std::optional<DeviceImage> current = readDevice(link, quiet);
            TMK model;
            model.replaceImage(current->device.modelCode, current->image);
            model.record(2).setU16(0, quint16(model.record(2).u16(0) + 1));
            model.encodeAll();
            QTemporaryDir backups;
            Span span(link, simPid);
            writeDevice(link, model, quiet, backups.path());
            char what[64];
            std::snprintf(what, sizeof what, "write %d (id,read,write,verify)", device->memorySize);
            span.print(label, what, link, lineRate);
        }
    } catch (const Error &e) {
        std::fprintf(stderr, "bench_exchange: %s\n", e.what());
        return 1;
    }
    return 0;
}
