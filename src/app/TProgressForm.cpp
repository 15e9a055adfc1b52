#include "app/TProgressForm.h"

#include "app/WindowDecorations.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QVBoxLayout>

namespace mk {

TProgressForm::TProgressForm(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      m_text(new QLabel(QStringLiteral("Прогресс"), this)),
      m_gauge(new QProgressBar(this))
{
    setObjectName(QStringLiteral("ProgressForm"));
    setWindowTitle(QStringLiteral("Progress..."));
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(261, 113);

    m_text->setObjectName(QStringLiteral("lText"));
    m_text->setAlignment(Qt::AlignCenter);
    m_text->setWordWrap(true);

    m_gauge->setObjectName(QStringLiteral("Gauge"));
    m_gauge->setRange(0, 100);
    m_gauge->setValue(0);
    QPalette blue = m_gauge->palette();
    blue.setColor(QPalette::Highlight, QColor(0, 0, 0xC0));
    m_gauge->setPalette(blue);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    m_cancel = buttons->button(QDialogButtonBox::Cancel);
    m_cancel->setObjectName(QStringLiteral("bCancel"));
    connect(m_cancel, &QPushButton::clicked, this, [this] { m_cancelled = true; });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 8);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_gauge);
    layout->addWidget(buttons, 0, Qt::AlignHCenter);
    withoutTitleButtons(*this);
}

void TProgressForm::onOwnThread(std::function<void()> change)
{
    if (QThread::currentThread() == thread())
        change();
    else
        QMetaObject::invokeMethod(this, std::move(change), Qt::QueuedConnection);
}

void TProgressForm::setText(const QString &text)
{
    onOwnThread([this, text] { m_text->setText(text); });
}

void TProgressForm::setValue(int percent)
{
    onOwnThread([this, percent] { m_gauge->setValue(std::clamp(percent, 0, 100)); });
}

void TProgressForm::setGaugeVisible(bool visible)
{
    onOwnThread([this, visible] { m_gauge->setVisible(visible); });
}

void TProgressForm::setCancelAllowed(bool allowed)
{
    onOwnThread([this, allowed] { m_cancel->setEnabled(allowed); });
}

void TProgressForm::centreOver(const QWidget *owner)
{
    QRect area;
    if (owner && owner->isVisible())
        area = owner->frameGeometry();
    else if (const QScreen *screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid())
        move(area.center() - rect().center());
}

void TProgressForm::reject() { m_cancelled = true; }

void TProgressForm::closeEvent(QCloseEvent *event)
{
    m_cancelled = true;
    event->ignore();
}

} // namespace mk
