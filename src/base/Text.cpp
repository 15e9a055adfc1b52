// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Text.h"

#include "base/Error.h"

#include <algorithm>
#include <array>

namespace mk {

namespace {

// Unicode code points of the Windows-1251 bytes 0x80..0xFF (0x98 is unassigned).
constexpr std::array<char16_t, 128> kUpperHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0xFFFD, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, 0x0410,
    0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D,
    0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A,
    0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444,
    0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

const int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

bool isLeap(int year) { return (year & 3) == 0; }
int monthLength(int year, int month) { return month == 2 && isLeap(year) ? 29 : kMonthDays[month - 1]; }

} // namespace

QByteArray toWin1251(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c < 0x80) {
            out.append(char(c));
            continue;
        }
        char byte = '?';
        for (int i = 0; i < 128; ++i) {
            if (kUpperHalf[size_t(i)] == c && c != 0xFFFD) {
                byte = char(0x80 + i);
                break;
            }
        }
        out.append(byte);
    }
    return out;
}

QString fromWin1251(const QByteArray &bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char b : bytes) {
        const auto u = uchar(b);
        out.append(u < 0x80 ? QChar(u) : QChar(kUpperHalf[u - 0x80]));
    }
    return out;
}

QString fromWin1251Z(const QByteArray &area)
{
    const qsizetype end = area.indexOf('\0');
    return fromWin1251(end < 0 ? area : area.left(end));
}

QByteArray toWin1251Z(const QString &text, int areaSize)
{
    QByteArray out = toWin1251(text).left(qMax(0, areaSize - 1));
    out.append(QByteArray(areaSize - int(out.size()), '\0'));
    return out;
}

namespace {

bool isControl(char16_t c) { return c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0); }

bool hasByte(char16_t c)
{
    if (c < 0x80)
        return true;
    return c != 0xFFFD && std::find(kUpperHalf.begin(), kUpperHalf.end(), c) != kUpperHalf.end();
}

} // namespace

qsizetype firstUnstorableChar(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (isControl(c) || !hasByte(c))
            return i;
    }
    return -1;
}

void checkStorableText(const QString &text)
{
    const qsizetype at = firstUnstorableChar(text);
    if (at < 0)
        return;
    // A character outside the 16-bit range is a surrogate pair: named whole.
    const bool pair = text.at(at).isHighSurrogate() && at + 1 < text.size() && text.at(at + 1).isLowSurrogate();
    const char32_t code = pair ? QChar::surrogateToUcs4(text.at(at), text.at(at + 1)) : char32_t(text.at(at).unicode());
    const QString number = QStringLiteral("U+") + QString::number(uint(code), 16).toUpper().rightJustified(4, u'0');
    if (isControl(text.at(at).unicode()))
        throw Error(ErrorKind::BadValue,
                    QStringLiteral("Управляющий символ %1 (позиция %2) в тексте недопустим.").arg(number).arg(at + 1));
    throw Error(ErrorKind::BadValue,
                QStringLiteral("Символ «%1» (%2, позиция %3) нельзя сохранить в МК: его нет в кодировке Windows-1251.")
                    .arg(text.mid(at, pair ? 2 : 1), number)
                    .arg(at + 1));
}

QString countedText(qint64 n, const char *one, const char *few, const char *many)
{
    const qint64 tens = n % 100, ones = n % 10;
    const char *word = (tens >= 11 && tens <= 14) ? many : ones == 1 ? one : (ones >= 2 && ones <= 4) ? few : many;
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(word));
}

QString twoDigit(int value)
{
    return value >= 0 && value < 10 ? QStringLiteral("0") + QString::number(value) : QString::number(value);
}

QString minutesToText(qint64 minutes)
{
    if (minutes < 0)
        return kInvalidTimeText;
    return twoDigit(int(minutes / 60 % 24)) + QLatin1Char(':') + twoDigit(int(minutes % 60));
}

int textToMinutes(const QString &text)
{
    if (text.size() < 5 || text.at(2) != QLatin1Char(':'))
        return 0;
    return text.mid(0, 2).trimmed().toInt() * 60 + text.mid(3, 2).trimmed().toInt();
}

int dateToDayNumber(const DayDate &date)
{
    int n = date.year * 365 + (date.year > 0 ? (date.year - 1) / 4 : 0);
    for (int m = 1; m < date.month && m <= 12; ++m)
        n += monthLength(date.year, m);
    return n + date.day + 1;
}

// Bounded for every input: the range check comes first, and the year estimate is off by at
// most one, so no loop depends on the stored value.
std::optional<DayDate> dayNumberToDate(qint64 dayNumber)
{
    if (dayNumber < kFirstDayNumber || dayNumber > kLastDayNumber)
        return std::nullopt;
    DayDate d;
    d.year = int(qMax<qint64>(0, (dayNumber - 1) * 4 / 1461));
    if (d.year > 0 && dateToDayNumber({d.year, 1, 1}) > dayNumber)
        --d.year;
    if (d.year < 99 && dateToDayNumber({d.year + 1, 1, 1}) <= dayNumber)
        ++d.year;
    int rest = int(dayNumber) - dateToDayNumber({d.year, 1, 1});
    d.month = 1;
    while (d.month < 12 && rest >= monthLength(d.year, d.month)) {
        rest -= monthLength(d.year, d.month);
        ++d.month;
    }
    d.day = 1 + rest;
    return d;
}

QString dayNumberToText(qint64 dayNumber)
{
    const std::optional<DayDate> d = dayNumberToDate(dayNumber);
    if (!d)
        return kInvalidDateText;
    return twoDigit(d->day) + QLatin1Char('.') + twoDigit(d->month) + QLatin1Char('.') + twoDigit(d->year % 100);
}

} // namespace mk
