// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A link on simulated port 1 whose answers a test scripts byte by byte, on a virtual clock,
// and the bare port on simulated ports.

#include "link/TKW_RS.h"
#include "sim/InMemoryPort.h"
#include "support/QtPrinters.h"

#include <QByteArray>
#include <functional>
#include <memory>
#include <vector>

namespace mk::test {

// A frame from its bytes without the checksum; the checksum is appended.
QByteArray framed(const QByteArray &withoutChecksum);
// "06 FC 01 00 01 FC" -> bytes
QByteArray hex(const char *text);

struct ScriptedLink
{
    // Each request is answered with the next reply of the script (silence when it runs out).
    explicit ScriptedLink(std::vector<std::optional<TimedReply>> script = {});

    std::shared_ptr<SimulatedPortBackend> backend = std::make_shared<SimulatedPortBackend>();
    std::vector<std::optional<TimedReply>> replies;
    int requestsSeen = 0;
    std::shared_ptr<InMemoryPort> port;
    std::unique_ptr<TKW_RS> link;

    VirtualClock &clock() { return backend->virtualClock(); }
    Frame &frame() { return link->frame(); }
    LinkProtocol &protocol() { return link->protocol(); }
};

// The port class alone on silent simulated ports 1 and 4: discovery and the port choice.
struct PortRig
{
    PortRig();
    static std::optional<TimedReply> silent(const QByteArray &) { return std::nullopt; }

    std::shared_ptr<SimulatedPortBackend> backend = std::make_shared<SimulatedPortBackend>();
    std::unique_ptr<SerialPort> port;
};

} // namespace mk::test
