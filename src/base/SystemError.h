// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The system's own words for its error codes, kept in an error's context beside the program's
// Russian text (SystemError_unix.cpp, SystemError_win.cpp).

#include "base/Error.h"

#include <QString>

namespace mk {

// strerror's words for an errno ("No space left on device").
QString errnoMessage(int error);

// Windows: FormatMessageW's words for a GetLastError value in the user's language, without the
// line break it ends with ("Отказано в доступе."); elsewhere "".
QString windowsErrorMessage(quint32 code);

// Windows: the GetLastError value behind the errno the last failed file step of this thread was
// turned into, when that errno is this one; 0 otherwise and elsewhere.
quint32 windowsCodeBehind(int error);
// Windows: remembers the value a failed step gave and the errno it was turned into.
void noteWindowsCode(quint32 code, int error);

// The context of a failed system call: its errno and words, and on Windows the original code
// and the system's words for it.
ErrorContext systemErrorContext(int error);

} // namespace mk
