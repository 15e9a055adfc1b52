// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A bar chart of one journal series, drawn with QPainter: value axis from 0 with its unit,
// one labelled bar per entry, "Нет данных" when the journal holds nothing. The mouse over a bar
// shows its entry, date and value in a tool tip.

#include "journals/JournalPlots.h"

#include <QWidget>

namespace mk {

class JournalChart : public QWidget
{
    Q_OBJECT
public:
    JournalChart(const QString &objectName, QWidget *parent = nullptr);

    void setSeries(const PlotSeries &series);
    const PlotSeries &series() const { return m_series; }

    QSize minimumSizeHint() const override { return {400, 170}; }

    // What the tool tip says at a point of the chart: "№3 от 12.05: 8.4 л/100 км"; empty
    // outside the bars' columns.
    QString valueText(const QPoint &at) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    PlotSeries m_series;
    QRect m_plot; // where the bars went when last drawn
};

} // namespace mk
