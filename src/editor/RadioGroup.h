#pragma once
// A captioned group of exclusive radio buttons whose value is the index of the chosen item
// (-1: none chosen), with items laid out in columns.

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
    explicit RadioGroup(const QString &caption, QWidget *parent = nullptr);

    // Replaces the items; `columns` items per row from left to right (0: all in one row; -1: as
    // before).
    void setItems(const QStringList &items, int columns = -1);
    QStringList items() const { return m_items; }
    int count() const { return int(m_items.size()); }

    int itemIndex() const;
    // Checks item `index`; an index outside the items leaves none checked. Emits nothing.
    void setItemIndex(int index);
    void setItemEnabled(int index, bool enabled);
    // No frame, no caption and no item texts (they become tool tips): a row of buttons in a table
    // whose column headers name the items (see itemHeader).
    void setFrameless();
    // Column headers for frameless groups of these items: each text above its button.
    static QWidget *itemHeader(const QStringList &items, QWidget *parent);
    QRadioButton *button(int index) const;

signals:
    // The user chose an item (by mouse or keyboard).
    void itemChosen(int index);

private:
    QStringList m_items;
    QButtonGroup *m_group;
    QGridLayout *m_layout;
    int m_columns = 1;
    bool m_setting = false;
};

} // namespace mk
