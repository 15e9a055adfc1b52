// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Backups of the device's memory, taken before anything is written to it.

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace mk {

// The time in a backup's name; the backups list reads it back.
inline const QString kBackupTimeFormat = QStringLiteral("yyyyMMdd-HHmmss");

// <user data>/mkconf/backups (on Linux ~/.local/share/mkconf/backups).
QString defaultBackupDir();

// Saves the image as a settings file named after the time and the model code
// ("mk-20261208-143005-8002.tcset", "-2", "-3" ... when that name is taken); never replaces an
// existing file, never writes through a link standing at a name and never leaves a half-written
// one. A folder others may write into is refused; a missing one is made for this user alone.
// Returns the path; throws Error.
QString saveBackup(const QString &dir, quint16 modelCode, const QByteArray &image,
                   const QDateTime &when = QDateTime::currentDateTime());

} // namespace mk
