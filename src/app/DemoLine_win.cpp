// SPDX-License-Identifier: GPL-3.0-or-later
// The demo's line on Windows, which has no pseudo-terminals: the link talks to the simulated
// device in-process, on the highest COM number the system does not use.

#include "app/DemoDevice.h"

#include "base/Error.h"
#include "link/LinkTexts.h"
#include "link/PortMap.h"
#include "sim/InMemoryPort.h"

namespace mk {

namespace {

class InProcessDemoLine : public DemoLine
{
public:
    explicit InProcessDemoLine(SimulatedDevice &device) : m_backend(std::make_shared<SimulatedPortBackend>())
    {
        for (int n = kMaxPortNumber; n >= 1 && m_port == 0; --n)
            if (!probePortNode(systemPortNode(n)))
                m_port = n;
        if (m_port == 0)
            throw Error(ErrorKind::DeviceMissing, kNoFreePortText);
        m_backend->addPort(m_port, InMemoryPort::deviceResponder(device));
    }

    int portNumber() const override { return m_port; }
    QString node() const override { return systemPortNode(m_port); }
    std::shared_ptr<PortBackend> backend() const override { return m_backend; }

private:
    std::shared_ptr<SimulatedPortBackend> m_backend;
    int m_port = 0;
};

} // namespace

std::unique_ptr<DemoLine> startDemoLine(SimulatedDevice &device)
{
    return std::make_unique<InProcessDemoLine>(device);
}

} // namespace mk
