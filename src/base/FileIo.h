#pragma once
// Whole-file reads with a size limit, and atomic whole-file writes.

#include <QByteArray>
#include <QString>

namespace mk {

// Throws Error when the file cannot be read or is larger than maxSize bytes.
QByteArray readWholeFile(const QString &path, qint64 maxSize);
// Writes a temporary file beside the target, flushes it and renames it over the target;
// on failure the old file stays as it was and Error is thrown.
void writeFileAtomically(const QString &path, const QByteArray &data);
// Throws Error when a file could not be written at path (a folder, a missing folder, a read-only
// disk, no rights): checked before a long operation whose result goes there, so that the work is
// not lost at the end.
void checkFileWritable(const QString &path);
// Why writing `size` bytes into folder `dir` failed: a read-only file system, a full disk, a
// missing folder or missing rights; `fallback` (the device's own text) when none of them.
QString writeFailureReason(const QString &dir, qint64 size, const QString &fallback);

} // namespace mk
