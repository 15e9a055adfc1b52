// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/RadioGroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>

namespace mk {

namespace {

constexpr int kFramelessSpacing = 2;

} // namespace

RadioGroup::RadioGroup(const QString &objectName, const QString &title, const QStringList &items, int columns,
                       QWidget *parent)
    : QGroupBox(title, parent),
      m_buttons(new QButtonGroup(this)),
      m_layout(new QGridLayout(this)),
      m_columns(qMax(1, columns))
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
    m_items = items;
    const int rows = (int(items.size()) + m_columns - 1) / m_columns;
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items[i], this);
        button->setObjectName(objectName() + QLatin1Char('_') + QString::number(i));
        m_buttons->addButton(button, i);
        // Filled column by column, like the device tool's radio groups.
        m_layout->addWidget(button, i % qMax(1, rows), i / qMax(1, rows));
    }
}

QStringList RadioGroup::items() const { return m_items; }

int RadioGroup::itemIndex() const { return m_buttons->checkedId(); }

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

QRadioButton *RadioGroup::button(int index) const { return qobject_cast<QRadioButton *>(m_buttons->button(index)); }

void RadioGroup::setItemEnabled(int index, bool enabled)
{
    if (QAbstractButton *b = m_buttons->button(index))
        b->setEnabled(enabled);
}

void RadioGroup::setFrameless()
{
    setTitle(QString());
    setFlat(true);
    setStyleSheet(QStringLiteral("QGroupBox { border: none; margin: 0px; padding: 0px; }"));
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setHorizontalSpacing(kFramelessSpacing);
    for (int i = 0; i < m_items.size(); ++i) {
        m_buttons->button(i)->setText(QString());
        m_buttons->button(i)->setToolTip(m_items[i]);
    }
}

QWidget *RadioGroup::itemHeader(const QStringList &items, QWidget *parent)
{
    auto *header = new QWidget(parent);
    auto *row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(kFramelessSpacing);
    const int width = QRadioButton().sizeHint().width();
    for (const QString &item : items) {
        auto *l = new QLabel(item, header);
        l->setAlignment(Qt::AlignCenter);
        l->setMinimumWidth(width);
        row->addWidget(l);
    }
    row->addStretch(1);
    return header;
}

} // namespace mk
