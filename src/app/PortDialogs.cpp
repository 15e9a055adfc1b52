#include "app/PortDialogs.h"

#include "app/MessageBoxes.h"

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

QString portCaption(const PortChoice &port)
{
    const QString name = QStringLiteral("COM%1").arg(port.number);
    return port.deviceNode.isEmpty() ? name : name + QStringLiteral(" — ") + port.deviceNode;
}

TKW_RS232_SetNumDlg::TKW_RS232_SetNumDlg(const QList<PortChoice> &ports, int currentNumber, QWidget *parent)
    : QDialog(parent), m_pcb(new QComboBox(this)), m_ports(ports)
{
    setObjectName(QStringLiteral("KW_RS232_SetNumDlg"));
    setWindowTitle(QStringLiteral("Выбор номера порта"));
    auto *label = new QLabel(QStringLiteral("Выберите последовательный порт"), this);
    label->setObjectName(QStringLiteral("Label1"));
    m_pcb->setObjectName(QStringLiteral("PCB"));
    m_pcb->setEditable(false);
    for (const PortChoice &port : ports)
        m_pcb->addItem(portCaption(port), port.number);
    // A current port that is no longer present leaves nothing preselected.
    m_pcb->setCurrentIndex(m_pcb->findData(currentNumber));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_pcb);
    layout->addWidget(addButtons(this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel));
    setMinimumWidth(300);
    setFixedSize(sizeHint());
}

int TKW_RS232_SetNumDlg::chosenNumber() const
{
    return m_pcb->currentIndex() < 0 ? 0 : m_pcb->currentData().toInt();
}

TKW_RS232_SetBRDlg::TKW_RS232_SetBRDlg(int baudRate, QWidget *parent)
    : QDialog(parent), m_bse(new QSpinBox(this))
{
    setObjectName(QStringLiteral("KW_RS232_SetBRDlg"));
    setWindowTitle(QStringLiteral("Выбор скорости обмена СОМ-порта"));
    auto *label = new QLabel(QStringLiteral("Скорость обмена, бод"), this);
    label->setObjectName(QStringLiteral("Label1"));
    m_bse->setObjectName(QStringLiteral("BSE"));
    m_bse->setRange(110, 921600);
    m_bse->setSingleStep(10);
    m_bse->setValue(baudRate);

    QDialogButtonBox *buttons = addButtons(this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help);
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

int TKW_RS232_SetBRDlg::baudRate() const
{
    return m_bse->value();
}

} // namespace mk
