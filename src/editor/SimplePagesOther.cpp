// SPDX-License-Identifier: GPL-3.0-or-later
// Pages "Средние", "Парковка", "ТО", "Унив.вход" and "Служ.информ.".

#include "editor/FieldControls.h"
#include "editor/SimplePages.h"
#include "settings/FieldTable.h"
#include "widgets/RadioGroup.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
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
    b.addRows(grid, 0, 0, {u"ResetPeriod0"_s, u"ResetPeriod1"_s, u"ResetPeriodOnly"_s});
    left->addWidget(reset);

    QGroupBox *trip = b.group(u"Поездка"_s, &grid);
    b.addRow(grid, 0, 0, u"TripMinStop"_s);
    grid->addWidget(b.control(u"TripShowFlag"_s), 1, 0, 1, 2);
    grid->addWidget(b.control(u"TripJournAuto"_s), 2, 0, 1, 2);
    left->addWidget(trip);
    left->addStretch(1);
    top->addLayout(left);

    auto *right = new QVBoxLayout;
    QGroupBox *prices = b.group(u"Стоимость поездки"_s, &grid);
    b.addRows(grid, 0, 0, {u"PriceExpense"_s, u"PriceGas"_s, u"PriceTime"_s, u"PricePath"_s});
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
        const QString n = QString::number(side);
        QGridLayout *grid;
        QGroupBox *box = b.group(side == 0 ? u"Задние датчики"_s : u"Передние датчики"_s, &grid);
        grid->addWidget(b.control(u"ParkUse"_s + n), 0, 0, 1, 2);
        b.addRows(grid, 1, 0,
                  {u"ParkSense"_s + n, u"ParkSpeed"_s + n, u"ParkMinLeng"_s + n, u"ParkStopLeng"_s + n,
                   u"ParkStopVel"_s + n});
        if (side == 1)
            grid->addWidget(b.radio(u"ParkForwConstOff"_s, 3), 6, 0, 1, 2);
        grid->setRowStretch(7, 1);
        sides->addWidget(box);
    }
    QGridLayout *grid;
    QGroupBox *common = b.group(u"Общие"_s, &grid);
    b.addRows(grid, 0, 0, {u"ParkStopLengBeep"_s, u"ParkFarkopLen"_s});
    grid->addWidget(b.radio(u"ParkBeepType"_s, 2), 2, 0, 1, 2);
    grid->addWidget(b.radio(u"ParkType"_s, 2), 3, 0, 1, 2);
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
    const QStringList counters = {u"AirFiltCntK"_s, u"KPPOilCntK"_s, u"ForsTOCntK"_s, u"GRMStrapCntK"_s,
                                  u"CoolLiqCntK"_s, u"EngOilCntK"_s, u"CandleCntK"_s};
    int row = 1;
    for (const QString &c : counters) {
        b.addRow(grid, row, 0, c);
        grid->addWidget(b.control(c + u"Use"_s), row, 2, Qt::AlignHCenter);
        if (findField(c + u"Name"_s)) {
            QWidget *name = b.control(c + u"Name"_s);
            name->setMinimumWidth(160);
            grid->addWidget(name, row, 3);
        }
        ++row;
    }
    for (const QString &date : {u"TO"_s, u"OSAGO"_s}) {
        b.addRow(grid, row, 0, date);
        grid->addWidget(b.control(date + u"Use"_s), row, 2, Qt::AlignHCenter);
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
    grid->addWidget(b.control(u"UseUniMeas"_s), 0, 0, 1, 4);
    b.addRow(grid, 1, 0, u"UniMeasStr"_s);
    grid->addWidget(header(u"Калибровка"_s, box), 2, 0, 1, 4);
    b.addRows(grid, 3, 0, {u"UniMeasADC0"_s, u"UniMeasADC1"_s});
    b.addRows(grid, 3, 2, {u"UniMeasDat0"_s, u"UniMeasDat1"_s});
    top->addWidget(box, 0, Qt::AlignTop);
    top->addStretch(1);
}

void buildServiceInfoPage(QWidget *page)
{
    auto *top = new QVBoxLayout(page);
    auto *grid = new QTableWidget(2, 2, page);
    grid->setObjectName(u"sgServiceInfo"_s);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setItem(0, 0, new QTableWidgetItem(u"Проект"_s));
    grid->setItem(1, 0, new QTableWidgetItem(u"Протокол"_s));
    grid->horizontalHeader()->setStretchLastSection(true);
    top->addWidget(grid);
}

} // namespace mk
