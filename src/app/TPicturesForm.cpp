#include "app/TPicturesForm.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace mk {

TPicturesForm *TPicturesForm::s_instance = nullptr;

namespace {

QImage blank(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// Ticks along an arc around (cx, cy) from angle `from` to `to` (degrees, counter-clockwise from
// the positive x axis, y pointing up), every `step` degrees; each `major`-th tick is longer.
void drawArcScale(QPainter &p, QPointF centre, qreal radius, qreal from, qreal to, qreal step, int major)
{
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::FlatCap));
    const QRectF circle(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    p.drawArc(circle, int(from * 16), int((to - from) * 16));
    int n = 0;
    for (qreal a = from; a <= to + 0.01; a += step, ++n) {
        const qreal length = n % major == 0 ? 12 : 6;
        const qreal rad = qDegreesToRadians(a);
        const QPointF dir(qCos(rad), -qSin(rad));
        p.setPen(QPen(Qt::white, n % major == 0 ? 3 : 1.5, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(centre + dir * radius, centre + dir * (radius - length));
    }
}

QImage drawScaleL()
{
    QImage image = blank(79, 136);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Part of a large circle whose centre lies right of the picture: a bow along the left edge.
    drawArcScale(p, QPointF(120, 68), 112, 142, 218, 7.6, 2);
    return image;
}

QImage drawScaleR()
{
    QImage image = blank(149, 136);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawArcScale(p, QPointF(10, 68), 130, -30, 30, 6, 2);
    return image;
}

QImage drawCircle99()
{
    QImage image = blank(199, 199);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(99.5, 99.5);
    p.setPen(QPen(Qt::white, 3));
    p.drawEllipse(centre, 96, 96);
    // A dial of 270 degrees, open at the bottom, with ten divisions.
    drawArcScale(p, centre, 88, -45, 225, 13.5, 2);
    return image;
}

QImage drawCircle9()
{
    QImage image = blank(9, 9);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(0.5, 0.5, 8, 8));
    return image;
}

QImage drawArrow()
{
    QImage image = blank(129, 129);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    // A slim needle from a short tail below the centre to a point near the top edge.
    QPainterPath needle;
    needle.moveTo(64.5, 4);
    needle.lineTo(68, 64.5);
    needle.lineTo(66, 80);
    needle.lineTo(63, 80);
    needle.lineTo(61, 64.5);
    needle.closeSubpath();
    p.drawPath(needle);
    return image;
}

} // namespace

TPicturesForm::TPicturesForm(QWidget *parent)
    : QWidget(parent),
      ScaleL(drawScaleL()),
      ScaleR(drawScaleR()),
      Circle99(drawCircle99()),
      Circle9(drawCircle9()),
      Arrow(drawArrow())
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

TPicturesForm *TPicturesForm::instance()
{
    return s_instance;
}

} // namespace mk
