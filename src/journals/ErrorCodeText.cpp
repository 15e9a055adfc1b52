// SPDX-License-Identifier: GPL-3.0-or-later
#include "journals/ErrorCodeText.h"

namespace mk {

namespace {

QString hex4(quint32 value) { return QString::number(value, 16).toUpper().rightJustified(4, QLatin1Char('0')); }

// OBD-II style: the top two bits of the 16-bit code pick the letter.
QString obdCode(quint32 code)
{
    static const char kLetters[] = {'P', 'C', 'B', 'U'};
    return QLatin1Char(kLetters[(code & 0xFFFF) >> 14]) + hex4(code & 0x3FFF);
}

QString suffixedDecimal(quint32 code)
{
    QString text = QString::number(code);
    if (code & 0x8000)
        text += QStringLiteral("п");
    else if (code & 0x4000)
        text += QStringLiteral("н");
    else if (code & 0x2000)
        text += QStringLiteral("м");
    return text;
}

// J1939: suspect parameter number, failure mode and occurrence count packed in 32 bits.
QString j1939Code(quint32 code)
{
    const quint32 spn = (code & 0xFFFF) | ((code >> 5) & 0x70000);
    const quint32 fmi = (code >> 16) & 0x1F;
    const quint32 q = code >> 24;
    return QStringLiteral("SPN = %1  FMI = %2  Q = %3")
        .arg(spn)
        .arg(fmi)
        .arg(q > 126 ? QStringLiteral("----") : QString::number(q));
}

// VAG: codes 0x4000..0x4FFF carry an OBD code whose digits were stored as a decimal number.
QString vagCode(quint32 code, const ErrorCodeFlags &flags)
{
    if (code >= 0x4000 && code <= 0x4FFF) {
        const QString digits = QString::number(code & 0x3FF).rightJustified(3, QLatin1Char('0'));
        return obdCode(digits.toUInt(nullptr, 16));
    }
    if (code <= 0x3FFF)
        return flags.codeNumber == 1 ? QString::number(code) : QString();
    // Codes above 0x4FFF have no rule of their own; the number is better than nothing.
    return QString::number(code);
}

} // namespace

ErrorCodeFlags errorCodeFlags(const Record &s10)
{
    const int errorType = s10.u8(kErrorTypeOffset);
    return {errorType, errorType};
}

QString formatErrorCode(quint32 code, int format, const ErrorCodeFlags &flags)
{
    switch (format) {
    case 0: return obdCode(code);
    case 1: return hex4(code & 0x3FFF);
    case 2: return QString::number(code);
    case 3: return suffixedDecimal(code);
    case 4: return hex4(code) + (code < 256 || code > 4095 ? QStringLiteral("Sub") : QString());
    case 5: return j1939Code(code);
    case 7: return flags.codeStyle == 1 ? obdCode(code) : hex4(code & 0x3FFF);
    case 8: return vagCode(code, flags);
    case 9: return flags.codeStyle != 0 ? obdCode(code) : QString::number(code);
    default: return QString(); // 6, 1000 and anything unknown: no text
    }
}

} // namespace mk
