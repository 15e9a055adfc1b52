// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/DisplayLayoutPreview.h"

#include "render/ScreenRenderer.h"

#include <QMouseEvent>
#include <QPainter>

namespace mk {

DisplayPreview::DisplayPreview(const QString &objectName, int tag, QWidget *parent)
    : QWidget(parent), m_tag(tag), m_image(ScreenRenderer::kWidth, ScreenRenderer::kHeight, QImage::Format_RGB32)
{
    setObjectName(objectName);
    m_image.fill(Qt::black);
    setMinimumSize(ScreenRenderer::kWidth * 3 / 4, ScreenRenderer::kHeight * 3 / 4);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

void DisplayPreview::setActualSize() { setFixedSize(ScreenRenderer::kWidth, ScreenRenderer::kHeight); }

QSize DisplayPreview::sizeHint() const { return {ScreenRenderer::kWidth, ScreenRenderer::kHeight}; }

void DisplayPreview::showScreen(const ScreenRenderer &screen)
{
    m_image = QImage(reinterpret_cast<const uchar *>(screen.pixels()), ScreenRenderer::kWidth, ScreenRenderer::kHeight,
                     QImage::Format_RGB32)
                  .copy();
    ++m_drawCount;
    update();
}

// The screen keeps its 4:3 shape inside the box, centred.
QRect DisplayPreview::imageRect() const
{
    const QSize fitted = m_image.size().scaled(size(), Qt::KeepAspectRatio);
    return QRect(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
}

void DisplayPreview::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect target = imageRect();
    if (target.size() != m_image.size())
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, m_image);
}

void DisplayPreview::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::RightButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QRect target = imageRect();
    const QPoint at = event->position().toPoint() - target.topLeft();
    if (at.x() < 0 || at.y() < 0 || at.x() >= target.width() || at.y() >= target.height())
        return;
    emit rightClicked(at.x(), at.y(), target.width(), target.height(), event->position().toPoint());
}

} // namespace mk
