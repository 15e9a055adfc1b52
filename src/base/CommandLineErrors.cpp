// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/CommandLineErrors.h"

#include <QCommandLineParser>

namespace mk {

namespace {

QString nameOf(const QString &argument)
{
    QString name = argument.section(QLatin1Char('='), 0, 0);
    while (name.startsWith(QLatin1Char('-')))
        name.remove(0, 1);
    return name;
}

} // namespace

QString commandLineError(const QCommandLineParser &parser, const QStringList &arguments)
{
    const qsizetype end = arguments.contains(QStringLiteral("--")) ? arguments.indexOf(QStringLiteral("--"))
                                                                   : arguments.size();
    const QStringList options = arguments.mid(0, end);
    if (const QStringList unknown = parser.unknownOptionNames(); !unknown.isEmpty()) {
        for (const QString &arg : options)
            if (arg.startsWith(QLatin1Char('-')) && nameOf(arg) == unknown.first())
                return QStringLiteral("неизвестный параметр «%1»").arg(arg.section(QLatin1Char('='), 0, 0));
        return QStringLiteral("неизвестный параметр «%1»").arg(unknown.first());
    }
    // Otherwise an option that takes a value came last, or a flag was given one ("--json=1").
    if (!options.isEmpty() && options.last().startsWith(QLatin1Char('-')) && !options.last().contains(QLatin1Char('=')))
        return QStringLiteral("после «%1» нужно значение").arg(options.last());
    for (const QString &arg : options)
        if (arg.startsWith(QLatin1Char('-')) && arg.contains(QLatin1Char('=')))
            return QStringLiteral("параметр «%1» не принимает значения").arg(arg.section(QLatin1Char('='), 0, 0));
    return QStringLiteral("неверная командная строка");
}

} // namespace mk
