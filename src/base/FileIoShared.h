// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the Linux and the Windows file routines share: the words of a failed write, the name of a
// temporary file and the faults tests inject. Used by FileIo_unix.cpp and FileIo_win.cpp only.

#include "base/Error.h"
#include "base/FileIo.h"

#include <QString>

namespace mk {

// A path as the user's system writes it.
QString shownPath(const QString &path);

// The errno a test asked this step of a write to fail with (injectWriteFault, MK_TEST_FILE_FAULT),
// or 0.
int injectedWriteFault(WriteStep step);

// The reason of a failed write: missing rights are for writing here.
QString writeReason(int error);

// "Не могу записать файл ...", and that the old file is kept when it is. A FileIo error whose
// context holds the path and, when error is given, the errno with the system's code and words.
Error writeError(const QString &path, const QString &reason, bool oldKept, int error = 0);
// A FileIo error of a file or folder: the path, and the errno's context when error is given.
Error fileError(const QString &path, const QString &text, int error = 0);

// A fresh name for a temporary file in dir, hidden and marked as a part of stem.
QString temporaryFileName(const QString &dir, const QString &stem);

// The reason for an errno only this system gives, or "" (the shared table answers the rest).
QString systemOnlyErrorReason(int error);

} // namespace mk
