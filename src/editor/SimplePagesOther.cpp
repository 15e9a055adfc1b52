// SPDX-License-Identifier: GPL-3.0-or-later
// Pages "Средние", "Парковка", "ТО" and "Унив.вход".

#include "editor/FieldControls.h"
#include "editor/SimplePages.h"
#include "settings/FieldTable.h"
#include "widgets/RadioGroup.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace mk {

namespace {

using namespace Qt::StringLiterals;

QLabel *header(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

} // namespace

void buildAveragesPage(QWidget *page)
{
    PageBuilder b(page);
    auto *top = new QHBoxLayout(page);
    auto *left = new QVBoxLayout;

    QGridLayout *grid;
    QGroupBox *reset = b.group(u"Автоматический сброс средних"_s, &grid);
    b.addRows(grid, 0, 0, {FieldId::ResetPeriod0, FieldId::ResetPeriod1, FieldId::ResetPeriodOnly});
    left->addWidget(reset);

    QGroupBox *trip = b.group(u"Поездка"_s, &grid);
    b.addRow(grid, 0, 0, FieldId::TripMinStop);
    grid->addWidget(b.control(FieldId::TripShowFlag), 1, 0, 1, 2);
    grid->addWidget(b.control(FieldId::TripJournAuto), 2, 0, 1, 2);
    left->addWidget(trip);
    left->addStretch(1);
    top->addLayout(left);

    auto *right = new QVBoxLayout;
    QGroupBox *prices = b.group(u"Стоимость поездки"_s, &grid);
    b.addRows(grid, 0, 0, {FieldId::PriceExpense, FieldId::PriceGas, FieldId::PriceTime, FieldId::PricePath});
    right->addWidget(prices);
    right->addStretch(1);
    top->addLayout(right);
    top->addStretch(1);
}

void buildParkingPage(QWidget *page)
{
    PageBuilder b(page);
    auto *top = new QVBoxLayout(page);
    auto *sides = new QHBoxLayout;
    for (int side = 0; side < 2; ++side) {
        const ParkingSideFields &f = kParkingSideFields[size_t(side)];
        QGridLayout *grid;
        QGroupBox *box = b.group(side == 0 ? u"Задние датчики"_s : u"Передние датчики"_s, &grid);
        grid->addWidget(b.control(f.use), 0, 0, 1, 2);
        b.addRows(grid, 1, 0, {f.sense, f.speed, f.minLength, f.stopLength, f.stopVelocity});
        if (side == 1)
            grid->addWidget(b.radio(FieldId::ParkForwConstOff, 3), 6, 0, 1, 2);
        grid->setRowStretch(7, 1);
        sides->addWidget(box);
    }
    QGridLayout *grid;
    QGroupBox *common = b.group(u"Общие"_s, &grid);
    b.addRows(grid, 0, 0, {FieldId::ParkStopLengBeep, FieldId::ParkFarkopLen});
    grid->addWidget(b.radio(FieldId::ParkBeepType, 2), 2, 0, 1, 2);
    grid->addWidget(b.radio(FieldId::ParkType, 2), 3, 0, 1, 2);
    grid->setRowStretch(4, 1);
    sides->addWidget(common);
    sides->addStretch(1);
    top->addLayout(sides);
    top->addStretch(1);
}

void buildServicePage(QWidget *page)
{
    PageBuilder b(page);
    auto *top = new QHBoxLayout(page);
    QGridLayout *grid;
    QGroupBox *box = b.group(u"Напоминания о техническом обслуживании"_s, &grid);
    grid->setHorizontalSpacing(12);
    grid->addWidget(header(u"Осталось тыс.км"_s, box), 0, 1);
    grid->addWidget(header(u"использ."_s, box), 0, 2);
    grid->addWidget(header(u"Название"_s, box), 0, 3);
    // The counters, then the dates.
    int row = 1;
    for (const ServiceReminderFields &reminder : kServiceReminderFields) {
        b.addRow(grid, row, 0, reminder.value);
        grid->addWidget(b.control(reminder.use), row, 2, Qt::AlignHCenter);
        if (reminder.name) {
            QWidget *name = b.control(*reminder.name);
            name->setMinimumWidth(160);
            grid->addWidget(name, row, 3);
        }
        ++row;
    }
    top->addWidget(box, 0, Qt::AlignTop);
    top->addStretch(1);
}

void buildUniversalInputPage(QWidget *page)
{
    PageBuilder b(page);
    auto *top = new QHBoxLayout(page);
    QGridLayout *grid;
    QGroupBox *box = b.group(u"Универсальный вход"_s, &grid);
    grid->addWidget(b.control(FieldId::UseUniMeas), 0, 0, 1, 4);
    b.addRow(grid, 1, 0, FieldId::UniMeasStr);
    grid->addWidget(header(u"Калибровка"_s, box), 2, 0, 1, 4);
    b.addRows(grid, 3, 0, {FieldId::UniMeasADC0, FieldId::UniMeasADC1});
    b.addRows(grid, 3, 2, {FieldId::UniMeasDat0, FieldId::UniMeasDat1});
    top->addWidget(box, 0, Qt::AlignTop);
    top->addStretch(1);
}

} // namespace mk
