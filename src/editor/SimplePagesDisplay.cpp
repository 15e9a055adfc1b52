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

// The display check boxes of one mask ("ShowDisp_<kind>_<bit>"), in bit order.
std::vector<FieldId> displayBoxes(QChar kind)
{
    const QString prefix = u"ShowDisp_"_s + kind + QLatin1Char('_');
    std::vector<FieldId> boxes;
    for (const FieldDef &def : fieldTable())
        if (def.name.startsWith(prefix))
            boxes.push_back(def.id);
    return boxes;
}

enum class Fill { ByColumns, ByRows };

// The boxes of one mask in `columns` columns, filled down each column or along each row.
QGroupBox *displayGroup(PageBuilder &b, const QString &title, QChar kind, int columns, Fill fill)
{
    QGridLayout *grid;
    QGroupBox *box = b.group(title, &grid);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(2);
    const std::vector<FieldId> boxes = displayBoxes(kind);
    const int rows = (int(boxes.size()) + columns - 1) / columns;
    for (int i = 0; i < int(boxes.size()); ++i) {
        if (fill == Fill::ByColumns)
            grid->addWidget(b.control(boxes[size_t(i)]), i % rows, i / rows);
        else
            grid->addWidget(b.control(boxes[size_t(i)]), i / columns, i % columns);
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
    small->addWidget(displayGroup(b, u"х4"_s, u'4', 3, Fill::ByRows));
    small->addWidget(displayGroup(b, u"х9"_s, u'9', 3, Fill::ByRows));
    small->addWidget(displayGroup(b, u"х7"_s, u'7', 2, Fill::ByRows));
    small->addWidget(displayGroup(b, u"х6"_s, u'6', 1, Fill::ByRows));
    small->addWidget(displayGroup(b, u"Граф."_s, u'G', 4, Fill::ByRows));
    small->addWidget(displayGroup(b, u"Стрел."_s, u'A', 4, Fill::ByRows));
    small->addStretch(1);
    grid->addLayout(small, 0, 0, 1, 2);
    auto *averages = displayGroup(b, u"Средние"_s, u'S', 3, Fill::ByRows);
    grid->addWidget(averages, 1, 0, Qt::AlignTop);
    grid->addWidget(displayGroup(b, u"х1"_s, u'1', 4, Fill::ByColumns), 1, 1);
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
