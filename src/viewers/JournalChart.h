#pragma once
// A bar chart of one journal series, drawn with QPainter: value axis from 0 with its unit,
// one labelled bar per entry, "Нет данных" when the journal holds nothing.

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

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    PlotSeries m_series;
};

} // namespace mk
