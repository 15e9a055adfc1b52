// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two viewing steps of the main window: the journals and the oscilloscope viewer opened
// modally on the model's records.

class QWidget;

namespace mk {

class TMK;

// true when the user confirmed with OK (journals cleared in the dialog reached the image)
bool runJournalTransaction(QWidget *parent, TMK &model);
void runOscTransaction(QWidget *parent, TMK &model);

} // namespace mk
