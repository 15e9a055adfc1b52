// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading device memory so that every byte is the block's own. The device's read-block answer
// carries no block number: an answer taken for another block's (the device answered late,
// twice, or after a stray byte) would look like any other, and a later lost answer puts the
// stream back in step without a sign, so that every block in between is its neighbour's.
//
// The rule, and why it holds:
//  - The protocol refuses an answer whose shape (length, echoed command) is not the request's,
//    so only read-block answers can be taken for a read-block request.
//  - The stream of answers gets out of step only through an answer nobody asked for: a second
//    copy, a late answer met by its retry, an answer to an earlier attempt. Each is a copy of
//    an answer the device gave to a request of this read, so it repeats an answer already
//    received. A first answer that repeats none, from an exchange that was not disturbed
//    (no failed attempt, no stale or drained byte), therefore keeps the stream in step: it is
//    its block's own and is kept as it is.
//  - Any other answer (a repeat, or one from a disturbed exchange) may be out of step. Then an
//    identify probe goes out: a stream out of step hands it a read-block answer, which it
//    refuses. A probe answered cleanly at the first attempt with the device's model code
//    proves the stream in step at that point, and the answer to the read that follows it at
//    once is that block's own. So the doubtful block is read again right after a clean probe;
//    the answer in doubt itself is never kept, since the stream may have got back in step by
//    losing its block's true answer. While read-again blocks keep repeating (erased memory,
//    runs of zeros) each read is preceded by a probe; the first new answer ends that.
//  - Belt and braces for what the above does not foresee (a frame pieced together from noise,
//    an answer of an earlier operation arriving very late): a probe after every kProbeEvery
//    blocks read without one and after the last; one that is not clean has the blocks since
//    the last clean probe read again, each after a clean probe.
// A clean line costs one identify per kProbeEvery blocks and a probe per repeating block.

#include "link/Progress.h"

#include <QByteArray>
#include <functional>
#include <optional>
#include <vector>

namespace mk {

class TKW_RS;

// Blocks read between two probes on a clean line.
constexpr int kProbeEvery = 32;
// Tries at reading one doubtful block after a clean probe before the read gives up.
constexpr int kSettleTries = 6;

// The gauge value after the i-th block of a read.
using BlockGauge = std::function<int(size_t i)>;

// Reads the blocks of the device at address (which identifies itself with modelCode) and returns
// their bytes back to back; nothing when cancellable and cancelled between blocks. Throws the
// link's Error, or Error with kUnsteadyReadText when a block cannot be read after a clean probe.
std::optional<QByteArray> readBlocksTrusted(TKW_RS &link, quint8 address, quint16 modelCode,
                                            const std::vector<int> &blocks, Progress &progress, bool cancellable,
                                            const BlockGauge &gauge);

} // namespace mk
