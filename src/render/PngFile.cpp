// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/PngFile.h"

#include "base/Error.h"
#include "base/FileIo.h"

#include <QBuffer>
#include <QImage>

namespace mk {

QByteArray pngBytes(const QImage &picture)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "PNG"))
        throw Error(QStringLiteral("Не удалось построить изображение PNG"));
    return png;
}

void savePngFile(const QString &path, const QImage &picture) { writeFileAtomically(path, pngBytes(picture)); }

} // namespace mk
