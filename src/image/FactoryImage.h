#pragma once
// A realistic device memory image as a freshly set-up device would hold it.

#include <QByteArray>
#include <QtGlobal>

namespace mk {

constexpr int kFactorySection11Size = 32;

// Lays out sections 0..12 one after another from image position 64, fills them with the
// constructor defaults, sample journals and error entries, and puts a sampled waveform into
// both oscilloscope blocks. memorySize is the device memory (8192 or 32768); the image is
// memorySize − 64 bytes long.
QByteArray makeFactoryImage(quint16 modelCode, quint32 settingsVersion, int memorySize = 8192);

} // namespace mk
