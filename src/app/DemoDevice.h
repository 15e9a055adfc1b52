// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The simulated trip computer of mkconf --demo, on a line of its own that a port number leads
// to, and listed as the device's USB modem for the automatic search. The line is the one
// platform difference (DemoLine).

#include "link/PortDiscovery.h"

#include <QString>
#include <memory>

namespace mk {

class PortBackend;
class SimulatedDevice;

// The line the simulated device answers on: a pseudo-terminal that the real port code opens
// (Linux), or an in-process line that the exchange uses directly (Windows, which has no
// pseudo-terminals).
class DemoLine
{
public:
    virtual ~DemoLine() = default;
    // The port number that leads to the device, its node ("/dev/pts/3", "COM256"), and the
    // ports the link opens while the demo runs.
    virtual int portNumber() const = 0;
    virtual QString node() const = 0;
    virtual std::shared_ptr<PortBackend> backend() const = 0;
};

// Starts serving the device; throws Error when no line or no port number can be had.
std::unique_ptr<DemoLine> startDemoLine(SimulatedDevice &device);

class DemoDevice
{
public:
    // Starts serving a device of that model whose memory holds the factory settings of that
    // version. Throws Error when no line can be had or no port number is free.
    DemoDevice(quint16 modelCode, quint32 settingsVersion);
    ~DemoDevice();
    DemoDevice(const DemoDevice &) = delete;
    DemoDevice &operator=(const DemoDevice &) = delete;

    int portNumber() const { return m_line->portNumber(); }
    QString node() const { return m_line->node(); }
    std::shared_ptr<PortBackend> backend() const { return m_line->backend(); }
    // Finds the simulated device and nothing else.
    DeviceSearchSource searchSource() const;
    SimulatedDevice &device() { return *m_device; }

private:
    std::unique_ptr<SimulatedDevice> m_device;
    std::unique_ptr<DemoLine> m_line; // after the device: stops serving before it goes
};

} // namespace mk
