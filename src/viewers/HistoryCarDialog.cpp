// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewers/HistoryCarDialog.h"

#include "history/CarNames.h"
#include "widgets/MessageBoxes.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace mk {

HistoryCarDialog::HistoryCarDialog(const QStringList &cars, const QString &preferred, const QString &title,
                                   QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("HistoryCarDialog"));
    setWindowTitle(title);
    m_car = new QComboBox(this);
    m_car->setObjectName(QStringLiteral("cbHistoryCar"));
    m_car->setEditable(true);
    m_car->setInsertPolicy(QComboBox::NoInsert);
    m_car->setMinimumContentsLength(28);
    m_car->addItems(cars);
    const QString first =
        preferred.isEmpty() ? (cars.isEmpty() ? HistoryDatabase::defaultCarName() : cars.first()) : preferred;
    m_car->setCurrentText(first);
    auto *label = new QLabel(QStringLiteral("&Автомобиль:"), this);
    label->setBuddy(m_car);
    auto *hint = new QLabel(
        QStringLiteral("Выберите автомобиль из списка или введите новое название. Записи, которые уже есть в "
                       "истории, второй раз не добавляются."),
        this);
    hint->setWordWrap(true);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Добавить"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("bAddToHistory"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("&Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    const auto named = [buttons, this] { buttons->button(QDialogButtonBox::Ok)->setEnabled(!car().isEmpty()); };
    connect(m_car, &QComboBox::currentTextChanged, this, named);
    named();

    auto *row = new QFormLayout;
    row->addRow(label, m_car);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(hint);
    layout->addWidget(buttons);
    // Wide enough for its title beside the window manager's buttons.
    QFont titleFont = font();
    titleFont.setBold(true);
    setMinimumWidth(std::max(minimumSizeHint().width(), QFontMetrics(titleFont).horizontalAdvance(title) + 160));
}

// A car held is taken by its name as it is; a name typed or pasted anew loses its control
// characters (a pasted line break becomes a space).
QString HistoryCarDialog::car() const
{
    const QString text = m_car->currentText();
    return m_car->findText(text, Qt::MatchExactly) >= 0 ? text : cleanCarName(text);
}

QString askHistoryCar(QWidget *parent, const QStringList &cars, const QString &preferred, const QString &title)
{
    HistoryCarDialog dialog(cars, preferred, title, parent);
    if (execDialog(dialog) != QDialog::Accepted)
        return {};
    return dialog.car();
}

} // namespace mk
