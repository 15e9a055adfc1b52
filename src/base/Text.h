// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Text conversions shared by the image, the wire and the user interface.

#include <QByteArray>
#include <QString>
#include <optional>

namespace mk {

// Windows-1251, the single-byte encoding of every text the device stores or sends.
QByteArray toWin1251(const QString &text);
QString fromWin1251(const QByteArray &bytes);
// A zero-terminated Windows-1251 text stored in a fixed-size area.
QString fromWin1251Z(const QByteArray &area);
QByteArray toWin1251Z(const QString &text, int areaSize);
// The position of the first character the device cannot store in a text (one Windows-1251 has
// no byte for, or a control character), or -1 when every one fits; toWin1251 would turn such a
// character into '?'.
qsizetype firstUnstorableChar(const QString &text);
// Throws Error naming the first such character ("символ «☺» (U+263A) ...").
void checkStorableText(const QString &text);

// A count with its noun in the Russian plural form that fits it: "1 запись", "3 записи",
// "5 записей", "11 записей", "21 запись".
QString countedText(qint64 n, const char *one, const char *few, const char *many);

// A number in decimal with a leading "0" when it has one digit.
QString twoDigit(int value);

// Time of day as minutes since midnight <-> "hh:mm". A negative count has no time of day and
// shows as kInvalidTimeText.
inline const QString kInvalidTimeText = QStringLiteral("--:--");
QString minutesToText(qint64 minutes);
int textToMinutes(const QString &text);

// Date as a device day number (years counted from the base year 2000).
struct DayDate
{
    int year = 0; // years since the base year
    int month = 1;
    int day = 1;
    bool operator==(const DayDate &) const = default;
};
int dateToDayNumber(const DayDate &date);
// The day numbers of 01.01.00 and 31.12.99: nothing outside them has a dd.mm.yy form.
constexpr qint64 kFirstDayNumber = 2;
constexpr qint64 kLastDayNumber = 36525;
// Any stored value: a date between 01.01.00 and 31.12.99, or nothing.
std::optional<DayDate> dayNumberToDate(qint64 dayNumber);
// "dd.mm.yy", or kInvalidDateText for a day number outside those dates.
inline const QString kInvalidDateText = QStringLiteral("--.--.--");
QString dayNumberToText(qint64 dayNumber);

} // namespace mk
