// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/LinkFixture.h"

#include "link/FrameCodec.h"

namespace mk::test {

QByteArray framed(const QByteArray &withoutChecksum)
{
    QByteArray f = withoutChecksum;
    f.append(char(frameChecksum(f.constData(), int(f.size()))));
    return f;
}

QByteArray hex(const char *text) { return QByteArray::fromHex(QByteArray(text).replace(' ', "")); }

ScriptedLink::ScriptedLink(std::vector<std::optional<TimedReply>> script) : replies(std::move(script))
{
    port = backend->addPort(1, [this](const QByteArray &) -> std::optional<TimedReply> {
        const size_t i = size_t(requestsSeen++);
        return i < replies.size() ? replies[i] : std::nullopt;
    });
    link = std::make_unique<TKW_RS>(backend);
    link->port().OpenPort(1);
}

PortRig::PortRig()
{
    backend->addPort(1, silent);
    backend->addPort(4, silent);
    port = std::make_unique<SerialPort>(backend);
}

} // namespace mk::test
