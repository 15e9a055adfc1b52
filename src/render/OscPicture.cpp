// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/OscPicture.h"

#include <QPainter>

namespace mk {

namespace {

const QColor kGridColour(128, 128, 128);

void drawGrid(QPainter &p, int width)
{
    p.setPen(QPen(kGridColour, 0));
    for (int q = 0; q <= 8; ++q)
        p.drawLine(0, kOscTraceHeight - kOscDivision * q, width - 1, kOscTraceHeight - kOscDivision * q);
    p.drawLine(0, kOscTraceHeight + 1, width - 1, kOscTraceHeight + 1);
    p.drawLine(0, -1, width - 1, -1);
    for (int k = 0; k <= width / kOscDivision; ++k)
        p.drawLine(kOscDivision * k, 0, kOscDivision * k, kOscTraceHeight);
}

void drawTexts(QPainter &p, const OscGeometry &g)
{
    QFont font = p.font();
    font.setPointSize(10);
    p.setFont(font);
    const int y = kOscTraceHeight + 2;
    const auto put = [&](int x, const QColor &colour, const QString &text) {
        p.setPen(colour);
        p.drawText(QRect(x, y, 400, 40), Qt::AlignLeft | Qt::AlignTop, text);
    };
    put(10, Qt::white, g.voltText());
    put(100, Qt::white, g.timeText());
    put(200, Qt::magenta, g.offsetText());
    put(300, Qt::cyan, g.levelText());
}

void drawTrace(QPainter &p, const OscGeometry &g, const QByteArray &samples, int width)
{
    p.setPen(QPen(Qt::yellow, 0));
    const int count = int(samples.size());
    if (count == 0)
        return;
    QPoint previous = g.samplePoint(0, quint8(samples[0]));
    for (int i = 0; i + 1 < count; ++i) {
        const QPoint next = g.samplePoint(i + 1, quint8(samples[i + 1]));
        if (next.x() >= 0 && previous.x() < width)
            p.drawLine(previous, next);
        previous = next;
    }
}

// A stroke of n pixels from (x, y) along the axis, the end pixel excluded like a pen move.
void strokeRight(QPainter &p, int x, int y, int n) { p.drawLine(x, y, x + n - 1, y); }
void strokeUp(QPainter &p, int x, int y, int n) { p.drawLine(x, y, x, y - n + 1); }

void drawTriggerLevel(QPainter &p, int yt)
{
    p.setPen(QPen(Qt::cyan, 0));
    const int lengths[] = {4, 3, 2, 1};
    for (int d = 0; d < 4; ++d) {
        strokeRight(p, 0, yt - d, lengths[d]);
        strokeRight(p, 0, yt + d, lengths[d]);
    }
    p.drawLine(0, yt - 4, 4, yt);
    p.drawLine(4, yt, 0, yt + 4);
}

void drawTriggerMoment(QPainter &p, int xt)
{
    p.setPen(QPen(Qt::magenta, 0));
    const int lengths[] = {4, 3, 2, 1};
    for (int d = 0; d < 4; ++d) {
        strokeUp(p, xt - d, kOscTraceHeight, lengths[d]);
        strokeUp(p, xt + d, kOscTraceHeight, lengths[d]);
    }
}

} // namespace

OscGeometry oscGeometry(const OscDrawing &d) { return OscGeometry(d.settings, d.showScale, d.offset, d.zoom); }

void drawOscPicture(QImage &picture, const OscDrawing &d)
{
    const OscGeometry g = oscGeometry(d);
    const int width = picture.width();
    picture.fill(Qt::black);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing, false);
    drawGrid(p, width);
    drawTexts(p, g);
    drawTrace(p, g, d.samples, width);
    drawTriggerLevel(p, g.triggerLevelY());
    drawTriggerMoment(p, g.triggerMomentX());
}

} // namespace mk
