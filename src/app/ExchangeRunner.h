#pragma once
// Runs one device exchange on a worker thread behind the progress window.

#include <functional>

class QWidget;

namespace mk {

class Progress;

// Shows the progress window over `owner`, runs `work` on a worker thread and keeps the user
// interface live until it ends; then closes the window and rethrows whatever `work` threw.
// The window is application-modal, so nothing but its Cancel can be pressed meanwhile.
// Only one exchange runs at a time: a second call while one runs throws Error.
void runExchange(QWidget *owner, const std::function<void(Progress &)> &work);

// true while an exchange runs.
bool exchangeRunning();

} // namespace mk
