// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The link's trace categories (base/TraceLog.h starts and ends the trace):
//  - mk.link: every frame sent and received with its verdict (accepted, checksum, wrong shape,
//    busy, stale, late, duplicate, no answer, incomplete) and the wait it took, and the link's
//    decisions (retry, drain, give up);
//  - mk.exchange: the device exchange's steps and decisions (device found, blocks read again,
//    section written or left, section sent again, read-back differs, write verified).

#include "base/TraceLog.h"

namespace mk {

Q_DECLARE_LOGGING_CATEGORY(lcLink)
Q_DECLARE_LOGGING_CATEGORY(lcExchange)

} // namespace mk
