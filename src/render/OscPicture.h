// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Draws the oscilloscope trace with its grid, scale texts and trigger marks into a picture.

#include "journals/OscData.h"

#include <QImage>

namespace mk {

struct OscDrawing
{
    OscSettings settings;
    double showScale = 1.0; // 1/T of the time base the viewer opened with
    int offset = 0;         // samples scrolled
    double zoom = 1.0;      // time-axis stretch about the trigger moment; 1 as the device's tools draw
    QByteArray samples;     // 1024 bytes
};

void drawOscPicture(QImage &picture, const OscDrawing &drawing);
OscGeometry oscGeometry(const OscDrawing &drawing);

// The viewer's paint box size.
constexpr int kOscPictureWidth = 1002;
constexpr int kOscPictureHeight = 278;

} // namespace mk
