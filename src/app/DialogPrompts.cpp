// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DialogPrompts.h"

#include "app/PortChoiceDialogs.h"
#include "app/TPasswDlg.h"
#include "widgets/MessageBoxes.h"

namespace mk {

std::optional<QString> DialogPasswordPrompt::askPassword(const QString &prompt)
{
    TPasswDlg dialog(m_parent);
    dialog.setPrompt(prompt);
    if (execDialog(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.password();
}

void DialogPasswordPrompt::showError(const QString &text) { mk::showError(m_parent, text); }

std::optional<int> DialogPortChooser::choosePort(const QList<PortChoiceItem> &items, int preselected)
{
    TKW_RS232_SetNumDlg dialog(items, preselected, m_parent);
    if (execDialog(dialog) != QDialog::Accepted || dialog.chosenIndex() < 0)
        return std::nullopt;
    return dialog.chosenIndex();
}

std::optional<quint32> DialogBaudChooser::chooseBaud(quint32 current)
{
    TKW_RS232_SetBRDlg dialog(int(current), m_parent);
    if (execDialog(dialog) != QDialog::Accepted)
        return std::nullopt;
    return quint32(dialog.baudRate());
}

} // namespace mk
