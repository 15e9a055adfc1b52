// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The save dialog of a text file the program writes (a comparison, a support report).

#include <QString>

class QWidget;

namespace mk {

// Asks where to save a text file (*.txt), starting in `folder` (the user's files folder when
// empty) with `suggestedName` chosen when given; remembers the folder chosen in `folder`.
// Returns the path chosen, empty when the user cancelled.
QString askTextSavePath(QWidget *parent, QString &folder, const QString &suggestedName);

} // namespace mk
