// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one exception type of the core: the Russian text the user sees, what kind of failure it
// is, and where it happened (port, request, block or file, attempt, the system's own code and
// words). Code tells failures apart by their kind, never by their text.

#include <QString>
#include <QStringList>
#include <exception>
#include <string>

namespace mk {

enum class ErrorKind {
    Other,         // not told apart from the rest
    NoLink,        // the device did not answer at all
    Timeout,       // the answer stopped in the middle (a pause inside a block)
    Refused,       // an answer came but was refused: checksum, shape, another request's answer
    DeviceBusy,    // the device answered that it is busy
    DeviceMissing, // no port holds the device, or no port is free
    PortBusy,      // another program holds the port
    PortDenied,    // the user may not open the port
    PortMissing,   // the port named is not on this system
    FileIo,        // a file or folder could not be read or written
    BadValue,      // a value, an option or settings that do not fit where they are meant to go
    Damaged,       // data that contradicts itself: a file, a section table, an unsteady read
    Cancelled,     // the user stopped it
};

// Where a failure happened; every field may stay empty.
struct ErrorContext
{
    QString port;            // the port as the user knows it: "COM7", "COM3 (/dev/ttyACM0)"
    QString command;         // the request: "0x02"
    QString place;           // the block, section or file: "блок 17", "секция 3", a path
    int attempt = 0;         // the attempt that failed last, counted from 1; 0 when not counted
    int errnoCode = 0;       // the C library's error number, 0 when none
    quint32 windowsCode = 0; // GetLastError's value on Windows, 0 when none
    QString systemMessage;   // the system's own words for the code
};

class Error : public std::exception
{
public:
    explicit Error(QString text) : Error(ErrorKind::Other, std::move(text)) {}
    Error(ErrorKind kind, QString text, ErrorContext context = {})
        : m_kind(kind), m_text(std::move(text)), m_context(std::move(context)), m_utf8(m_text.toStdString())
    {}
    // The message itself, as the device's and the program's texts give it word for word.
    const QString &text() const { return m_text; }
    ErrorKind kind() const { return m_kind; }
    const ErrorContext &context() const { return m_context; }
    // Filled in by the layers that know more as the error passes them (catch by reference,
    // add, rethrow).
    ErrorContext &context() { return m_context; }
    const char *what() const noexcept override { return m_utf8.c_str(); }
    // The same failure told in other words (wrapped into a caller's sentence): kind and context stay.
    Error withText(QString text) const { return Error(m_kind, std::move(text), m_context); }

    // Every fact of the context, one Russian line each ("Порт: COM7", "Попытка: 3", ...).
    QStringList contextLines() const
    {
        QStringList lines;
        if (!m_context.port.isEmpty())
            lines << QStringLiteral("Порт: %1").arg(m_context.port);
        if (!m_context.command.isEmpty())
            lines << QStringLiteral("Запрос: %1").arg(m_context.command);
        if (!m_context.place.isEmpty())
            lines << QStringLiteral("Где: %1").arg(m_context.place);
        if (m_context.attempt > 0)
            lines << QStringLiteral("Попытка: %1").arg(m_context.attempt);
        if (const QString code = systemCodeLine(); !code.isEmpty())
            lines << code;
        return lines;
    }

    // "Код ошибки Windows: 5 (Отказано в доступе.)", "Код ошибки: 28 (No space left on device)",
    // or "" when the system gave no code.
    QString systemCodeLine() const
    {
        const QString words =
            m_context.systemMessage.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(m_context.systemMessage);
        if (m_context.windowsCode != 0)
            return QStringLiteral("Код ошибки Windows: %1%2").arg(m_context.windowsCode).arg(words);
        if (m_context.errnoCode != 0)
            return QStringLiteral("Код ошибки: %1%2").arg(m_context.errnoCode).arg(words);
        return {};
    }

    // What an error box and a command line show: the text, then the port when the text does not
    // already name it, and the Windows error code with the system's words.
    QString shownText() const
    {
        QStringList lines;
        if (!m_context.port.isEmpty() && !m_text.contains(m_context.port))
            lines << QStringLiteral("Порт: %1").arg(m_context.port);
        if (m_context.windowsCode != 0)
            lines << systemCodeLine();
        return lines.isEmpty() ? m_text : m_text + QStringLiteral("\n\n") + lines.join(QLatin1Char('\n'));
    }

private:
    ErrorKind m_kind;
    QString m_text;
    ErrorContext m_context;
    std::string m_utf8;
};

// The kind's name for logs and reports: "no-link", "port-denied", ... (stable, never translated).
inline QString errorKindName(ErrorKind kind)
{
    switch (kind) {
    case ErrorKind::Other: return QStringLiteral("other");
    case ErrorKind::NoLink: return QStringLiteral("no-link");
    case ErrorKind::Timeout: return QStringLiteral("timeout");
    case ErrorKind::Refused: return QStringLiteral("refused");
    case ErrorKind::DeviceBusy: return QStringLiteral("device-busy");
    case ErrorKind::DeviceMissing: return QStringLiteral("device-missing");
    case ErrorKind::PortBusy: return QStringLiteral("port-busy");
    case ErrorKind::PortDenied: return QStringLiteral("port-denied");
    case ErrorKind::PortMissing: return QStringLiteral("port-missing");
    case ErrorKind::FileIo: return QStringLiteral("file-io");
    case ErrorKind::BadValue: return QStringLiteral("bad-value");
    case ErrorKind::Damaged: return QStringLiteral("damaged");
    case ErrorKind::Cancelled: return QStringLiteral("cancelled");
    }
    return QStringLiteral("other");
}

// A value that does not fit the field or lookup it is meant for. The text names the value and the
// range it missed; the plain one only where the catcher reports the refusal in its own words.
class RangeError : public Error
{
public:
    RangeError() : Error(ErrorKind::BadValue, caption()) {}
    // "Ошибка проверки диапазона: номер протокола 300, допустимо от 0 до 255"
    RangeError(const QString &what, qint64 value, qint64 min, qint64 max)
        : Error(ErrorKind::BadValue,
                QStringLiteral("%1: %2 %3, допустимо от %4 до %5").arg(caption(), what).arg(value).arg(min).arg(max))
    {}
    static QString caption() { return QStringLiteral("Ошибка проверки диапазона"); }
};

} // namespace mk
