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
// Bytes go out exactly as they are (a picture, a settings file, a CSV file);
void writeStdout(const QByteArray &data);
// text goes out as UTF-8 with the system's line ends (textLineEnds).
void writeStdout(const QString &text);

// Writes to standard error: false when that failed (there is nowhere left to say so).
bool writeStderr(const QString &text);

// Whether the stream is a console window (Windows), where text goes as characters rather than
// bytes: the console's code page is not UTF-8. Never on Linux, whose terminals take UTF-8.
bool isConsole(std::FILE *stream);
// Writes text to such a console: 0, or the errno of the failure.
int writeConsole(std::FILE *stream, const QString &text);

// All of standard input, as bytes (no line-end translation); throws Error when it holds more
// than maxSize bytes or could not be read.
QByteArray readStdin(qint64 maxSize);
// Standard input as a byte stream: no line-end translation (a settings file on it).
void setStdinBinary();

// Standard output as a byte stream: no line-end translation (a picture or a settings file on it).
void setStdoutBinary();

// Text with the system's line ends: as it is on Linux; on Windows every line ends with CR LF,
// once, also where the text already has CR LF (a journal in the viewer's format).
QByteArray textLineEnds(const QByteArray &utf8);

} // namespace mk
