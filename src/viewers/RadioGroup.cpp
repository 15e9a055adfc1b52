#include "viewers/RadioGroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

namespace mk {

RadioGroup::RadioGroup(const QString &objectName, const QString &title, const QStringList &items, int columns, QWidget *parent)
    : QGroupBox(title, parent), m_buttons(new QButtonGroup(this)), m_layout(new QGridLayout(this)), m_columns(qMax(1, columns))
{
    setObjectName(objectName);
    connect(m_buttons, &QButtonGroup::idClicked, this, &RadioGroup::itemClicked);
    setItems(items);
}

void RadioGroup::setItems(const QStringList &items)
{
    for (QAbstractButton *b : m_buttons->buttons()) {
        m_buttons->removeButton(b);
        delete b;
    }
    const int rows = (int(items.size()) + m_columns - 1) / m_columns;
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items[i], this);
        button->setObjectName(objectName() + QLatin1Char('_') + QString::number(i));
        m_buttons->addButton(button, i);
        // Filled column by column, like the device tool's radio groups.
        m_layout->addWidget(button, i % qMax(1, rows), i / qMax(1, rows));
    }
}

QStringList RadioGroup::items() const
{
    QStringList texts;
    for (QAbstractButton *b : m_buttons->buttons())
        texts << b->text();
    return texts;
}

int RadioGroup::itemIndex() const
{
    return m_buttons->checkedId();
}

void RadioGroup::setItemIndex(int index)
{
    if (QAbstractButton *b = m_buttons->button(index)) {
        b->setChecked(true);
        return;
    }
    m_buttons->setExclusive(false);
    for (QAbstractButton *b : m_buttons->buttons())
        b->setChecked(false);
    m_buttons->setExclusive(true);
}

} // namespace mk
