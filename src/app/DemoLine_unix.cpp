// SPDX-License-Identifier: GPL-3.0-or-later
// The demo's line on Linux: the simulated device served on a pseudo-terminal, which a free port
// number points at, so the demo goes through the same port code as a real device.

#include "app/DemoDevice.h"

#include "base/Error.h"
#include "link/LinkTexts.h"
#include "link/PortBackend.h"
#include "link/PortMap.h"
#include "sim/PtySimulator.h"

namespace mk {

namespace {

class PtyDemoLine : public DemoLine
{
public:
    explicit PtyDemoLine(SimulatedDevice &device) : m_simulator(device)
    {
        m_simulator.start();
        m_port = assignPortForNode(m_simulator.slavePath());
        if (m_port == 0)
            throw Error(ErrorKind::DeviceMissing, kNoFreePortText);
    }
    ~PtyDemoLine() override
    {
        if (m_port)
            setPortOverride(m_port, QString());
        m_simulator.stop();
    }

    int portNumber() const override { return m_port; }
    QString node() const override { return m_simulator.slavePath(); }
    std::shared_ptr<PortBackend> backend() const override { return systemPortBackend(); }

private:
    PtySimulator m_simulator;
    int m_port = 0;
};

} // namespace

std::unique_ptr<DemoLine> startDemoLine(SimulatedDevice &device) { return std::make_unique<PtyDemoLine>(device); }

} // namespace mk
