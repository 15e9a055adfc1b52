#pragma once
// The three viewing and editing steps of the main window. Each opens its modal dialog on the
// model's records; the main window applies the modified-flag rules itself.

class QWidget;

namespace mk {

class TMK;

// true when the user confirmed with OK (the image was re-encoded)
bool runEditTransaction(QWidget *parent, TMK &model);
// true when the user confirmed with OK (journals cleared in the dialog reached the image)
bool runJournalTransaction(QWidget *parent, TMK &model);
void runOscTransaction(QWidget *parent, TMK &model);

} // namespace mk
