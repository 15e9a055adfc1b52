// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A box showing one 320x240 screen preview; a right click reports where on the screen it fell.

#include <QImage>
#include <QWidget>

namespace mk {

class ScreenRenderer;

class DisplayPreview : public QWidget
{
    Q_OBJECT
public:
    explicit DisplayPreview(const QString &objectName, int tag = 0, QWidget *parent = nullptr);

    // The screen number this box shows (0-based).
    int tag() const { return m_tag; }
    // Copies the renderer's bitmap and repaints.
    void showScreen(const ScreenRenderer &screen);
    const QImage &image() const { return m_image; }
    // Counts the bitmaps shown so far (how often the box was redrawn).
    int drawCount() const { return m_drawCount; }
    // Shows the bitmap at its own size (for the boxes that take clicks).
    void setActualSize();

    QSize sizeHint() const override;

signals:
    // Right button at (x, y) of a widthxheight preview; pos is the point in the widget.
    void rightClicked(int x, int y, int width, int height, const QPoint &pos);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QRect imageRect() const;

    int m_tag;
    QImage m_image;
    int m_drawCount = 0;
};

} // namespace mk
