// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the link reaches port number n: whether it is present, how to open it, and the clock
// its time-outs run on. The system backend opens real nodes; tests plug in simulated ports.

#include "link/Clock.h"
#include "link/PortIo.h"

#include <QString>
#include <memory>

namespace mk {

class PortBackend
{
public:
    virtual ~PortBackend() = default;
    virtual bool probe(int number) = 0;
    // Null when the port cannot be opened; throws Error when the user may not open it.
    virtual std::unique_ptr<PortIo> open(int number) = 0;
    // How messages name the port.
    virtual QString label(int number) { return QStringLiteral("COM%1").arg(number); }
    // How port lists name it.
    virtual QString displayName(int number) { return label(number); }
    // The trip computer's stable name leading to port n ("/dev/mk-0"); empty when none does.
    // Port lists put such ports first.
    virtual QString deviceLink(int) { return {}; }
    virtual Clock &clock() = 0;
};

// Real device nodes through PortMap and SerialPortIo, on systemLinkClock().
class SystemPortBackend : public PortBackend
{
public:
    bool probe(int number) override;
    std::unique_ptr<PortIo> open(int number) override;
    QString label(int number) override;
    QString displayName(int number) override;
    QString deviceLink(int number) override;
    Clock &clock() override;
};

std::shared_ptr<PortBackend> systemPortBackend();

} // namespace mk
