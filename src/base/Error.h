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

// A value that does not fit the field or lookup it is meant for.
class RangeError : public Error
{
public:
    RangeError() : Error(QStringLiteral("Ошибка проверки диапазона")) {}
};

} // namespace mk
