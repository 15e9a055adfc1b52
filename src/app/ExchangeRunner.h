// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs one device exchange on a worker thread behind the progress window.

#include <functional>

class QObject;
class QWidget;

namespace mk {

class Progress;

// Shows the progress window over `owner`, runs `work` on a worker thread and keeps the user
// interface live until it ends; then closes the window and rethrows whatever `work` threw.
// The window is application-modal, so nothing but its Cancel can be pressed meanwhile.
// Only one exchange runs at a time: a second call while one runs throws Error.
void runExchange(QWidget *owner, const std::function<void(Progress &)> &work);

// From the exchange's worker thread: runs `question` on the thread of `context` (the user
// interface) and waits for its answer. On that thread itself it simply runs it. An error
// escaping the question is shown in an error box and counts as false. The progress window is
// hidden while the question is open and shows again when the answer is yes. A request to end the
// program (endWhenExchangeAllows) answers an open question no, closing its dialogs, and one that
// came before the question keeps it from being asked.
bool askOnUiThread(QObject *context, const std::function<bool()> &question);

// true while an exchange runs.
bool exchangeRunning();

// The parent for any box shown while an exchange runs: its progress window while it shows, which
// stays on top, so that the box comes up above it and not behind; else `fallback`.
QWidget *boxParent(QWidget *fallback);

} // namespace mk
