// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/FieldControls.h"

#include "base/Text.h"
#include "editor/FieldSpinBox.h"
#include "settings/FieldTable.h"
#include "widgets/RadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace mk {

namespace {

constexpr int kBaseYear = 2000;
// A stored day number without a date puts the date edit on the day before the first date,
// which shows the invalid-date text instead of a date the device does not hold.
const QDate kFirstDate(kBaseYear, 1, 1);
constexpr int kVisibleListItems = 20;

} // namespace

QDate dateFromText(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 3)
        return {};
    return QDate(kBaseYear + parts[2].toInt(), parts[1].toInt(), parts[0].toInt());
}

QString dateToText(const QDate &date)
{
    if (date < kFirstDate)
        return kInvalidDateText;
    return date.toString(QStringLiteral("dd.MM.")) +
           QString::number(date.year() % 100).rightJustified(2, QLatin1Char('0'));
}

QWidget *createFieldControl(const FieldDef &def, QWidget *parent, int columns)
{
    QWidget *w = nullptr;
    switch (def.kind) {
    case ControlKind::SpinEdit: {
        auto *spin = new FieldSpinBox(parent);
        spin->setAlignment(Qt::AlignRight);
        spin->setMinimumWidth(72);
        w = spin;
        break;
    }
    case ControlKind::RadioGroup: {
        // An alarm group's caption belongs to its label.
        const bool alarm = def.conversion == Conversion::AlarmFirst || def.conversion == Conversion::AlarmNext;
        // columns 0: every item in one row.
        auto *group = new RadioGroup(def.control, alarm ? QString() : def.caption, def.items,
                                     columns > 0 ? columns : int(def.items.size()), parent);
        // Compact, so that the largest pages fit the dialog.
        auto *grid = static_cast<QGridLayout *>(group->layout());
        grid->setContentsMargins(6, 2, 6, 2);
        grid->setHorizontalSpacing(8);
        grid->setVerticalSpacing(2);
        return group;
    }
    case ControlKind::ComboBox: {
        auto *combo = new QComboBox(parent);
        combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        // A long list (the 100 reset periods) opens as a scrolling list of about 20 items, not
        // as a menu the height of the screen.
        combo->setMaxVisibleItems(kVisibleListItems);
        combo->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
        w = combo;
        break;
    }
    case ControlKind::CheckBox: w = new QCheckBox(def.caption, parent); break;
    case ControlKind::Edit: {
        auto *edit = new QLineEdit(parent);
        edit->setMaxLength(def.param - 1);
        w = edit;
        break;
    }
    case ControlKind::DateEdit: {
        auto *date = new QDateEdit(parent);
        date->setDisplayFormat(QStringLiteral("dd.MM.yy"));
        date->setDateRange(kFirstDate.addDays(-1), QDate(kBaseYear + 99, 12, 31));
        date->setSpecialValueText(kInvalidDateText);
        date->setCalendarPopup(true);
        w = date;
        break;
    }
    case ControlKind::TimeEdit: {
        auto *time = new QLineEdit(parent);
        time->setInputMask(QStringLiteral("99:99;_"));
        time->setMaximumWidth(60);
        w = time;
        break;
    }
    }
    w->setObjectName(def.control);
    return w;
}

BuiltFields::BuiltFields(QWidget *page) : QObject(page) {}

BuiltFields &BuiltFields::of(QWidget *page)
{
    if (auto *built = page->findChild<BuiltFields *>(QString(), Qt::FindDirectChildrenOnly))
        return *built;
    return *new BuiltFields(page);
}

QWidget *PageBuilder::control(FieldId field)
{
    QWidget *c = createFieldControl(fieldDef(field), m_page);
    m_built.m_controls[size_t(field)] = c;
    return c;
}

RadioGroup *PageBuilder::radio(FieldId field, int columns)
{
    auto *group = static_cast<RadioGroup *>(createFieldControl(fieldDef(field), m_page, columns));
    m_built.m_controls[size_t(field)] = group;
    return group;
}

QLabel *PageBuilder::label(FieldId field, QWidget *buddy)
{
    const FieldDef &def = fieldDef(field);
    auto *l = new QLabel(def.caption, m_page);
    l->setObjectName(labelOf(def));
    if (buddy)
        l->setBuddy(buddy);
    m_built.m_labels[size_t(field)] = l;
    return l;
}

QWidget *PageBuilder::addRow(QGridLayout *grid, int row, int column, FieldId field)
{
    QWidget *c = control(field);
    grid->addWidget(label(field, c), row, column);
    grid->addWidget(c, row, column + 1);
    return c;
}

void PageBuilder::addRows(QGridLayout *grid, int firstRow, int column, std::initializer_list<FieldId> fields)
{
    int row = firstRow;
    for (FieldId field : fields)
        addRow(grid, row++, column, field);
}

QGroupBox *PageBuilder::group(const QString &title, QGridLayout **grid)
{
    auto *box = new QGroupBox(title, m_page);
    *grid = new QGridLayout(box);
    (*grid)->setContentsMargins(6, 4, 6, 4);
    (*grid)->setHorizontalSpacing(6);
    (*grid)->setVerticalSpacing(3);
    return box;
}

} // namespace mk
