#pragma once
// Text conversions shared by the image, the wire and the user interface.

#include <QByteArray>
#include <QString>

namespace mk {

// Windows-1251, the single-byte encoding of every text the device stores or sends.
QByteArray toWin1251(const QString &text);
QString fromWin1251(const QByteArray &bytes);
// A zero-terminated Windows-1251 text stored in a fixed-size area.
QString fromWin1251Z(const QByteArray &area);
QByteArray toWin1251Z(const QString &text, int areaSize);

// A number in decimal with a leading "0" when it has one digit.
QString twoDigit(int value);

// Time of day as minutes since midnight <-> "hh:mm".
QString minutesToText(int minutes);
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
DayDate dayNumberToDate(int dayNumber);
// "dd.mm.yy"
QString dayNumberToText(int dayNumber);

} // namespace mk
