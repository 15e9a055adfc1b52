// SPDX-License-Identifier: GPL-3.0-or-later
// Pages "Разное" (inside "Дисплей") and "Озвуч.сообщения".

#include "editor/FieldControls.h"
#include "editor/SimplePages.h"
#include "settings/FieldTable.h"
#include "widgets/RadioGroup.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

namespace mk {

namespace {

using namespace Qt::StringLiterals;

enum class Fill { ByColumns, ByRows };

// The check boxes of one display mask, bits `first` to `last` (ids in bit order), in `columns`
// columns, filled down each column or along each row.
QGroupBox *displayGroup(PageBuilder &b, const QString &title, FieldId first, FieldId last, int columns, Fill fill)
{
    QGridLayout *grid;
    QGroupBox *box = b.group(title, &grid);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(2);
    const int count = int(last) - int(first) + 1;
    const int rows = (count + columns - 1) / columns;
    for (int i = 0; i < count; ++i) {
        QWidget *control = b.control(FieldId(int(first) + i));
        if (fill == Fill::ByColumns)
            grid->addWidget(control, i % rows, i / rows);
        else
            grid->addWidget(control, i / columns, i % columns);
    }
    return box;
}

} // namespace

void buildMiscDisplayPage(QWidget *page)
{
    PageBuilder b(page);
    auto *top = new QVBoxLayout(page);

    auto *shown = new QGroupBox(u"Показывать дисплеи"_s, page);
    auto *grid = new QGridLayout(shown);
    auto *small = new QHBoxLayout;
    small->addWidget(displayGroup(b, u"х4"_s, FieldId::ShowDisp_4_0, FieldId::ShowDisp_4_5, 3, Fill::ByRows));
    small->addWidget(displayGroup(b, u"х9"_s, FieldId::ShowDisp_9_0, FieldId::ShowDisp_9_2, 3, Fill::ByRows));
    small->addWidget(displayGroup(b, u"х7"_s, FieldId::ShowDisp_7_0, FieldId::ShowDisp_7_3, 2, Fill::ByRows));
    small->addWidget(displayGroup(b, u"х6"_s, FieldId::ShowDisp_6_0, FieldId::ShowDisp_6_0, 1, Fill::ByRows));
    small->addWidget(displayGroup(b, u"Граф."_s, FieldId::ShowDisp_G_0, FieldId::ShowDisp_G_7, 4, Fill::ByRows));
    small->addWidget(displayGroup(b, u"Стрел."_s, FieldId::ShowDisp_A_0, FieldId::ShowDisp_A_7, 4, Fill::ByRows));
    small->addStretch(1);
    grid->addLayout(small, 0, 0, 1, 2);
    auto *averages = displayGroup(b, u"Средние"_s, FieldId::ShowDisp_S_0, FieldId::ShowDisp_S_8, 3, Fill::ByRows);
    grid->addWidget(averages, 1, 0, Qt::AlignTop);
    grid->addWidget(displayGroup(b, u"х1"_s, FieldId::ShowDisp_1_0, FieldId::ShowDisp_1_39, 4, Fill::ByColumns), 1, 1);
    grid->setColumnStretch(1, 1);
    top->addWidget(shown);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(b.radio(FieldId::DispSpeed, 3));
    bottom->addWidget(b.radio(FieldId::AirWaterShow, 2));
    auto *checks = new QVBoxLayout;
    checks->addWidget(b.control(FieldId::DispShowTitle));
    checks->addWidget(b.control(FieldId::ShowDispName));
    bottom->addLayout(checks);
    bottom->addStretch(1);
    top->addLayout(bottom);
    top->addStretch(1);
}

void buildVoicePage(QWidget *page)
{
    PageBuilder b(page);
    auto *top = new QVBoxLayout(page);

    // The alarms in index order, in two halves side by side.
    std::vector<const FieldDef *> alarms;
    for (const FieldDef &def : fieldTable())
        if (def.conversion == Conversion::AlarmFirst)
            alarms.push_back(&def);
    std::sort(alarms.begin(), alarms.end(), [](const FieldDef *a, const FieldDef *c) { return a->offset < c->offset; });

    auto *box = new QGroupBox(u"Способ оповещения"_s, page);
    auto *grid = new QGridLayout(box);
    grid->setVerticalSpacing(1);
    grid->setHorizontalSpacing(6);
    const int half = int(alarms.size() + 1) / 2;
    for (int side = 0; side < 2; ++side) {
        const int col = side * 4;
        grid->addWidget(new QLabel(u"Первое"_s, box), 0, col + 1);
        grid->addWidget(new QLabel(u"Последующие"_s, box), 0, col + 2);
        grid->addWidget(RadioGroup::itemHeader(alarms.front()->items, box), 1, col + 1);
        grid->addWidget(RadioGroup::itemHeader(alarms.front()->items, box), 1, col + 2);
    }
    for (int i = 0; i < int(alarms.size()); ++i) {
        const FieldDef &first = *alarms[size_t(i)];
        const int row = 2 + i % half, col = (i / half) * 4;
        RadioGroup *f = b.radio(first.id, 0);
        f->setFrameless();
        grid->addWidget(b.label(first.id, f), row, col);
        grid->addWidget(f, row, col + 1);
        if (first.partner) {
            RadioGroup *n = b.radio(*first.partner, 0);
            n->setFrameless();
            grid->addWidget(n, row, col + 2);
        }
    }
    grid->setColumnMinimumWidth(3, 24);
    grid->setColumnStretch(7, 1);
    auto *legend = new QLabel(u"О – отключено, Н – надпись, Б – звуковой сигнал, М – мелодия, Г – голос"_s, box);
    legend->setObjectName(u"lAlarmLegend"_s);
    grid->addWidget(legend, half + 2, 0, 1, 7);
    top->addWidget(box);

    auto *bottom = new QHBoxLayout;
    QGridLayout *speech;
    QGroupBox *voice = b.group(u"Речевые сообщения"_s, &speech);
    b.addRows(speech, 0, 0,
              {FieldId::SoundVolume, FieldId::SayParamPeriod, FieldId::SayEconomPeriod, FieldId::AlarmVelSecNoSayMax});
    bottom->addWidget(voice);
    bottom->addWidget(b.radio(FieldId::SayHelloMode, 1), 0, Qt::AlignTop);
    bottom->addWidget(b.radio(FieldId::FlagSound, 1), 0, Qt::AlignTop);
    auto *sounds = new QVBoxLayout;
    sounds->addWidget(b.control(FieldId::SoundKeys));
    sounds->addWidget(b.control(FieldId::SoundLock));
    sounds->addStretch(1);
    bottom->addLayout(sounds);
    bottom->addStretch(1);
    top->addLayout(bottom);
    top->addStretch(1);
}

} // namespace mk
