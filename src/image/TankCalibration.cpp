// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/TankCalibration.h"

#include "base/Error.h"

#include <algorithm>

namespace mk {

qint64 shownTarirLength(qint64 stored) { return stored > tank::kTarirMaxLength ? 0 : stored; }

int normalizedTarirLength(Record &s3)
{
    s3.setU8(tank::kTarirLeng, quint8(shownTarirLength(s3.u8(tank::kTarirLeng))));
    return s3.u8(tank::kTarirLeng);
}

qint64 tableCellValue(const QString &text)
{
    // Ten digits already exceed every field; stop there so the value cannot overflow.
    constexpr int kMaxDigits = 10;
    qint64 value = 0;
    int digits = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            continue;
        if (++digits > kMaxDigits)
            return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

TarirRow checkedTarirRow(const TarirRowText &row, const QString &where)
{
    const qint64 lit = tableCellValue(row.litres);
    const qint64 code = tableCellValue(row.code);
    if (lit < 0 || lit > 255)
        throw RangeError(where + QStringLiteral("литры"), lit, 0, 255);
    if (code < 0 || code > 32767)
        throw RangeError(where + QStringLiteral("уе"), code, 0, 32767);
    return {quint8(lit), qint16(code)};
}

namespace {

void followTarirDirection(Record &s3)
{
    const qint16 first = qint16(s3.u16(tank::kTarirCode));
    s3.setU8(tank::kTarirDir, first > tank::kTarirDirThreshold ? 1 : 0);
}

} // namespace

void storeTarirRow(Record &s3, int index, TarirRow row)
{
    s3.setU8(tank::kTarirLit + index, row.litres);
    s3.setU16(tank::kTarirCode + 2 * index, quint16(row.code));
    followTarirDirection(s3);
}

void storeTarirTable(Record &s3, const std::vector<TarirRowText> &rows)
{
    const int length = normalizedTarirLength(s3);
    std::vector<TarirRow> checked;
    for (int i = 0; i < length && i < int(rows.size()); ++i)
        checked.push_back(checkedTarirRow(rows[size_t(i)], QStringLiteral("строка %1 таблицы бака, ").arg(i + 1)));
    for (size_t i = 0; i < checked.size(); ++i)
        storeTarirRow(s3, int(i), checked[i]);
    followTarirDirection(s3);
}

} // namespace mk
