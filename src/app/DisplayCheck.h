// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether the window has somewhere to appear, asked before Qt starts: Qt would abort with its
// own terse message otherwise.

#include <QString>
#include <QStringList>

namespace mk {

// Empty when there is a display (always on Windows); else the message that says how to start
// the program (arguments: the command line, the program first).
QString missingDisplayText(const QStringList &arguments);

} // namespace mk
