// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/ImageLayout.h"

namespace mk {

namespace {

quint32 readLe(const QByteArray &image, int pos, int width)
{
    quint32 v = 0;
    for (int i = width - 1; i >= 0; --i)
        v = (v << 8) | (pos + i < image.size() ? uchar(image[pos + i]) : 0u);
    return v;
}

void writeLe(QByteArray &image, int pos, int width, quint32 v)
{
    for (int i = 0; i < width; ++i, v >>= 8)
        image[pos + i] = char(v & 0xFF);
}

} // namespace

ImageHeader ImageHeader::parse(const QByteArray &image)
{
    ImageHeader h;
    h.count = readLe(image, 0, 4);
    for (int k = 0; k < kSectionCount; ++k) {
        h.sections[size_t(k)].address = quint16(readLe(image, 4 + 4 * k, 2));
        h.sections[size_t(k)].length = quint16(readLe(image, 6 + 4 * k, 2));
    }
    h.version = readLe(image, kVersionPos, 4);
    return h;
}

void ImageHeader::writeTo(QByteArray &image) const
{
    if (image.size() < kHeaderSize)
        image.append(QByteArray(kHeaderSize - image.size(), '\0'));
    writeLe(image, 0, 4, count);
    for (int k = 0; k < kSectionCount; ++k) {
        writeLe(image, 4 + 4 * k, 2, sections[size_t(k)].address);
        writeLe(image, 6 + 4 * k, 2, sections[size_t(k)].length);
    }
    writeLe(image, kVersionPos, 4, version);
}

} // namespace mk
