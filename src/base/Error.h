// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one exception type of the core: carries the Russian text the user sees.

#include <QString>
#include <exception>
#include <string>

namespace mk {

class Error : public std::exception
{
public:
    explicit Error(QString text) : m_text(std::move(text)), m_utf8(m_text.toStdString()) {}
    const QString &text() const { return m_text; }
    const char *what() const noexcept override { return m_utf8.c_str(); }

private:
    QString m_text;
    std::string m_utf8;
};

// A value that does not fit the field or lookup it is meant for. The text names the value and the
// range it missed; the plain one only where the catcher reports the refusal in its own words.
class RangeError : public Error
{
public:
    RangeError() : Error(caption()) {}
    // "Ошибка проверки диапазона: номер протокола 300, допустимо от 0 до 255"
    RangeError(const QString &what, qint64 value, qint64 min, qint64 max)
        : Error(QStringLiteral("%1: %2 %3, допустимо от %4 до %5").arg(caption(), what).arg(value).arg(min).arg(max))
    {}
    static QString caption() { return QStringLiteral("Ошибка проверки диапазона"); }
};

} // namespace mk
