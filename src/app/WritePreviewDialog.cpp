// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/WritePreviewDialog.h"

#include "app/SettingsDiffView.h"
#include "settings/SettingsDiff.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace mk {

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
    auto *view = new SettingsDiffView(diff, texts.before, texts.after, this);
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
    layout->addWidget(view, 1);
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("lRecorded"));
    m_note->setWordWrap(true);
    m_note->hide();
    layout->addWidget(m_note);
    layout->addWidget(buttons);
    resize(720, 460);
}

} // namespace mk
