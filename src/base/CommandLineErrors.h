// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Russian text of a command line the parser refused, naming the argument as it was typed.

#include <QString>
#include <QStringList>

class QCommandLineParser;

namespace mk {

// After parser.parse(arguments) failed (arguments with the program first, or without it): an
// unknown option, an option without its value, or a flag given a value.
QString commandLineError(const QCommandLineParser &parser, const QStringList &arguments);

} // namespace mk
