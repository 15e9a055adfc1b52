// SPDX-License-Identifier: GPL-3.0-or-later
// "Просмотреть данные осциллографа": checks that the model records oscilloscope data, then
// shows the two recorded blocks.

#include "base/Error.h"
#include "image/ImageDeviceModel.h"
#include "image/ImageLayout.h"
#include "image/RecordSync.h"
#include "viewers/TMK_ViewOscDlg.h"
#include "viewers/ViewerTransactions.h"
#include "widgets/MessageBoxes.h"

namespace mk {

void runOscTransaction(QWidget *parent, TMK &model)
{
    SectionSnapshot snapshot(model, {kVehicleSection});
    try {
        requireOscilloscope(model);
    } catch (const Error &e) {
        showError(parent, e.text());
        return;
    }
    model.readOscBlocks();

    TMK_ViewOscDlg dialog(model, parent);
    execDialog(dialog);
    // The scale choices live in section 10's record; they go into the image as well, so that
    // saving the settings keeps them and a later decode does not lose them.
    if (dialog.settingsChanged())
        snapshot.commit();
}

} // namespace mk
