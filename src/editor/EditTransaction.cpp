// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's step "Редактировать настройки": the edit transaction around the editor.

#include "editor/EditTransaction.h"
#include "editor/TMK_SetParamsDlg.h"
#include "settings/EditSession.h"
#include "widgets/MessageBoxes.h"

namespace mk {

bool runEditTransaction(QWidget *parent, TMK &model)
{
    // A protocol index or settings version above 255 throws here, before anything changed.
    EditSession session(model);
    bool ok = false;
    try {
        TMK_SetParamsDlg dialog(session, parent);
        ok = execDialog(dialog) == QDialog::Accepted;
    } catch (...) {
        session.rollback();
        throw;
    }
    if (ok)
        session.commit();
    else
        session.rollback();
    return ok;
}

} // namespace mk
