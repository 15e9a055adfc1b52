// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/MessageBoxes.h"

#include <QGridLayout>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QSpacerItem>

#include <algorithm>

namespace mk {

namespace {

// Room for a title bar's buttons and margins, and the narrowest box.
constexpr int kTitleBarButtons = 160;
constexpr int kMinimumWidth = 260;

DialogHook &currentHook()
{
    static DialogHook hook;
    return hook;
}

int showBox(QWidget *parent, QMessageBox::Icon icon, const QString &text, QMessageBox::StandardButtons buttons,
            QMessageBox::StandardButton defaultButton = QMessageBox::NoButton)
{
    // The caption names the kind of box, as the system's own message boxes do.
    const QString caption = icon == QMessageBox::Critical      ? QStringLiteral("Ошибка")
                            : icon == QMessageBox::Information ? QStringLiteral("Информация")
                                                               : QStringLiteral("Подтверждение");
    QMessageBox box(icon, caption, text, buttons, parent);
    box.setObjectName(QStringLiteral("messageBox"));
    // A short text would make the box narrower than its title bar needs for the caption and the
    // window manager's buttons.
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout())) {
        const int width = box.fontMetrics().horizontalAdvance(caption) + kTitleBarButtons;
        grid->addItem(new QSpacerItem(std::max(width, kMinimumWidth), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    if (buttons & QMessageBox::Cancel)
        box.setEscapeButton(QMessageBox::Cancel);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    return execDialog(box);
}

} // namespace

ScopedDialogHook::ScopedDialogHook(DialogHook hook) : m_previous(std::move(currentHook()))
{
    currentHook() = std::move(hook);
}

ScopedDialogHook::~ScopedDialogHook() { currentHook() = std::move(m_previous); }

int execDialog(QDialog &dialog)
{
    if (const DialogHook &hook = currentHook())
        return hook(dialog);
    return dialog.exec();
}

Q_LOGGING_CATEGORY(lcErrors, "mk.errors", QtWarningMsg)

namespace {

QString &lastError()
{
    static QString text;
    return text;
}

} // namespace

void noteShownError(const QString &text)
{
    lastError() = text;
    qCDebug(lcErrors).noquote() << QStringLiteral("error shown: ") +
                                       QString(text).replace(QLatin1Char('\n'), QStringLiteral("\\n"));
}

void noteShownError(const Error &error)
{
    QStringList lines{error.text(), QStringLiteral("Вид: %1").arg(errorKindName(error.kind()))};
    lines += error.contextLines();
    noteShownError(lines.join(QLatin1Char('\n')));
}

QString lastShownError() { return lastError(); }

void showError(QWidget *parent, const Error &error)
{
    noteShownError(error);
    showBox(parent, QMessageBox::Critical, error.shownText(), QMessageBox::Ok);
}

void showError(QWidget *parent, const QString &text)
{
    noteShownError(text);
    showBox(parent, QMessageBox::Critical, text, QMessageBox::Ok);
}

void showInformation(QWidget *parent, const QString &text)
{
    showBox(parent, QMessageBox::Information, text, QMessageBox::Ok);
}

void showWarning(QWidget *parent, const QString &text) { showBox(parent, QMessageBox::Warning, text, QMessageBox::Ok); }

bool askYesNo(QWidget *parent, const QString &text, bool defaultNo)
{
    return showBox(parent, QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No,
                   defaultNo ? QMessageBox::No : QMessageBox::NoButton) == QMessageBox::Yes;
}

Answer askYesNoCancel(QWidget *parent, const QString &text)
{
    switch (showBox(parent, QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
    }
}

} // namespace mk
