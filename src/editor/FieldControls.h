// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Builds the controls of simple fields from the field table, so page layouts only place them.
//
//     PageBuilder b(tabSheet);
//     auto *grid = new QGridLayout;
//     b.addRow(grid, 0, 0, FieldId::VelocityLimit); // label "lVelocityLimit" + spin edit "seVelocityLimit"
//     grid->addWidget(b.radio(FieldId::Exp100ArrowLim, 2), 1, 0, 1, 2);
//
// Ranges, item lists and values are the binder's business (FieldBinder.h).

#include "settings/FieldId.h"

#include <QObject>
#include <QString>
#include <array>
#include <initializer_list>

class QDate;
class QGridLayout;
class QGroupBox;
class QLabel;
class QWidget;

namespace mk {

struct FieldDef;
class RadioGroup;

// Creates the field's control with its objectName (and caption for check boxes and radio groups).
QWidget *createFieldControl(const FieldDef &def, QWidget *parent, int columns = 1);

// "dd.mm.yy" of the field table <-> the date a date edit holds (years 2000..2099).
QDate dateFromText(const QString &text);
QString dateToText(const QDate &date);

// The controls and labels the page builders made on one tab sheet, by field: a special page that
// binds controls of its sheet itself (the protocol page) takes them from here.
class BuiltFields : public QObject
{
    Q_OBJECT
public:
    // The sheet's (made with the sheet's first control).
    static BuiltFields &of(QWidget *page);

    QWidget *control(FieldId id) const { return m_controls[size_t(id)]; }
    QLabel *label(FieldId id) const { return m_labels[size_t(id)]; }

private:
    friend class PageBuilder;
    explicit BuiltFields(QWidget *page);

    std::array<QWidget *, kFieldCount> m_controls{};
    std::array<QLabel *, kFieldCount> m_labels{};
};

class PageBuilder
{
public:
    explicit PageBuilder(QWidget *page) : m_page(page), m_built(BuiltFields::of(page)) {}

    QWidget *control(FieldId field);
    RadioGroup *radio(FieldId field, int columns = 1);
    // The label of a field ("l" + name), showing its caption, with the control as its buddy.
    QLabel *label(FieldId field, QWidget *buddy = nullptr);
    // Label at (row, column), control at (row, column + 1); returns the control.
    QWidget *addRow(QGridLayout *grid, int row, int column, FieldId field);
    // Label/control rows of the fields, one below the other, from row `firstRow`.
    void addRows(QGridLayout *grid, int firstRow, int column, std::initializer_list<FieldId> fields);
    // A titled group box with a grid layout.
    QGroupBox *group(const QString &title, QGridLayout **grid);
    QWidget *page() const { return m_page; }

private:
    QWidget *m_page;
    BuiltFields &m_built;
};

} // namespace mk
