// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The editing step of the main window: the settings editor opened modally on the model's
// records; the main window applies the modified-flag rules itself.

class QWidget;

namespace mk {

class TMK;

// true when the user confirmed with OK (the image was re-encoded)
bool runEditTransaction(QWidget *parent, TMK &model);

} // namespace mk
