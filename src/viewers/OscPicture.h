#pragma once
// Draws the oscilloscope trace with its grid, scale texts and trigger marks into a picture.

#include "model/OscData.h"

#include <QImage>

namespace mk {

struct OscDrawing
{
    OscSettings settings;
    double showScale = 1.0; // 1/T of the time base the viewer opened with
    int offset = 0;         // samples scrolled
    QByteArray samples;     // 1024 bytes
};

void drawOscPicture(QImage &picture, const OscDrawing &drawing);

} // namespace mk
