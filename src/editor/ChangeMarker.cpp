// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/ChangeMarker.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>

namespace mk {

namespace {

constexpr int kMargin = 3;

// Marks on top of the font the widget had: a caption bold by design stays bold.
void setFontMark(QWidget *w, const QFont &plain, SettingMark mark)
{
    if (!w)
        return;
    QFont f = plain;
    if (has(mark, SettingMark::Changed))
        f.setBold(true);
    if (has(mark, SettingMark::NotFactory))
        f.setItalic(true);
    if (f != w->font())
        w->setFont(f);
}

} // namespace

ChangeMarker::ChangeMarker(QWidget *control, QWidget *caption)
    : QWidget(control->parentWidget()), m_control(control), m_caption(caption)
{
    setObjectName(control->objectName() + QStringLiteral("_mark"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    m_controlFont = control->font();
    if (caption)
        m_captionFont = caption->font();
    control->installEventFilter(this);
    hide();
}

void ChangeMarker::setMark(SettingMark mark)
{
    if (mark == m_mark)
        return;
    m_mark = mark;
    setFontMark(m_caption, m_captionFont, mark);
    if (m_caption != m_control)
        setFontMark(m_control, m_controlFont, mark);
    follow();
    update();
}

void ChangeMarker::flash(int ms)
{
    m_flash = true;
    const int serial = ++m_flashSerial;
    follow();
    update();
    QTimer::singleShot(ms, this, [this, serial] {
        if (serial != m_flashSerial)
            return;
        m_flash = false;
        follow();
        update();
    });
}

void ChangeMarker::follow()
{
    if (!m_control)
        return;
    const bool wanted = (m_mark != SettingMark::None || m_flash) && m_control->isVisibleTo(parentWidget());
    if (wanted) {
        setGeometry(m_control->geometry().adjusted(-kMargin, -kMargin, kMargin, kMargin));
        raise();
    }
    setVisible(wanted);
}

bool ChangeMarker::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_control) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide: follow(); break;
        default: break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ChangeMarker::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
    if (m_flash) {
        // Found by a search: a wash over the control and a thick frame, gone after a moment.
        QColor wash = palette().color(QPalette::Highlight);
        wash.setAlpha(70);
        p.setPen(QPen(palette().color(QPalette::Highlight), 3));
        p.setBrush(wash);
        p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
        p.setBrush(Qt::NoBrush);
    }
    const QColor changed(40, 110, 220);
    const QColor notFactory(200, 120, 0);
    if (has(m_mark, SettingMark::Changed)) {
        p.setPen(QPen(changed, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r, 3, 3);
        // A filled corner: readable without colour.
        QPainterPath corner;
        corner.moveTo(0, 0);
        corner.lineTo(8, 0);
        corner.lineTo(0, 8);
        corner.closeSubpath();
        p.fillPath(corner, changed);
    }
    if (has(m_mark, SettingMark::NotFactory)) {
        p.setPen(QPen(notFactory, 1.5));
        p.setBrush(palette().color(QPalette::Window));
        p.drawEllipse(QPointF(width() - 4.5, 4.5), 3.5, 3.5);
    }
}

} // namespace mk
