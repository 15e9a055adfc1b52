// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewers/JournalChart.h"

#include "base/DecimalText.h"

#include <QHelpEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <cmath>

namespace mk {

namespace {

constexpr double kMaxBarWidth = 64;

} // namespace

JournalChart::JournalChart(const QString &objectName, QWidget *parent) : QWidget(parent)
{
    setObjectName(objectName);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

void JournalChart::setSeries(const PlotSeries &series)
{
    m_series = series;
    update();
}

QString JournalChart::valueText(const QPoint &at) const
{
    const int n = int(m_series.points.size());
    if (n == 0 || !m_plot.isValid() || at.x() < m_plot.left() || at.x() > m_plot.right() || at.y() < m_plot.top() ||
        at.y() > m_plot.bottom())
        return {};
    const int i = std::clamp(int((at.x() - m_plot.left()) * n / double(m_plot.width())), 0, n - 1);
    const PlotPoint &pt = m_series.points[i];
    // Numbered as the journal's rows: "Посл." for the last entry, then 1, 2, …
    const QString number = pt.entry == 0 ? QStringLiteral("Посл.") : QStringLiteral("№%1").arg(pt.entry);
    const QString head = pt.heading.isEmpty() ? QStringLiteral("%1 от %2").arg(number, pt.label) : pt.heading;
    if (!pt.present)
        return head + QStringLiteral(": нет значения");
    return QStringLiteral("%1: %2 %3").arg(head, decimalText(pt.value, pt.value < 100 ? 1 : 0), m_series.unit);
}

bool JournalChart::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const QString text = valueText(help->pos());
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, this);
        return true;
    }
    return QWidget::event(event);
}

void JournalChart::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QFontMetrics fm = fontMetrics();
    const int lineHeight = fm.height();
    const QColor text = palette().color(QPalette::Text);

    QFont titleFont = font();
    titleFont.setBold(true);
    p.setFont(titleFont);
    p.setPen(text);
    p.drawText(QRect(0, 2, width(), lineHeight), Qt::AlignHCenter | Qt::AlignTop, m_series.title);
    p.setFont(font());

    m_plot = {};
    if (m_series.empty()) {
        p.drawText(rect(), Qt::AlignCenter, QStringLiteral("Нет данных"));
        return;
    }

    double maximum = 0;
    for (const PlotPoint &pt : m_series.points)
        if (pt.present)
            maximum = std::max(maximum, pt.value);
    const AxisTicks ticks = axisTicks(maximum);
    const auto tickText = [&](int i) { return decimalText(ticks.step * i, ticks.decimals); };

    int labelWidth = fm.horizontalAdvance(m_series.unit);
    for (int i = 0; i <= ticks.count; ++i)
        labelWidth = std::max(labelWidth, fm.horizontalAdvance(tickText(i)));
    // Rows: title, unit, half a row for the top number, the plot, dates, what a bar is.
    const int plotTop = lineHeight * 5 / 2 + 8;
    const QRect plot(labelWidth + 14, plotTop, width() - labelWidth - 24, height() - plotTop - 2 * lineHeight - 10);
    if (plot.width() < 20 || plot.height() < 20)
        return;
    m_plot = plot;
    const double top = ticks.step * ticks.count;
    const auto yOf = [&](double v) { return plot.bottom() - int(std::lround(v / top * plot.height())); };

    // Value axis: grid lines with their numbers, the unit above them.
    p.drawText(QRect(0, lineHeight + 3, labelWidth + 8, lineHeight), Qt::AlignRight | Qt::AlignBottom, m_series.unit);
    for (int i = 0; i <= ticks.count; ++i) {
        const int y = yOf(ticks.step * i);
        p.setPen(QPen(palette().color(QPalette::Mid), 0, i == 0 ? Qt::SolidLine : Qt::DotLine));
        p.drawLine(plot.left(), y, plot.right(), y);
        p.setPen(text);
        p.drawText(QRect(0, y - lineHeight / 2, labelWidth + 8, lineHeight), Qt::AlignRight | Qt::AlignVCenter,
                   tickText(i));
    }
    p.drawLine(plot.left(), plot.top(), plot.left(), plot.bottom());

    // One bar per entry; labels thinned out when they would overlap.
    const int n = int(m_series.points.size());
    const double slot = double(plot.width()) / n;
    const int labelEvery = std::max(1, int(std::ceil((fm.horizontalAdvance(QStringLiteral("30.12")) + 6) / slot)));
    for (int i = 0; i < n; ++i) {
        const PlotPoint &pt = m_series.points[i];
        // A few bars over a wide chart (one month of history) stay bars, not blocks.
        const double margin = std::max(slot * 0.2, (slot - kMaxBarWidth) / 2);
        const int x0 = plot.left() + int(std::lround(slot * i + margin));
        const int x1 = plot.left() + int(std::lround(slot * (i + 1) - margin));
        if (pt.present) {
            const int y = yOf(pt.value);
            p.fillRect(QRect(QPoint(x0, y), QPoint(std::max(x0, x1 - 1), plot.bottom() - 1)), QColor(52, 120, 200));
            if (slot >= fm.horizontalAdvance(QStringLiteral("000.0")) + 4)
                p.drawText(QRect(x0 - 20, y - lineHeight - 1, x1 - x0 + 40, lineHeight),
                           Qt::AlignHCenter | Qt::AlignBottom, decimalText(pt.value, pt.value < 100 ? 1 : 0));
        } else {
            p.drawText(QRect(x0 - 10, plot.bottom() - lineHeight - 1, x1 - x0 + 20, lineHeight),
                       Qt::AlignHCenter | Qt::AlignBottom, QStringLiteral("—"));
        }
        if (i % labelEvery == 0)
            p.drawText(QRect(x0 - 20, plot.bottom() + 3, x1 - x0 + 40, lineHeight), Qt::AlignHCenter | Qt::AlignTop,
                       pt.label);
    }
    p.drawText(QRect(plot.left(), plot.bottom() + lineHeight + 6, plot.width(), lineHeight),
               Qt::AlignHCenter | Qt::AlignTop,
               m_series.axis.isEmpty() ? m_series.category + QStringLiteral(" (дата)") : m_series.axis);
}

} // namespace mk
