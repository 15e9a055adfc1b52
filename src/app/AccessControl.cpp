#include "app/AccessControl.h"

#include "app/MessageBoxes.h"
#include "app/TPasswDlg.h"

namespace mk {

namespace {
const QString kAccessPassword = QStringLiteral("QXR");
}

bool AskPassword(QWidget *parent, const QString &prompt, const QString &expected)
{
    TPasswDlg dialog(parent);
    dialog.setPrompt(prompt);
    const QString typed = execDialog(dialog) == QDialog::Accepted ? dialog.password() : QString();
    return typed == expected;
}

bool AccessControl::CheckAccess(QWidget *parent)
{
    if (m_granted)
        return true;
    if (AskPassword(parent, QStringLiteral("Данная команда будет выполняться только после ввода пароля!"),
                    kAccessPassword)) {
        m_granted = true;
        return true;
    }
    showError(parent, QStringLiteral("Неверный пароль!"));
    return false;
}

AccessControl &AccessControl::program()
{
    static AccessControl access;
    return access;
}

} // namespace mk
