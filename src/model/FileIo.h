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

} // namespace mk
