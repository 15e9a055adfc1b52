#pragma once
// The access check that guards the manual port and baud-rate choices.

#include <QString>

class QWidget;

namespace mk {

// Shows the password dialog with the prompt; the text typed counts only when the dialog was
// closed with OK. true exactly when that text equals the expected password (case-sensitive).
bool AskPassword(QWidget *parent, const QString &prompt, const QString &expected);

class AccessControl
{
public:
    // Asks for the password unless access was granted before; on a wrong password shows
    // "Неверный пароль!" and returns false, and the guarded command does nothing.
    bool CheckAccess(QWidget *parent);
    // The main window grants access at start-up, so the guarded commands never ask.
    void grant() { m_granted = true; }
    bool granted() const { return m_granted; }

    // The program-wide flag.
    static AccessControl &program();

private:
    bool m_granted = false; // once true it stays true for the run
};

} // namespace mk
