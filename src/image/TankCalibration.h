// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Fuel-tank calibration fields of sections 2 and 3: the 2-point and 7-point linear calibrations
// and the calibration table, with the rules the tank page applies when it stores the table.

#include "image/Record.h"

#include <QString>
#include <vector>

namespace mk {

namespace tank {
// Section 2 (int16 unless noted).
constexpr int kOil6L = 0;            // 2-point calibration, point 1: sensor units
constexpr int kLit6L = 2;            // 2-point calibration, point 1: litres
constexpr int kOil43L = 4;           // 2-point calibration, point 2: sensor units
constexpr int kLit43L = 6;           // 2-point calibration, point 2: litres
constexpr int kOilCalibrResArr = 8;  // 7 × int16: sensor units of the 7 points
constexpr int kOilCalibrLitArr = 22; // 7 × int16: litres of the 7 points
constexpr int kOilCalibrQuant = 36;  // uint8: points in use, 0..7
constexpr int kPointCount = 7;

// Section 3.
constexpr int kTableFirstByte = 0;  // uint8 carried by the tank file only
constexpr int kTarirFlagFinish = 1; // uint8: 1 when the table is complete
constexpr int kTarirLeng = 2;       // uint8: table rows, 0..68
constexpr int kTarirDir = 6;        // uint8: 1 when the first row's code is above 240
constexpr int kTarirIncline = 7;    // uint8: sensor slope as the device found it (shown only)
constexpr int kTarirLit = 8;        // 68 × uint8: litres per row
constexpr int kTarirCode = 144;     // 68 × int16: sensor units per row
constexpr int kTarirMaxLength = 68;
// The device counts the sensor as falling when the table starts above this code.
constexpr int kTarirDirThreshold = 240;
} // namespace tank

// The table length as the page shows it: a stored length above 68 cannot be a table and counts
// as 0. Every reader of the length goes through this, so that a tool shows what the page shows.
qint64 shownTarirLength(qint64 stored);
// The page resets such a length to 0 in the record itself when it loads.
int normalizedTarirLength(Record &s3);

// A table cell as the user typed it: only the digits count, an empty cell is 0. Returns -1 when
// the digits give a number too large for any table field.
qint64 tableCellValue(const QString &text);

struct TarirRowText
{
    QString litres;
    QString code;
};

// A row of the table as stored: the cells' digits, litres 0..255 and sensor units 0..32767; a
// cell out of its field's range throws RangeError naming `where` and the column ("литры", "уе").
struct TarirRow
{
    quint8 litres = 0;
    qint16 code = 0;
};
TarirRow checkedTarirRow(const TarirRowText &row, const QString &where = {});
// Stores row `index` (0-based) and sets TarirDir from the first row's code: every store of the
// table goes through here.
void storeTarirRow(Record &s3, int index, TarirRow row);

// Stores rows 1..n of the table (n = the stored table length; rows not given keep their values)
// and sets TarirDir from the first code. A cell out of its field's range throws
// RangeError before anything is stored, so the table never ends up half old and half new.
void storeTarirTable(Record &s3, const std::vector<TarirRowText> &rows);

} // namespace mk
