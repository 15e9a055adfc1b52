// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The trace: what the layers did, one line each, through Qt's logging categories ("mk.link",
// "mk.exchange", "mk.files", "mk.history"). The categories stay off (a check of one flag before
// anything is formatted) until a trace is started; then every line of theirs goes to the trace's
// destination with the milliseconds since the trace started and its category:
//      412 ms mk.link      send 06 fc 01 00 01 fc
//      415 ms mk.link      recv 09 fc 01 00 01 01 01 00 0f  accepted after 3 ms
// QT_LOGGING_RULES still decides over single categories ("mk.files.debug=false").
//
//   TraceLog::toStream(stderr);                       // mktool --trace -
//   TraceLog::toRotatingFiles(userStateFolder(), ...) // mkconf: its recent exchanges

#include <QByteArray>
#include <QLoggingCategory>
#include <QString>
#include <cstdio>

namespace mk {

Q_DECLARE_LOGGING_CATEGORY(lcFiles)

// "06 fc 01 00 01 fc"
QByteArray hexBytes(const QByteArray &bytes);

// The folder of the program's state for this user: the trace lives there. Linux:
// $XDG_STATE_HOME/mkconf (~/.local/state/mkconf); Windows: %LOCALAPPDATA%\mkconf. Not made here.
QString userStateFolder();

// The trace file in a folder and its older rotations: the names they have there, newest first.
constexpr qint64 kTraceFileCap = 1024 * 1024; // bytes a trace file holds before it rotates
constexpr int kTraceFiles = 2;                // the file and its one older rotation
QString traceFileName(int rotation);          // "trace.log", "trace.1.log", ...

namespace TraceLog {

// Each starts the trace (replacing one already running) with a first line, header, when given.
// Lines go to an open stream (stderr), never closed here.
void toStream(std::FILE *stream, const QString &header = {});
// Lines go to the file at path, made anew (a file standing there is replaced, a folder or a
// device refused); throws Error when it cannot be opened.
void toFile(const QString &path, const QString &header = {});
// Lines go to traceFileName(0) in the folder; once it would pass cap bytes it becomes
// traceFileName(1) (the oldest dropped) and a new one begins: at most files × cap bytes in all.
// The folder must exist. Throws Error when the file cannot be opened.
void toRotatingFiles(const QString &folder, const QString &header = {}, qint64 cap = kTraceFileCap,
                     int files = kTraceFiles);
// Ends the trace: the categories go off and the destination is closed.
void stop();
bool running();

// The last maxBytes (whole lines) of the rotating trace in the folder, oldest first; empty when
// there is none.
QByteArray rotatingTail(const QString &folder, qint64 maxBytes, int files = kTraceFiles);

} // namespace TraceLog

} // namespace mk
