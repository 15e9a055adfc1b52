// SPDX-License-Identifier: GPL-3.0-or-later
// Requests per second and CPU time per request of the link against a device on a port.
//   bench_link PORT SECONDS [LINE_RATE [SIMULATOR_PID]]
// With LINE_RATE (the rate the device paces its bytes at) it also prints the ratio of the
// measured wall time to the wire time of the bytes exchanged; with the simulator's process id,
// the simulator's CPU time as a share of one core.

#include "BenchClock.h"
#include "base/Error.h"
#include "link/PortMap.h"
#include "link/TKW_RS.h"
#include "sim/SimulatedDevice.h"

#include <QCoreApplication>
#include <cstdio>

using namespace mk;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_link PORT SECONDS [LINE_RATE [SIMULATOR_PID]]\n");
        return 2;
    }
    const double seconds = std::atof(argv[2]);
    const double lineRate = argc > 3 ? std::atof(argv[3]) : 0;
    const long simPid = argc > 4 ? std::atol(argv[4]) : 0;
    try {
        const int port = assignPortForNode(QString::fromLocal8Bit(argv[1]));
        TKW_RS link;
        Frame &frame = link.frame();
        LinkProtocol &protocol = link.protocol();
        link.port().OpenPort(port);
        protocol.SetFirstByteTimeout(100);
        protocol.CommandExchange(0xFC, command::kIdentify); // also finds out the device is there

        const quint64 sent0 = protocol.bytesSent(), received0 = protocol.bytesReceived();
        const double wall0 = bench::wallSeconds(), cpu0 = bench::cpuSeconds();
        const double sim0 = bench::processCpuSeconds(simPid);
        long requests = 0;
        while (bench::wallSeconds() - wall0 < seconds) {
            frame.BeginCommand(0xFC, command::kReadBlock);
            frame.PutWord(quint16(1 + requests % 127));
            protocol.Exchange();
            frame.GetBytes(32);
            ++requests;
        }
        const double wall = bench::wallSeconds() - wall0, cpu = bench::cpuSeconds() - cpu0;
        const double sim = simPid > 0 ? bench::processCpuSeconds(simPid) - sim0 : -1;
        const double bytes = double(protocol.bytesSent() - sent0 + protocol.bytesReceived() - received0);
        std::printf("requests:            %ld (read block, 8 + 38 bytes each)\n", requests);
        std::printf("requests per second: %.0f\n", requests / wall);
        std::printf("CPU per request:     %.1f us\n", 1e6 * cpu / requests);
        std::printf("CPU / wall:          %.1f %%\n", 100 * cpu / wall);
        if (sim >= 0)
            std::printf("simulator CPU:       %.1f %% of a core\n", 100 * sim / wall);
        if (lineRate > 0) {
            const double wire = bench::wireSeconds(bytes, lineRate);
            std::printf("wire time:           %.3f s at %.0f baud\n", wire, lineRate);
            std::printf("wall / wire:         %.3f\n", wall / wire);
            std::printf("load average:        %s\n", bench::loadAverage().c_str());
        }
        link.port().ClosePort();
    } catch (const Error &e) {
        std::fprintf(stderr, "bench_link: %s\n", e.what());
        return 1;
    }
    return 0;
}
