// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every modal dialog of the configurator goes through execDialog, so that tests can answer
// message boxes, file dialogs and the program's own dialogs without racing the event loop.

#include "base/Error.h"

#include <QString>
#include <functional>

class QDialog;
class QWidget;

namespace mk {

// Receives the dialog fully built, instead of its exec(); returns what exec() would have
// returned (for a QMessageBox: the QMessageBox::StandardButton pressed).
using DialogHook = std::function<int(QDialog &dialog)>;

// Installs a hook for the lifetime of the object (tests only); the previous one comes back after.
class ScopedDialogHook
{
public:
    explicit ScopedDialogHook(DialogHook hook);
    ~ScopedDialogHook();
    ScopedDialogHook(const ScopedDialogHook &) = delete;
    ScopedDialogHook &operator=(const ScopedDialogHook &) = delete;

private:
    DialogHook m_previous;
};

int execDialog(QDialog &dialog);

// Error box: OK button, error icon.
void showError(QWidget *parent, const QString &text);
// Every error box notes its text: the last one goes into the support report, each into the
// trace (category "mk.errors", as "error shown: " and the text on one line).
void noteShownError(const QString &text);
// The same for an error of the program: the report also keeps its kind and everything its
// context knows (port, request, place, attempt, the system's code and words).
void noteShownError(const Error &error);
QString lastShownError();
// Error box for an error of the program: its shown text, noted with its kind and context.
void showError(QWidget *parent, const Error &error);
// Information box: OK button, information icon.
void showInformation(QWidget *parent, const QString &text);
// Warning box: OK button, warning icon (something is wrong but the work goes on).
void showWarning(QWidget *parent, const QString &text);
// Question box: Yes and No buttons, question icon; true for Yes. With defaultNo, Enter answers No
// (for questions before something that cannot be undone).
bool askYesNo(QWidget *parent, const QString &text, bool defaultNo = false);

enum class Answer { Yes, No, Cancel };
// Question box with Yes, No and Cancel: Esc and closing the box mean Cancel.
Answer askYesNoCancel(QWidget *parent, const QString &text);

} // namespace mk
