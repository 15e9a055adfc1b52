// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TProgressForm.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QVBoxLayout>

namespace mk {

namespace {

constexpr int kClientWidth = 261;
constexpr int kClientHeight = 113;

} // namespace

// Window managers keep a close button whatever a window asks (openbox ignores the motif hints
// for it), so the window draws its own caption bar, without buttons, and is moved by it.
TProgressForm::TProgressForm(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_caption(new QLabel(this)),
      m_text(new QLabel(QStringLiteral("Прогресс"))),
      m_gauge(new QProgressBar)
{
    setObjectName(QStringLiteral("ProgressForm"));
    setWindowTitle(QStringLiteral("Progress..."));
    setWindowModality(Qt::ApplicationModal);

    m_caption->setObjectName(QStringLiteral("lCaption"));
    m_caption->setText(windowTitle());
    QFont bold = m_caption->font();
    bold.setBold(true);
    m_caption->setFont(bold);
    m_caption->setAlignment(Qt::AlignCenter);
    m_caption->setAutoFillBackground(true);
    m_caption->setBackgroundRole(QPalette::Highlight);
    m_caption->setForegroundRole(QPalette::HighlightedText);
    m_caption->setFixedHeight(m_caption->fontMetrics().height() + 6);
    m_caption->setCursor(Qt::SizeAllCursor);
    m_caption->installEventFilter(this);

    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    client->setFixedSize(kClientWidth, kClientHeight);

    m_text->setObjectName(QStringLiteral("lText"));
    m_text->setAlignment(Qt::AlignCenter);
    m_text->setWordWrap(true);

    m_gauge->setObjectName(QStringLiteral("Gauge"));
    m_gauge->setRange(0, 100);
    m_gauge->setValue(0);
    QPalette blue = m_gauge->palette();
    blue.setColor(QPalette::Highlight, QColor(0, 0, 0xC0));
    m_gauge->setPalette(blue);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, client);
    m_cancel = buttons->button(QDialogButtonBox::Cancel);
    m_cancel->setObjectName(QStringLiteral("bCancel"));
    connect(m_cancel, &QPushButton::clicked, this, [this] { m_cancelled = true; });

    auto *layout = new QVBoxLayout(client);
    layout->setContentsMargins(10, 8, 10, 8);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_gauge);
    layout->addWidget(buttons, 0, Qt::AlignHCenter);

    auto *frame = new QVBoxLayout(this);
    frame->setContentsMargins(1, 1, 1, 1); // the border painted around
    frame->setSpacing(0);
    frame->addWidget(m_caption);
    frame->addWidget(client);
    setFixedSize(kClientWidth + 2, kClientHeight + m_caption->height() + 2);
}

void TProgressForm::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    QPainter p(this);
    p.setPen(palette().color(QPalette::Dark));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

bool TProgressForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_caption) {
        if (event->type() == QEvent::MouseButtonPress) {
            m_dragFrom = static_cast<QMouseEvent *>(event)->globalPosition().toPoint() - pos();
            return true;
        }
        if (event->type() == QEvent::MouseMove && (static_cast<QMouseEvent *>(event)->buttons() & Qt::LeftButton)) {
            move(static_cast<QMouseEvent *>(event)->globalPosition().toPoint() - m_dragFrom);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
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
