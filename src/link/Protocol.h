// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The device's command codes and its memory block: shared by the exchange that sends the
// commands and the simulated device that answers them.
//
// Commands (request values after the command byte, all words little-endian):
// Every answer echoes its command as the status byte (0xFF: busy).
//   1  identify             -> one byte, then the model code word
//   5  read block b         -> the 32 bytes of memory at address 32 * b
//   12 begin section write  A, c
//   4  write chunk          j, n, n bytes (n <= 32) for bytes 32 * j .. 32 * j + n - 1
//   7  end section write    A, c: applies the chunks to memory at A once they cover c bytes

#include <QtGlobal>

namespace mk {

namespace command {
constexpr quint8 kIdentify = 1;
constexpr quint8 kWriteChunk = 4;
constexpr quint8 kReadBlock = 5;
constexpr quint8 kEndSectionWrite = 7;
constexpr quint8 kBeginSectionWrite = 12;
} // namespace command

constexpr int kBlockSize = 32;

// Values in the device's answer to each command (the answer frame is 6 bytes longer and
// echoes the command as its status); -1 for a command the device does not know.
constexpr int answerValues(quint8 cmd)
{
    switch (cmd) {
    case command::kIdentify: return 3;
    case command::kReadBlock: return kBlockSize;
    case command::kWriteChunk:
    case command::kBeginSectionWrite:
    case command::kEndSectionWrite: return 0;
    default: return -1;
    }
}

} // namespace mk
