// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pictures saved as PNG files through the one file writer, so that a full disk never leaves an
// empty or half-written picture behind a success.

#include <QByteArray>
#include <QString>

class QImage;

namespace mk {

// The picture encoded as PNG; throws Error when it cannot be.
QByteArray pngBytes(const QImage &picture);
// Encodes the picture as PNG and writes it atomically; throws Error with the reason.
void savePngFile(const QString &path, const QImage &picture);

} // namespace mk
