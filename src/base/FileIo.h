// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whole-file reads of regular files only, and the one way every file is written: a new temporary
// file beside the target, every step checked, then a rename.

#include <QByteArray>
#include <QString>
#include <functional>

namespace mk {

// Opens without waiting (a FIFO or a device never blocks) and reads only a regular file; throws
// Error naming the file and why: not found, a folder, a FIFO/device/socket, no rights, a link
// loop, a name that is not UTF-8, larger than maxSize bytes.
QByteArray readWholeFile(const QString &path, qint64 maxSize);
// The same, but a link at the name or a file another user owns is refused.
QByteArray readOwnFile(const QString &path, qint64 maxSize);
// The same, but only a link at the name is refused.
QByteArray readFileNoLink(const QString &path, qint64 maxSize);

// Writes data into a temporary file created exclusively in the target's folder (never through a
// link), checks every write, the flush, fsync and close, then renames it over the target. On any
// failure the temporary file is removed, the old file stays as it was and Error names the file
// and the reason (full disk, no rights, read-only disk ...). A file the user may not write
// (read-only) or that belongs to another user is refused, never replaced, root or not.
// Nothing but a regular file (or a link standing at the name) is ever replaced: a device or a
// FIFO the user named (/dev/stdout, a FIFO another program reads, a link to either) is written to
// directly, a FIFO nobody reads is refused at once; a folder, a socket or a disk device is
// refused with its kind named.
void writeFileAtomically(const QString &path, const QByteArray &data);

// The same, but the result never replaces anything: the file is placed at the first of
// nameFor(1), nameFor(2) ... (names inside dir) that is free; a link planted at a name counts as
// taken. Returns the path; throws Error.
QString writeNewFile(const QString &dir, const std::function<QString(int)> &nameFor, const QByteArray &data,
                     int maxTries = 999);

// Renames the file from to the name to unless something stands there (a link counts): false
// when the name is taken, then from stays. Throws Error on other failures.
bool moveIfFree(const QString &from, const QString &to);

// Throws Error when a file could not be written at path (a folder, a socket, a disk device, a
// missing folder, a read-only disk, no rights, a read-only file or another user's): checked before a long operation whose result goes there, so that the work is
// not lost at the end.
void checkFileWritable(const QString &path);

// The Russian reason for a failed file operation's errno ("на диске нет свободного места" ...).
QString fileErrorReason(int error);

// "" when path is an existing folder only this user may use (owned by them, not a link, no rights
// at all for group or others), else why not. Nothing is made or changed.
QString privateFolderProblem(const QString &path);

// The folder `name` inside `parent`, for this user alone: parent must be an existing folder of
// this user's that others may not write into; only the last component is made (mode 0700) and an
// existing one must pass privateFolderProblem(). Nothing is ever chmodded. Returns the path, or ""
// with the reason in *why.
QString ownPrivateFolder(const QString &parent, const QString &name, QString *why = nullptr);

// A folder for this user's data, made with its missing parents when needed (the last one with
// mode 0700); an existing one must be this user's, not a link, and not writable by others, and is
// never chmodded. Returns an empty text when it is unsafe or cannot be made, with the reason in *why.
QString ensurePrivateFolder(const QString &path, QString *why = nullptr);

// Throws Error naming the folder when others than this user may create files in it.
void checkFolderNotShared(const QString &dir);

// Tests only: makes a step of the next writes fail with the given errno (0: none). Also read once
// from the environment as MK_TEST_FILE_FAULT=write|flush|fsync|close:ERRNO, so that tests can
// fail the writes of a program they start.
enum class WriteStep { None, Write, Flush, Fsync, Close };
void injectWriteFault(WriteStep step, int error);

} // namespace mk
