// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Builds the controls of simple fields from the field table, so page layouts only place them.
//
//     PageBuilder b(tabSheet);
//     auto *grid = new QGridLayout;
//     b.addRow(grid, 0, 0, "VelocityLimit");      // label "lVelocityLimit" + spin edit "seVelocityLimit"
//     grid->addWidget(b.radio("Exp100ArrowLim", 2), 1, 0, 1, 2);
//
// Ranges, item lists and values are the binder's business (FieldBinder.h).

#include <QString>
#include <QStringList>

class QDate;
class QGridLayout;
class QGroupBox;
class QLabel;
class QWidget;

namespace mk {

struct FieldDef;
class RadioGroup;

// The field of that name; a name without a row is a programming error.
const FieldDef &fieldNamed(const QString &name);

// Creates the field's control with its objectName (and caption for check boxes and radio groups).
QWidget *createFieldControl(const FieldDef &def, QWidget *parent, int columns = 1);

// "dd.mm.yy" of the field table <-> the date a date edit holds (years 2000..2099).
QDate dateFromText(const QString &text);
QString dateToText(const QDate &date);

class PageBuilder
{
public:
    explicit PageBuilder(QWidget *page) : m_page(page) {}

    QWidget *control(const QString &field);
    RadioGroup *radio(const QString &field, int columns = 1);
    // The label of a field ("l" + name), showing its caption, with the control as its buddy.
    QLabel *label(const QString &field, QWidget *buddy = nullptr);
    // Label at (row, column), control at (row, column + 1); returns the control.
    QWidget *addRow(QGridLayout *grid, int row, int column, const QString &field);
    // Label/control rows of the fields, one below the other, from row `firstRow`.
    void addRows(QGridLayout *grid, int firstRow, int column, const QStringList &fields);
    // A titled group box with a grid layout.
    QGroupBox *group(const QString &title, QGridLayout **grid);
    QWidget *page() const { return m_page; }

private:
    QWidget *m_page;
};

} // namespace mk
