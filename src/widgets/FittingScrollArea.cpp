// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/FittingScrollArea.h"

namespace mk {

FittingScrollArea::FittingScrollArea(QWidget *content, const QString &objectName, QWidget *parent) : QScrollArea(parent)
{
    setObjectName(objectName);
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setWidget(content);
}

QSize FittingScrollArea::sizeHint() const
{
    // QScrollArea caps its hint at a few dozen characters; here the whole content is wanted.
    const QWidget *content = widget();
    if (!content)
        return QScrollArea::sizeHint();
    const int frame = 2 * frameWidth();
    return content->sizeHint().expandedTo(content->minimumSizeHint()) + QSize(frame, frame);
}

} // namespace mk
