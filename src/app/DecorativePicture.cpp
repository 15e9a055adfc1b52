// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DecorativePicture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace mk {

DecorativePicture::DecorativePicture(QWidget *parent) : QWidget(parent) { setFixedSize(sizeHint()); }

void DecorativePicture::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF body = QRectF(rect()).adjusted(1, 1, -1, -1);

    // The housing.
    QLinearGradient housing(body.topLeft(), body.bottomLeft());
    housing.setColorAt(0, QColor(0x5a, 0x5e, 0x66));
    housing.setColorAt(1, QColor(0x24, 0x26, 0x2b));
    p.setPen(QPen(QColor(0x14, 0x15, 0x18), 1));
    p.setBrush(housing);
    p.drawRoundedRect(body, 9, 9);

    // The colour display, 4:3 like the device's own.
    const QRectF screen(body.left() + 8, body.top() + 7, 68, 51);
    QLinearGradient glass(screen.topLeft(), screen.bottomRight());
    glass.setColorAt(0, QColor(0x10, 0x28, 0x58));
    glass.setColorAt(1, QColor(0x03, 0x0a, 0x1c));
    p.setPen(QPen(QColor(0x0b, 0x0c, 0x0e), 1.5));
    p.setBrush(glass);
    p.drawRect(screen);

    // A pointer dial on the display.
    const QPointF centre(screen.center().x(), screen.bottom() - 10);
    const qreal radius = 30;
    p.setPen(QPen(QColor(0xe8, 0xe8, 0xe8), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius), 20 * 16, 140 * 16);
    for (int i = 0; i <= 7; ++i) {
        const qreal a = qDegreesToRadians(160.0 - i * 20.0);
        const QPointF dir(qCos(a), -qSin(a));
        p.setPen(QPen(i >= 6 ? QColor(0xff, 0x40, 0x30) : QColor(0xe8, 0xe8, 0xe8), i % 2 ? 1.0 : 2.0));
        p.drawLine(centre + dir * radius, centre + dir * (radius - (i % 2 ? 4 : 7)));
    }
    const qreal needle = qDegreesToRadians(62.0);
    p.setPen(QPen(QColor(0xff, 0xa0, 0x20), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre, centre + QPointF(qCos(needle), -qSin(needle)) * (radius - 3));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xe8, 0xe8, 0xe8));
    p.drawEllipse(centre, 3, 3);

    // Three keys beside the display.
    for (int i = 0; i < 3; ++i) {
        const QRectF key(screen.right() + 10, screen.top() + 3 + i * 17, 18, 11);
        QLinearGradient cap(key.topLeft(), key.bottomLeft());
        cap.setColorAt(0, QColor(0xb8, 0xbc, 0xc4));
        cap.setColorAt(1, QColor(0x70, 0x74, 0x7c));
        p.setPen(QPen(QColor(0x18, 0x19, 0x1c), 1));
        p.setBrush(cap);
        p.drawRoundedRect(key, 3, 3);
    }
}

} // namespace mk
