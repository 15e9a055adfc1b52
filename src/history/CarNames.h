// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The names of cars in the history: what may name one, and how a name is shown where a control
// character would do harm (a terminal, a line-based listing).

#include <QString>

namespace mk {

// Why the text cannot name a car: it is empty, or holds a control character (a line break, a
// tab, any C0 or C1 control, a line or paragraph separator). "" when it can.
QString carNameProblem(const QString &name);

// What a dialog takes from typed or pasted text: every run of control characters becomes one
// space, and the ends are trimmed.
QString cleanCarName(const QString &text);

// The name with each control character written as an escape ("\n", "\t", "\u0085"), for output
// that must stay one line and must not reach the terminal as a control.
QString printableCarName(const QString &name);

} // namespace mk
