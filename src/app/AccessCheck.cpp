// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AccessCheck.h"

namespace mk {

bool AskPassword(PasswordPrompt &prompt, const QString &promptText, const QString &expected)
{
    const std::optional<QString> typed = prompt.askPassword(promptText);
    return typed.value_or(QString()) == expected;
}

bool AccessGuard::CheckAccess(PasswordPrompt &prompt)
{
    if (m_granted)
        return true;
    if (AskPassword(prompt, kPasswordPromptText, kAccessPassword)) {
        m_granted = true;
        return true;
    }
    prompt.showError(kWrongPasswordText);
    return false;
}

AccessGuard &programAccess()
{
    static AccessGuard guard;
    return guard;
}

} // namespace mk
