// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The access check that guards the manual port and baud-rate choices: a password asked once;
// once given, never asked again during the run. The main window grants access at start-up.

#include <QString>
#include <atomic>
#include <optional>

namespace mk {

inline const QString kAccessPassword = QStringLiteral("QXR");
// What the password dialog and its refusal say, word for word.
inline const QString kPasswordCaptionText = QStringLiteral("Контроль доступа");
inline const QString kPasswordPromptText =
    QStringLiteral("Данная команда будет выполняться только после ввода пароля!");
inline const QString kWrongPasswordText = QStringLiteral("Неверный пароль!");

// The password dialog and the error box, as the shell shows them.
class PasswordPrompt
{
public:
    virtual ~PasswordPrompt() = default;
    // Shows the dialog with the prompt; the text typed when closed with OK, nothing on Cancel.
    virtual std::optional<QString> askPassword(const QString &prompt) = 0;
    virtual void showError(const QString &text) = 0;
};

// True exactly when the dialog was closed with OK holding the expected text (case-sensitive).
bool AskPassword(PasswordPrompt &prompt, const QString &promptText, const QString &expected);

class AccessGuard
{
public:
    // True when access was granted before or is granted now; a wrong or cancelled entry shows
    // "Неверный пароль!" and returns false.
    bool CheckAccess(PasswordPrompt &prompt);
    bool granted() const { return m_granted; }
    void grant() { m_granted = true; }

private:
    std::atomic<bool> m_granted{false};
};

// The program-wide access flag.
AccessGuard &programAccess();

} // namespace mk
