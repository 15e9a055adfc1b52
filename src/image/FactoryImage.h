// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A realistic device memory image as a freshly set-up device would hold it.

#include <QByteArray>
#include <QtGlobal>

namespace mk {

constexpr int kFactorySection11Size = 32;

// Lays out sections 0..12 one after another from image position 64 and fills them with the
// constructor defaults: the memory of a device that has recorded nothing yet (no journals, no
// counters, no waveform). memorySize is the device memory (8192 or 32768); the image is
// memorySize − 64 bytes long.
QByteArray makeFreshImage(quint16 modelCode, quint32 settingsVersion, int memorySize = 8192);

// The same with sample journals, error entries, counters and a sampled waveform in both
// oscilloscope blocks, as a device in use would hold them: for the simulated device only.
QByteArray makeFactoryImage(quint16 modelCode, quint32 settingsVersion, int memorySize = 8192);

} // namespace mk
