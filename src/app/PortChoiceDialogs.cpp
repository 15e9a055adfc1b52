// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PortChoiceDialogs.h"

#include "link/LinkTexts.h"
#include "link/PortMap.h"
#include "widgets/MessageBoxes.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace mk {

namespace {

QDialogButtonBox *addButtons(QDialog *dialog, QDialogButtonBox::StandardButtons which)
{
    auto *buttons = new QDialogButtonBox(which, dialog);
    buttons->setObjectName(QStringLiteral("buttons"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

} // namespace

TKW_RS232_SetNumDlg::TKW_RS232_SetNumDlg(const QList<PortChoiceItem> &items, int preselected, QWidget *parent,
                                         PortListRefresh refresh)
    : QDialog(parent), m_pcb(new QComboBox(this)), m_refresh(std::move(refresh))
{
    setObjectName(QStringLiteral("KW_RS232_SetNumDlg"));
    setWindowTitle(kPortDialogCaptionText);
    auto *label = new QLabel(kPortDialogLabelText, this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setBuddy(m_pcb);
    m_pcb->setObjectName(QStringLiteral("PCB"));
    // A port the list does not hold is typed: its number, or on Linux its path.
    m_pcb->setEditable(true);
    m_pcb->setInsertPolicy(QComboBox::NoInsert);
    m_pcb->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    const bool paths = systemPortNode(1).startsWith(QLatin1Char('/'));
    m_pcb->lineEdit()->setPlaceholderText(paths ? QStringLiteral("COM5 или /dev/ttyUSB3") : QStringLiteral("COM5"));
    m_hint = new QLabel(this);
    m_hint->setObjectName(QStringLiteral("lTypeHint"));
    showItems(items, preselected);

    auto *row = new QHBoxLayout;
    row->addWidget(m_pcb, 1);
    if (m_refresh) {
        auto *again = new QPushButton(QStringLiteral("О&бновить"), this);
        again->setObjectName(QStringLiteral("bRefresh"));
        again->setAutoDefault(false);
        connect(again, &QPushButton::clicked, this, [this] {
            int pre = -1;
            const QString typed = m_pcb->currentText();
            const QList<PortChoiceItem> fresh = m_refresh(&pre);
            showItems(fresh, pre);
            // What the user had picked or typed stays, if it is still there or was typed.
            if (const int at = m_pcb->findText(typed); at >= 0)
                m_pcb->setCurrentIndex(at);
            else if (!typed.isEmpty() && answer().index < 0)
                m_pcb->setEditText(typed);
        });
        row->addWidget(again);
    }

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addLayout(row);
    layout->addWidget(m_hint);
    layout->addWidget(addButtons(this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel));
    // Wide enough for its title beside the window's own buttons.
    setMinimumWidth(qMax(360, fontMetrics().horizontalAdvance(kPortDialogCaptionText) + 160));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TKW_RS232_SetNumDlg::showItems(const QList<PortChoiceItem> &items, int preselected)
{
    m_pcb->clear();
    for (const PortChoiceItem &item : items)
        m_pcb->addItem(item.text, item.number);
    m_pcb->setCurrentIndex(preselected >= 0 && preselected < items.size() ? preselected : -1);
    if (m_pcb->currentIndex() < 0)
        m_pcb->setEditText(QString());
    const bool paths = systemPortNode(1).startsWith(QLatin1Char('/'));
    const QString typeIt = paths ? QStringLiteral("введите его номер или путь.") : QStringLiteral("введите его номер.");
    m_hint->setText(items.isEmpty() ? kNoFreePortText + QStringLiteral(" Если порт есть, ") + typeIt
                                    : QStringLiteral("Порта нет в списке — ") + typeIt);
    if (items.isEmpty())
        m_pcb->setFocus();
}

int TKW_RS232_SetNumDlg::chosenIndex() const { return answer().index; }

PortAnswer TKW_RS232_SetNumDlg::answer() const
{
    const QString text = m_pcb->currentText();
    const int at = m_pcb->findText(text);
    if (at >= 0)
        return {at, {}};
    return {-1, text.trimmed()};
}

TKW_RS232_SetBRDlg::TKW_RS232_SetBRDlg(int baudRate, QWidget *parent) : QDialog(parent), m_bse(new QSpinBox(this))
{
    setObjectName(QStringLiteral("KW_RS232_SetBRDlg"));
    setWindowTitle(kBaudDialogCaptionText);
    auto *label = new QLabel(kBaudDialogLabelText, this);
    label->setObjectName(QStringLiteral("Label1"));
    m_bse->setObjectName(QStringLiteral("BSE"));
    m_bse->setRange(110, 921600);
    m_bse->setSingleStep(10);
    m_bse->setValue(baudRate);

    QDialogButtonBox *buttons =
        addButtons(this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [this] {
        showInformation(this, QStringLiteral("МК обменивается данными со скоростью 115200 бод. "
                                             "Другую скорость выбирайте только для проверки линии связи."));
    });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_bse);
    layout->addWidget(buttons);
    setFixedSize(sizeHint());
}

int TKW_RS232_SetBRDlg::baudRate() const { return m_bse->value(); }

} // namespace mk
