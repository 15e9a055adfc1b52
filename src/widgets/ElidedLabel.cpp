// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/ElidedLabel.h"

#include <QPainter>

namespace mk {

QSize ElidedLabel::minimumSizeHint() const
{
    // Room for a few characters: the rest of the text gives way.
    return QSize(fontMetrics().averageCharWidth() * 8, QLabel::minimumSizeHint().height());
}

void ElidedLabel::paintEvent(QPaintEvent *)
{
    const QRect room = contentsRect();
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, room.width());
    const QString tip = shown == text() ? QString() : text();
    if (toolTip() != tip)
        setToolTip(tip);
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(room, int(alignment() | Qt::TextSingleLine), shown);
}

} // namespace mk
