// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/StdStreams.h"

#include <fcntl.h>
#include <io.h>

namespace mk {

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
