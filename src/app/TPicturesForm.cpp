// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TPicturesForm.h"

#include "render/ScreenPictures.h"

namespace mk {

TPicturesForm *TPicturesForm::s_instance = nullptr;

namespace {

// The top left width × height pixels of a preview picture, drawn pixels white, the rest
// transparent.
QImage toImage(const ScreenPicture &picture, int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    for (int y = 0; y < std::min(height, picture.height); ++y)
        for (int x = 0; x < std::min(width, picture.width); ++x)
            if (picture.at(x, y))
                image.setPixel(x, y, qRgba(255, 255, 255, 255));
    return image;
}

} // namespace

// The same shapes the screen previews draw: the scales cut to the sizes the pointer screens
// give them, the dial face, its hub and a pointer standing at the middle of its scale.
TPicturesForm::TPicturesForm(QWidget *parent)
    : QWidget(parent),
      ScaleL(toImage(scalePicture(68), 79, 136)),
      ScaleR(toImage(scalePicture(74), 149, 136)),
      Circle99(toImage(dialPicture(99), 199, 199)),
      Circle9(toImage(dialPicture(4), 9, 9)),
      Arrow(toImage(arrowPicture(64, 0.5), 129, 129))
{
    setObjectName(QStringLiteral("PicturesForm"));
    if (!s_instance)
        s_instance = this;
}

TPicturesForm::~TPicturesForm()
{
    if (s_instance == this)
        s_instance = nullptr;
}

TPicturesForm *TPicturesForm::instance() { return s_instance; }

} // namespace mk
