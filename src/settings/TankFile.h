// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tank file (*.tcoil): the tank calibration fields of sections 2 and 3, 245 bytes, so that a
// calibration survives new firmware. The sensor slope (TarirIncline) is not part of it.

#include <QByteArray>
#include <QString>

namespace mk {

class Record;
class TMK;

constexpr int kTankFileSize = 245;

// The 245 bytes of the file from the records of sections 2 and 3.
QByteArray encodeTankFile(const Record &s2, const Record &s3);
// Reads the fields from the start of the file (bytes after the 245th are ignored). A file too
// short to hold every field throws Error and changes nothing.
void decodeTankFile(const QByteArray &file, Record &s2, Record &s3);

// Whole files; errors are thrown as Error with the text for the user, and a failed load leaves
// the records as they were.
void saveTankFile(const QString &path, const TMK &model);
void loadTankFile(const QString &path, TMK &model);

} // namespace mk
