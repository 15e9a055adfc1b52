// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Starting a request to the device: the frame is told the shape of the answer the command gets,
// so that an answer meant for another request is refused instead of taken as data.

#include "link/FrameCodec.h"
#include "link/Protocol.h"

namespace mk {

inline void beginDeviceRequest(Frame &frame, quint8 address, quint8 cmd)
{
    frame.BeginCommand(address, cmd);
    frame.ExpectValues(answerValues(cmd));
}

} // namespace mk
