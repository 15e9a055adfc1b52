#pragma once
// Reading device memory so that every byte is the block's own. The device's read-block answer
// carries no block number: an answer taken for another block's (the device answered late,
// twice, or after a stray byte) would look like any other.
//
// The rule: the blocks are read in order; the stretch read since the line was last known
// clean is confirmed whenever the link reports a disturbance (a failed attempt, stale or
// drained bytes, an answer of another shape) and, at the end, when an answer is left over.
// Confirming reads the stretch again on a drained line: a re-read on an undisturbed line is
// taken as it is; otherwise two readings of the stretch must agree, and a reading that left
// stray bytes behind counts for nothing, since a device that answers one block twice every
// time would give the same shifted bytes twice. A clean read costs one pass and a short
// listen for a left-over answer at the end.

#include "link/Progress.h"

#include <QByteArray>
#include <functional>
#include <optional>
#include <vector>

namespace mk {

class TKW_RS;

// A read-block answer: the frame of 6 bytes around 32 bytes of memory.
constexpr int kBlockAnswerLength = 38;
// Readings of one stretch before the read gives up.
constexpr int kStretchReadings = 4;

// The gauge value after the i-th block of a read.
using BlockGauge = std::function<int(size_t i)>;

// Reads the blocks in order and returns their bytes back to back; nothing when cancellable
// and cancelled between blocks. Throws the link's Error, or Error with kUnsteadyReadText when
// a stretch cannot be confirmed.
std::optional<QByteArray> readBlocksTrusted(TKW_RS &link, quint8 address, const std::vector<int> &blocks,
                                            Progress &progress, bool cancellable, const BlockGauge &gauge);

} // namespace mk
