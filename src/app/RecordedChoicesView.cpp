// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RecordedChoicesView.h"

#include "settings/RecordedUnitTexts.h"

#include <QHeaderView>
#include <QScrollBar>

namespace mk {

namespace {

enum Column { CaptionColumn, DeviceColumn, SettingsColumn, TakeColumn, ColumnCount };

} // namespace

RecordedChoicesView::RecordedChoicesView(const std::vector<RecordedDifference> &differences, const TMK &device,
                                         const TMK &settings, QWidget *parent)
    : QTableWidget(int(differences.size()), ColumnCount, parent), m_differences(differences)
{
    setObjectName(QStringLiteral("tblRecordedChoices"));
    setHorizontalHeaderLabels({QStringLiteral("Данные, которые ведёт МК"), QStringLiteral("Сейчас в МК"),
                               QStringLiteral("В настройках"), QStringLiteral("Записать из настроек")});
    verticalHeader()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setWordWrap(false);
    for (int row = 0; row < int(differences.size()); ++row) {
        const RecordedDifference &d = differences[size_t(row)];
        setItem(row, CaptionColumn, new QTableWidgetItem(recordedUnitCaption(d.unit)));
        setItem(row, DeviceColumn, new QTableWidgetItem(recordedUnitValue(d.unit, device)));
        setItem(row, SettingsColumn, new QTableWidgetItem(recordedUnitValue(d.unit, settings)));
        auto *take =
            new QTableWidgetItem(d.fromSettings ? QStringLiteral("записывается") : QStringLiteral("остаётся как в МК"));
        // What the user changed in this session is written: its box stays ticked.
        take->setFlags(d.fromSettings ? Qt::ItemIsEnabled : Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        take->setCheckState(d.fromSettings ? Qt::Checked : Qt::Unchecked);
        setItem(row, TakeColumn, take);
    }
    connect(this, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        if (item->column() != TakeColumn || !(item->flags() & Qt::ItemIsUserCheckable))
            return;
        const QString text =
            item->checkState() == Qt::Checked ? QStringLiteral("записывается") : QStringLiteral("остаётся как в МК");
        if (item->text() != text)
            item->setText(text);
    });
    resizeColumnsToContents();
    horizontalHeader()->setStretchLastSection(true);
}

QSize RecordedChoicesView::sizeHint() const
{
    int width = 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < columnCount(); ++c)
        width += horizontalHeader()->sectionSize(c);
    int height = 2 * frameWidth() + horizontalHeader()->sizeHint().height();
    for (int r = 0; r < rowCount(); ++r)
        height += rowHeight(r);
    return {width, height};
}

std::set<RecordedUnitId> RecordedChoicesView::chosen() const
{
    std::set<RecordedUnitId> units;
    for (int row = 0; row < rowCount(); ++row) {
        const QTableWidgetItem *take = item(row, TakeColumn);
        if ((take->flags() & Qt::ItemIsUserCheckable) && take->checkState() == Qt::Checked)
            units.insert(m_differences[size_t(row)].unit);
    }
    return units;
}

} // namespace mk
