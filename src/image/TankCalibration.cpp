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

void storeTarirTable(Record &s3, const std::vector<TarirRowText> &rows)
{
    const int length = normalizedTarirLength(s3);
    std::vector<quint8> litres(static_cast<size_t>(length));
    std::vector<qint16> codes(static_cast<size_t>(length));
    for (int i = 0; i < length; ++i) {
        litres[size_t(i)] = s3.u8(tank::kTarirLit + i);
        codes[size_t(i)] = qint16(s3.u16(tank::kTarirCode + 2 * i));
    }
    for (int i = 0; i < length && i < int(rows.size()); ++i) {
        const qint64 lit = tableCellValue(rows[size_t(i)].litres);
        const qint64 code = tableCellValue(rows[size_t(i)].code);
        if (lit < 0 || lit > 255)
            throw RangeError(QStringLiteral("строка %1 таблицы бака, литры").arg(i + 1), lit, 0, 255);
        if (code < 0 || code > 32767)
            throw RangeError(QStringLiteral("строка %1 таблицы бака, уе").arg(i + 1), code, 0, 32767);
        litres[size_t(i)] = quint8(lit);
        codes[size_t(i)] = qint16(code);
    }
    for (int i = 0; i < length; ++i) {
        s3.setU8(tank::kTarirLit + i, litres[size_t(i)]);
        s3.setU16(tank::kTarirCode + 2 * i, quint16(codes[size_t(i)]));
    }
    const qint16 first = qint16(s3.u16(tank::kTarirCode));
    s3.setU8(tank::kTarirDir, first > tank::kTarirDirThreshold ? 1 : 0);
}

} // namespace mk
