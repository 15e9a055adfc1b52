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
#include <array>

namespace mk {

namespace {

using namespace Qt::StringLiterals;

// Label and drop-down list of a protocol selector; the protocol page sets the caption.
void addSelector(PageBuilder &b, QGridLayout *grid, int row, FieldId field)
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
              {FieldId::AllPathStart, FieldId::TimeCorr, FieldId::VelocityCorr, FieldId::ExpenseCorr,
               FieldId::GazExpenseCorr, FieldId::AirTemperCorr, FieldId::AccCorr});
    top->addWidget(corr, 0, Qt::AlignTop);

    auto *right = new QVBoxLayout;
    right->addWidget(b.radio(FieldId::ForsPosFlag, 2));
    right->addWidget(b.radio(FieldId::ForsCoef, 3));
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
    addSelector(b, prot, 0, FieldId::ProtocolSelectMeth);
    addSelector(b, prot, 1, FieldId::Protocol);
    for (int s = 0; s < int(kProtocolSubTypeFields.size()); ++s)
        addSelector(b, prot, 2 + s, kProtocolSubTypeFields[size_t(s)]);
    prot->setRowStretch(10, 1);
    top->addWidget(protocol, 0, 0);

    QGridLayout *src;
    QGroupBox *sources = b.group(u"Источники данных"_s, &src);
    const std::array methods = {FieldId::VelocityMeth, FieldId::RevolutionsMeth, FieldId::ExpenseMeth,
                                FieldId::GasMeth,      FieldId::AirTemperMeth,   FieldId::UaccMeth,
                                FieldId::PrognozMeth,  FieldId::GasOilMeth};
    for (int i = 0; i < int(methods.size()); ++i)
        src->addWidget(b.radio(methods[size_t(i)], 2), i, 0);
    src->setRowStretch(int(methods.size()), 1);
    top->addWidget(sources, 0, 1, 2, 1);

    QGridLayout *fuel;
    QGroupBox *tank = b.group(u"Топливо"_s, &fuel);
    b.addRows(fuel, 0, 0,
              {FieldId::TankMode, FieldId::TankMeth, FieldId::K100Manual, FieldId::TankContFull, FieldId::GazContFull});
    fuel->addWidget(b.control(FieldId::GasOil), 5, 0, 1, 2);
    fuel->addWidget(b.control(FieldId::UseTank2), 6, 0, 1, 2);
    fuel->setRowStretch(7, 1);
    top->addWidget(tank, 0, 2);

    QGridLayout *car;
    QGroupBox *vehicle = b.group(u"Автомобиль"_s, &car);
    // Two columns that close up over the controls a model hides.
    auto *lockColumn = new QVBoxLayout;
    lockColumn->addWidget(b.radio(FieldId::LockType, 2));
    auto *level = new QHBoxLayout;
    QWidget *levelSpin = b.control(FieldId::LockTypeLevel);
    level->addWidget(b.label(FieldId::LockTypeLevel, levelSpin));
    level->addWidget(levelSpin);
    level->addStretch(1);
    lockColumn->addLayout(level);
    // 24-volt models show their supply mode for information only (the binder disables it).
    lockColumn->addWidget(b.radio(FieldId::Supply24VMode, 2));
    lockColumn->addStretch(1);
    auto *lightColumn = new QVBoxLayout;
    lightColumn->addWidget(b.radio(FieldId::GabarType, 2));
    lightColumn->addWidget(b.radio(FieldId::GabarInvPol, 2));
    lightColumn->addStretch(1);
    car->addLayout(lockColumn, 0, 0);
    car->addLayout(lightColumn, 0, 1);
    car->addWidget(b.control(FieldId::LightsOn), 1, 0, 1, 2);
    car->setRowStretch(2, 1);
    top->addWidget(vehicle, 1, 0);

    QGridLayout *light;
    QGroupBox *brightness = b.group(u"Яркость дисплея"_s, &light);
    b.addRows(light, 0, 0, {FieldId::Intense0, FieldId::Intense1, FieldId::IntenseDayTime, FieldId::IntenseNightTime});
    light->addWidget(b.radio(FieldId::IntenseMeth, 2), 4, 0, 1, 2);
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
              {FieldId::RevolutionsLimit, FieldId::LiqTemperLimit, FieldId::LiqTemperReady, FieldId::VentTempLimit,
               FieldId::OilEngTemperLimit, FieldId::OilAKPPTemperLimit, FieldId::CVTFDeteriorLim,
               FieldId::RetarderOilTemperLimit, FieldId::InvTemperLimit, FieldId::HVBTemperLimit,
               FieldId::VAGSFilterLimit, FieldId::InjTimeLimit});
    top->addWidget(engine, 0, Qt::AlignTop);

    auto *right = new QVBoxLayout;
    QGroupBox *moving = b.group(u"Движение"_s, &grid);
    b.addRows(grid, 0, 0, {FieldId::VelocityLimit, FieldId::StopVelocityLimit, FieldId::Vel100, FieldId::Vel100Down});
    right->addWidget(moving);
    QGroupBox *supply = b.group(u"Бак и аккумулятор"_s, &grid);
    b.addRows(grid, 0, 0, {FieldId::TankLimit, FieldId::UaccLowLimit, FieldId::UaccHighLimit});
    right->addWidget(supply);
    right->addWidget(b.radio(FieldId::Exp100ArrowLim, 2));
    right->addStretch(1);
    top->addLayout(right);
    top->addStretch(1);
}

} // namespace mk
