#pragma once
// A titled group of radio buttons addressed by item index; `itemClicked` fires on user clicks only.

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QGridLayout;

namespace mk {

class RadioGroup : public QGroupBox
{
    Q_OBJECT
public:
    RadioGroup(const QString &objectName, const QString &title, const QStringList &items, int columns, QWidget *parent = nullptr);

    // Replaces the items; the selection is cleared.
    void setItems(const QStringList &items);
    QStringList items() const;
    int itemIndex() const; // -1 when nothing is selected
    void setItemIndex(int index);

signals:
    void itemClicked(int index);

private:
    QButtonGroup *m_buttons;
    QGridLayout *m_layout;
    int m_columns;
};

} // namespace mk
