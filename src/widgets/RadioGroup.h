// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A titled group of radio buttons addressed by item index; `itemClicked` fires on user clicks only.

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QGridLayout;
class QRadioButton;

namespace mk {

class RadioGroup : public QGroupBox
{
    Q_OBJECT
public:
    RadioGroup(const QString &objectName, const QString &title, const QStringList &items, int columns,
               QWidget *parent = nullptr);

    // Replaces the items; the selection is cleared.
    void setItems(const QStringList &items);
    QStringList items() const;
    int count() const { return int(m_items.size()); }
    int itemIndex() const; // -1 when nothing is selected
    void setItemIndex(int index);
    QRadioButton *button(int index) const;
    void setItemEnabled(int index, bool enabled);
    // No frame, no title and no item texts (they become tool tips): a row of buttons in a table
    // whose column headers name the items (itemHeader).
    void setFrameless();
    // Column headers for frameless groups of these items: each text above its button.
    static QWidget *itemHeader(const QStringList &items, QWidget *parent);

signals:
    void itemClicked(int index);

private:
    QButtonGroup *m_buttons;
    QGridLayout *m_layout;
    int m_columns;
    QStringList m_items;
};

} // namespace mk
