// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PortChoiceDialogs.h"

#include "widgets/MessageBoxes.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
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

TKW_RS232_SetNumDlg::TKW_RS232_SetNumDlg(const QList<PortChoiceItem> &items, int preselected, QWidget *parent)
    : QDialog(parent), m_pcb(new QComboBox(this))
{
    setObjectName(QStringLiteral("KW_RS232_SetNumDlg"));
    setWindowTitle(kPortDialogCaptionText);
    auto *label = new QLabel(kPortDialogLabelText, this);
    label->setObjectName(QStringLiteral("Label1"));
    m_pcb->setObjectName(QStringLiteral("PCB"));
    m_pcb->setEditable(false);
    for (const PortChoiceItem &item : items)
        m_pcb->addItem(item.text, item.number);
    m_pcb->setCurrentIndex(preselected >= 0 && preselected < items.size() ? preselected : -1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_pcb);
    layout->addWidget(addButtons(this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel));
    setMinimumWidth(300);
    setFixedSize(sizeHint());
}

int TKW_RS232_SetNumDlg::chosenIndex() const { return m_pcb->currentIndex(); }

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
