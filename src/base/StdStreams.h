// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's standard output and error, every write checked: a full disk or a closed pipe
// behind them is a failure the program reports, never silently lost output.

#include <QByteArray>
#include <QString>
#include <cstdio>

namespace mk {

// Writes all of data to the stream and flushes it: 0, or the errno of the failed step.
int writeStream(std::FILE *stream, const QByteArray &data);

// Writes to standard output; throws Error naming the reason when the output did not take it all.
void writeStdout(const QByteArray &data);
void writeStdout(const QString &text); // as UTF-8

// Writes to standard error: false when that failed (there is nowhere left to say so).
bool writeStderr(const QString &text);

// Standard output as a byte stream: no line-end translation (a picture or a settings file on it).
void setStdoutBinary();

} // namespace mk
