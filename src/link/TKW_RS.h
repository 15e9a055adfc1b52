// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The link to the device, one per program run: the serial port, the frame of the current
// request and answer, and the request/answer protocol that joins them. Callers take the part
// they need: the port choice and discovery the port, the exchange the frame and the protocol.
//
//   TKW_RS link;
//   link.port().OpenPort(n);
//   link.frame().BeginCommand(0xFC, 1);
//   link.protocol().Exchange();
//   quint16 model = link.frame().GetWord();

#include "link/FrameCodec.h"
#include "link/LinkProtocol.h"
#include "link/SerialPort.h"

namespace mk {

// Owns the three parts; the protocol works on this link's port and frame.
class TKW_RS
{
public:
    explicit TKW_RS(std::shared_ptr<PortBackend> backend = systemPortBackend()) : m_port(std::move(backend)) {}
    TKW_RS(const TKW_RS &) = delete;
    TKW_RS &operator=(const TKW_RS &) = delete;

    SerialPort &port() { return m_port; }
    const SerialPort &port() const { return m_port; }
    Frame &frame() { return m_frame; }
    const Frame &frame() const { return m_frame; }
    LinkProtocol &protocol() { return m_protocol; }
    const LinkProtocol &protocol() const { return m_protocol; }

private:
    SerialPort m_port;
    Frame m_frame;
    LinkProtocol m_protocol{m_port, m_frame};
};

} // namespace mk
