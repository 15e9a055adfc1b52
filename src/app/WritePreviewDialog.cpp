// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/WritePreviewDialog.h"

#include "app/SettingsDiffView.h"
#include "settings/SettingsDiff.h"
#include "widgets/ScreenFit.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace mk {

namespace {

// A list of one change still opens as a window, not a strip.
constexpr int kMinWidth = 480;
constexpr int kMinHeight = 240;
// Left for the frame a window manager draws around the window.
constexpr int kFrameRoom = 16;

} // namespace

ChangePreviewTexts WritePreviewDialog::writeTexts()
{
    return {QStringLiteral("Запись настроек в МК"),
            QStringLiteral("Настроек МК, которые изменятся при записи: %1. Записать?"), QStringLiteral("&Записать"),
            QStringLiteral("Сейчас в МК"), QStringLiteral("Будет записано")};
}

void WritePreviewDialog::setNote(const QString &text)
{
    m_note->setText(text);
    m_note->setVisible(!text.isEmpty());
    fitToContent();
}

void WritePreviewDialog::setRecordedChoices(QWidget *view)
{
    auto *box = static_cast<QVBoxLayout *>(layout());
    view->setParent(this);
    box->insertWidget(box->indexOf(m_note) + 1, view);
    fitToContent();
}

void WritePreviewDialog::fitToContent()
{
    // Every row and both value columns whole, as far as the screen the window opens on allows:
    // narrower than its content, the captions wrap, the values stay in view.
    const QRect screen = availableAreaFor(parentWidget() ? parentWidget()->frameGeometry() : QRect());
    const QSize wanted = sizeHint().expandedTo(QSize(kMinWidth, kMinHeight));
    int width = wanted.width(), height = wanted.height();
    if (screen.isValid() && width > screen.width() - kFrameRoom) {
        // Narrower: the wrapped captions and labels make it taller.
        width = screen.width() - kFrameRoom;
        const QMargins margins = layout()->contentsMargins();
        const int viewWidth = width - margins.left() - margins.right();
        const int others = (layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(width) : height) -
                           m_view->sizeHint().height();
        height = qMax(height, others + m_view->contentHeight(viewWidth));
    }
    if (screen.isValid())
        height = qMin(height, screen.height() - kTitleBarRoom - kFrameRoom);
    resize(width, height);
}

ChangePreviewTexts WritePreviewDialog::profileTexts()
{
    return {QStringLiteral("Импорт профиля"),
            QStringLiteral("Настроек, которые профиль изменит: %1. Применить? Отмена оставит настройки как есть."),
            QStringLiteral("&Применить"), QStringLiteral("Сейчас"), QStringLiteral("После применения")};
}

WritePreviewDialog::WritePreviewDialog(const SettingsDiff &diff, QWidget *parent)
    : WritePreviewDialog(diff, writeTexts(), parent)
{}

WritePreviewDialog::WritePreviewDialog(const SettingsDiff &diff, const ChangePreviewTexts &texts, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("WritePreviewDialog"));
    setWindowTitle(texts.title);
    auto *label = new QLabel(texts.question.arg(diff.changeCount()), this);
    label->setObjectName(QStringLiteral("lCount"));
    label->setWordWrap(true);
    m_view = new SettingsDiffView(diff, texts.before, texts.after, this);
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *write = buttons->addButton(texts.accept, QDialogButtonBox::AcceptRole);
    write->setObjectName(QStringLiteral("bWrite"));
    QPushButton *cancel = buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("bCancel"));
    // Nothing is written or applied by a stray Enter: the user chooses.
    cancel->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_view, 1);
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("lRecorded"));
    m_note->setWordWrap(true);
    m_note->hide();
    layout->addWidget(m_note);
    layout->addWidget(buttons);
    fitToContent();
}

} // namespace mk
