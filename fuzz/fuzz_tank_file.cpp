// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a tank file: a file that loads must save back to its first 245 bytes, a file
// that is refused must leave the records as they were, and the table rules applied to what was
// loaded (and to the rest of the bytes read as typed cells) must stay inside the records.

#include "base/Error.h"
#include "image/TMK.h"
#include "image/TankCalibration.h"
#include "settings/TankFile.h"

#include <QList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray file(reinterpret_cast<const char *>(data), qsizetype(size));
    mk::TMK model;
    const mk::Record s2 = model.record(2), s3 = model.record(3);
    try {
        mk::decodeTankFile(file, model.record(2), model.record(3));
    } catch (const mk::Error &) {
        if (!(model.record(2) == s2) || !(model.record(3) == s3))
            std::abort();
        return 0;
    }
    if (mk::encodeTankFile(model.record(2), model.record(3)) != file.left(mk::kTankFileSize))
        std::abort();

    const int length = mk::normalizedTarirLength(model.record(3));
    if (length > mk::tank::kTarirMaxLength)
        std::abort();
    // The bytes after the file's fields, as cells the user typed: litres and code alternately.
    std::vector<mk::TarirRowText> rows;
    const QList<QByteArray> cells = file.mid(mk::kTankFileSize).split('\t');
    for (qsizetype i = 0; i + 1 < cells.size(); i += 2)
        rows.push_back({QString::fromLatin1(cells[i]), QString::fromLatin1(cells[i + 1])});
    const mk::Record before = model.record(3);
    try {
        mk::storeTarirTable(model.record(3), rows);
    } catch (const mk::RangeError &) {
        if (!(model.record(3) == before))
            std::abort();
    }
    return 0;
}
