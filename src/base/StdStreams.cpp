// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/StdStreams.h"

#include "base/Error.h"
#include "base/FileIo.h"

#include <cerrno>

namespace mk {

int writeStream(std::FILE *stream, const QByteArray &data)
{
    errno = 0;
    if (!data.isEmpty() && std::fwrite(data.constData(), 1, size_t(data.size()), stream) != size_t(data.size()))
        return errno ? errno : EIO;
    if (std::fflush(stream) != 0 || std::ferror(stream))
        return errno ? errno : EIO;
    return 0;
}

void writeStdout(const QByteArray &data)
{
    setStdoutBinary();
    if (const int error = writeStream(stdout, data))
        throw Error(QStringLiteral("Не удалось вывести результат в стандартный вывод: %1.").arg(fileErrorReason(error)));
}

void writeStdout(const QString &text) { writeStdout(textLineEnds(text.toUtf8())); }

bool writeStderr(const QString &text) { return writeStream(stderr, text.toUtf8()) == 0; }

} // namespace mk
