#pragma once
// The simulated trip computer of mkconf --demo: served in-process on a pseudo-terminal that
// a port number points at, and listed as the device's USB modem for the automatic search.

#include "link/PortDiscovery.h"

#include <QString>
#include <memory>

namespace mk {

class PtySimulator;
class SimulatedDevice;

class DemoDevice
{
public:
    // Starts serving a device of that model whose memory holds the factory settings of that
    // version. Throws Error when no pseudo-terminal can be had or no port number is free.
    DemoDevice(quint16 modelCode, quint32 settingsVersion);
    ~DemoDevice();
    DemoDevice(const DemoDevice &) = delete;
    DemoDevice &operator=(const DemoDevice &) = delete;

    int portNumber() const { return m_port; }
    QString node() const;
    // Finds the simulated device and nothing else.
    DeviceSearchSource searchSource() const;
    SimulatedDevice &device() { return *m_device; }

private:
    std::unique_ptr<SimulatedDevice> m_device;
    std::unique_ptr<PtySimulator> m_simulator;
    int m_port = 0;
};

} // namespace mk
