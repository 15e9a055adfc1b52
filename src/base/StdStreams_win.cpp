// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/StdStreams.h"

#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace mk {

namespace {

HANDLE handleOf(std::FILE *stream) { return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream))); }

} // namespace

bool isConsole(std::FILE *stream)
{
    DWORD mode = 0;
    const HANDLE h = handleOf(stream);
    return h != INVALID_HANDLE_VALUE && GetConsoleMode(h, &mode);
}

int writeConsole(std::FILE *stream, const QString &text)
{
    std::fflush(stream);
    const HANDLE h = handleOf(stream);
    for (qsizetype done = 0; done < text.size();) {
        DWORD written = 0;
        const DWORD chunk = DWORD(qMin<qsizetype>(text.size() - done, 8192));
        if (!WriteConsoleW(h, text.utf16() + done, chunk, &written, nullptr) || written == 0)
            return EIO;
        done += written;
    }
    return 0;
}

void setStdinBinary() { (void)_setmode(_fileno(stdin), _O_BINARY); }

void setStdoutBinary()
{
    std::fflush(stdout);
    (void)_setmode(_fileno(stdout), _O_BINARY);
}

// Done here rather than by the C runtime's text mode, which would make a CR LF already in the
// text CR CR LF.
QByteArray textLineEnds(const QByteArray &utf8)
{
    QByteArray out;
    out.reserve(utf8.size() + utf8.count('\n'));
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\n' && (i == 0 || utf8[i - 1] != '\r'))
            out += '\r';
        out += utf8[i];
    }
    return out;
}

} // namespace mk
