// SPDX-License-Identifier: GPL-3.0-or-later
// Pages "Поправки", "Источники" and "Границы".

#include "editor/FieldControls.h"
#include "editor/SimplePages.h"
#include "widgets/RadioGroup.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace mk {

namespace {

using namespace Qt::StringLiterals;

// Label and drop-down list of a protocol selector; the protocol page sets the caption.
void addSelector(PageBuilder &b, QGridLayout *grid, int row, const QString &field)
{
    QWidget *combo = b.control(field);
    combo->setMinimumWidth(120);
    QLabel *label = b.label(field, combo);
    grid->addWidget(label, row, 0);
    grid->addWidget(combo, row, 1);
}

} // namespace

void buildCorrectionsPage(QWidget *page)
{
    PageBuilder b(page);
    auto *top = new QHBoxLayout(page);

    QGridLayout *grid;
    QGroupBox *corr = b.group(u"Поправки"_s, &grid);
    b.addRows(grid, 0, 0,
              {u"AllPathStart"_s, u"TimeCorr"_s, u"VelocityCorr"_s, u"ExpenseCorr"_s, u"GazExpenseCorr"_s,
               u"AirTemperCorr"_s, u"AccCorr"_s});
    top->addWidget(corr, 0, Qt::AlignTop);

    auto *right = new QVBoxLayout;
    right->addWidget(b.radio(u"ForsPosFlag"_s, 2));
    right->addWidget(b.radio(u"ForsCoef"_s, 3));
    right->addStretch(1);
    top->addLayout(right);
    top->addStretch(1);
}

void buildSourcesPage(QWidget *page)
{
    PageBuilder b(page);
    auto *top = new QGridLayout(page);

    // The protocol controls; the protocol page fills and binds them.
    QGridLayout *prot;
    QGroupBox *protocol = b.group(u"Протокол ЭБУ"_s, &prot);
    protocol->setObjectName(u"gbProtocol"_s);
    addSelector(b, prot, 0, u"ProtocolSelectMeth"_s);
    addSelector(b, prot, 1, u"Protocol"_s);
    addSelector(b, prot, 2, u"ProtTypeMain"_s);
    for (int s = 1; s <= 7; ++s)
        addSelector(b, prot, 2 + s, u"ProtTypeAdd"_s + QString::number(s));
    prot->setRowStretch(10, 1);
    top->addWidget(protocol, 0, 0);

    QGridLayout *src;
    QGroupBox *sources = b.group(u"Источники данных"_s, &src);
    const QStringList methods = {u"VelocityMeth"_s,  u"RevolutionsMeth"_s, u"ExpenseMeth"_s, u"GasMeth"_s,
                                 u"AirTemperMeth"_s, u"UaccMeth"_s,        u"PrognozMeth"_s, u"GasOilMeth"_s};
    for (int i = 0; i < methods.size(); ++i)
        src->addWidget(b.radio(methods[i], 2), i, 0);
    src->setRowStretch(int(methods.size()), 1);
    top->addWidget(sources, 0, 1, 2, 1);

    QGridLayout *fuel;
    QGroupBox *tank = b.group(u"Топливо"_s, &fuel);
    b.addRows(fuel, 0, 0, {u"TankMode"_s, u"TankMeth"_s, u"K100Manual"_s, u"TankContFull"_s, u"GazContFull"_s});
    fuel->addWidget(b.control(u"GasOil"_s), 5, 0, 1, 2);
    fuel->addWidget(b.control(u"UseTank2"_s), 6, 0, 1, 2);
    fuel->setRowStretch(7, 1);
    top->addWidget(tank, 0, 2);

    QGridLayout *car;
    QGroupBox *vehicle = b.group(u"Автомобиль"_s, &car);
    // Two columns that close up over the controls a model hides.
    auto *lockColumn = new QVBoxLayout;
    lockColumn->addWidget(b.radio(u"LockType"_s, 2));
    auto *level = new QHBoxLayout;
    QWidget *levelSpin = b.control(u"LockTypeLevel"_s);
    level->addWidget(b.label(u"LockTypeLevel"_s, levelSpin));
    level->addWidget(levelSpin);
    level->addStretch(1);
    lockColumn->addLayout(level);
    // 24-volt models show their supply mode for information only (the binder disables it).
    lockColumn->addWidget(b.radio(u"24VMode"_s, 2));
    lockColumn->addStretch(1);
    auto *lightColumn = new QVBoxLayout;
    lightColumn->addWidget(b.radio(u"GabarType"_s, 2));
    lightColumn->addWidget(b.radio(u"GabarInvPol"_s, 2));
    lightColumn->addStretch(1);
    car->addLayout(lockColumn, 0, 0);
    car->addLayout(lightColumn, 0, 1);
    car->addWidget(b.control(u"LightsOn"_s), 1, 0, 1, 2);
    car->setRowStretch(2, 1);
    top->addWidget(vehicle, 1, 0);

    QGridLayout *light;
    QGroupBox *brightness = b.group(u"Яркость дисплея"_s, &light);
    b.addRows(light, 0, 0, {u"Intense0"_s, u"Intense1"_s, u"IntenseDayTime"_s, u"IntenseNightTime"_s});
    light->addWidget(b.radio(u"IntenseMeth"_s, 2), 4, 0, 1, 2);
    light->setRowStretch(5, 1);
    top->addWidget(brightness, 1, 2);
    top->setRowStretch(0, 1);
    top->setRowStretch(1, 1);
}

void buildLimitsPage(QWidget *page)
{
    PageBuilder b(page);
    auto *top = new QHBoxLayout(page);

    QGridLayout *grid;
    QGroupBox *engine = b.group(u"Двигатель и трансмиссия"_s, &grid);
    b.addRows(grid, 0, 0,
              {u"RevolutionsLimit"_s, u"LiqTemperLimit"_s, u"LiqTemperReady"_s, u"VentTempLimit"_s,
               u"OilEngTemperLimit"_s, u"OilAKPPTemperLimit"_s, u"CVTFDeteriorLim"_s, u"RetarderOilTemperLimit"_s,
               u"InvTemperLimit"_s, u"HVBTemperLimit"_s, u"VAGSFilterLimit"_s, u"InjTimeLimit"_s});
    top->addWidget(engine, 0, Qt::AlignTop);

    auto *right = new QVBoxLayout;
    QGroupBox *moving = b.group(u"Движение"_s, &grid);
    b.addRows(grid, 0, 0, {u"VelocityLimit"_s, u"StopVelocityLimit"_s, u"Vel100"_s, u"Vel100Down"_s});
    right->addWidget(moving);
    QGroupBox *supply = b.group(u"Бак и аккумулятор"_s, &grid);
    b.addRows(grid, 0, 0, {u"TankLimit"_s, u"UaccLowLimit"_s, u"UaccHighLimit"_s});
    right->addWidget(supply);
    right->addWidget(b.radio(u"Exp100ArrowLim"_s, 2));
    right->addStretch(1);
    top->addLayout(right);
    top->addStretch(1);
}

} // namespace mk
