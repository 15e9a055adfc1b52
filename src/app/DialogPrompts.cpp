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

std::optional<PortAnswer> DialogPortChooser::choosePort(const QList<PortChoiceItem> &items, int preselected,
                                                        const PortListRefresh &refresh)
{
    TKW_RS232_SetNumDlg dialog(items, preselected, m_parent, refresh);
    if (execDialog(dialog) != QDialog::Accepted)
        return std::nullopt;
    const PortAnswer answer = dialog.answer();
    if (answer.index < 0 && answer.typed.isEmpty())
        return std::nullopt;
    return answer;
}

std::optional<quint32> DialogBaudChooser::chooseBaud(quint32 current)
{
    TKW_RS232_SetBRDlg dialog(int(current), m_parent);
    if (execDialog(dialog) != QDialog::Accepted)
        return std::nullopt;
    return quint32(dialog.baudRate());
}

} // namespace mk
