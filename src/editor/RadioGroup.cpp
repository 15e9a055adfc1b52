#include "editor/RadioGroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>

namespace mk {

namespace {

constexpr int kFramelessSpacing = 2;

} // namespace

RadioGroup::RadioGroup(const QString &caption, QWidget *parent)
    : QGroupBox(caption, parent), m_group(new QButtonGroup(this)), m_layout(new QGridLayout(this))
{
    m_layout->setContentsMargins(6, 2, 6, 2);
    m_layout->setHorizontalSpacing(8);
    m_layout->setVerticalSpacing(2);
    connect(m_group, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked && !m_setting)
            emit itemChosen(id);
    });
}

void RadioGroup::setItems(const QStringList &items, int columns)
{
    for (QAbstractButton *b : m_group->buttons()) {
        m_group->removeButton(b);
        delete b;
    }
    m_items = items;
    if (columns >= 0)
        m_columns = columns;
    const int perRow = m_columns > 0 ? m_columns : qMax(1, int(items.size()));
    for (int i = 0; i < items.size(); ++i) {
        auto *b = new QRadioButton(items[i], this);
        b->setObjectName(objectName() + QLatin1Char('_') + QString::number(i));
        m_group->addButton(b, i);
        m_layout->addWidget(b, i / perRow, i % perRow);
    }
}

int RadioGroup::itemIndex() const
{
    return m_group->checkedId();
}

void RadioGroup::setItemIndex(int index)
{
    m_setting = true;
    if (QAbstractButton *b = m_group->button(index)) {
        b->setChecked(true);
    } else if (QAbstractButton *checked = m_group->checkedButton()) {
        // An exclusive group cannot uncheck its last button; lift exclusivity for a moment.
        m_group->setExclusive(false);
        checked->setChecked(false);
        m_group->setExclusive(true);
    }
    m_setting = false;
}

void RadioGroup::setItemEnabled(int index, bool enabled)
{
    if (QAbstractButton *b = m_group->button(index))
        b->setEnabled(enabled);
}

void RadioGroup::setFrameless()
{
    setFlat(true);
    setStyleSheet(QStringLiteral("QGroupBox { border: none; margin: 0px; padding: 0px; }"));
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setHorizontalSpacing(kFramelessSpacing);
    for (int i = 0; i < count(); ++i) {
        button(i)->setText(QString());
        button(i)->setToolTip(m_items[i]);
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

QRadioButton *RadioGroup::button(int index) const
{
    return qobject_cast<QRadioButton *>(m_group->button(index));
}

} // namespace mk
