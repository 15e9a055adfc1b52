// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as the device's answer to a request, arriving in bursts at chosen times: the
// receiver and validator must accept only well-formed answers and read no value past them.
//
// Input layout: byte 0 picks the request (identify or read block), whether the answer's shape is
// expected (the device exchange always expects it) and the port type; byte 1
// the gap between bytes in milliseconds; the rest is what the line delivers, once per attempt.

#include "base/Error.h"
#include "link/DeviceRequest.h"
#include "link/TKW_RS.h"
#include "sim/InMemoryPort.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const quint8 mode = data[0];
    const qint64 gapMs = data[1] % 8;
    const QByteArray line(reinterpret_cast<const char *>(data + 2), qsizetype(size - 2));

    auto backend = std::make_shared<mk::SimulatedPortBackend>();
    backend->addPort(
        1, [&](const QByteArray &) -> std::optional<mk::TimedReply> { return mk::TimedReply::paced(line, 1, gapMs); });
    mk::TKW_RS link(backend);
    mk::Frame &frame = link.frame();
    mk::LinkProtocol &protocol = link.protocol();
    try {
        link.port().OpenPort(1);
        protocol.SetPortType(quint8((mode >> 4) % 3));
        protocol.SetFirstByteTimeout(100);
        protocol.SetInterByteTimeout(5);
        const bool shaped = mode & 2;
        const quint8 command = (mode & 1) ? mk::command::kReadBlock : mk::command::kIdentify;
        if (shaped)
            mk::beginDeviceRequest(frame, 0xFC, command);
        else
            frame.BeginCommand(0xFC, command);
        if (command == mk::command::kReadBlock)
            frame.PutWord(quint16(mode));
        protocol.Exchange();
        // An answer taken for a shaped request has exactly its shape.
        if (shaped &&
            (frame.RxBuf()[0] != mk::kMinFrameLength + mk::answerValues(command) || frame.RxBuf()[4] != command))
            __builtin_trap();
        if (command == mk::command::kReadBlock) {
            (void)frame.GetBytes(32);
        } else {
            (void)frame.GetByte();
            (void)frame.GetWord();
        }
        // An accepted answer must be a checked frame; reading on must stop at its end.
        if (!frame.CheckReply())
            __builtin_trap();
        for (int i = 0; i < 300; ++i)
            (void)frame.GetByte();
        __builtin_trap(); // no answer holds 300 values
    } catch (const mk::Error &) {
    }
    return 0;
}
