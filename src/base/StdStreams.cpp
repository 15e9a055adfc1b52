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

namespace {

Error stdoutError(int error)
{
    return Error(QStringLiteral("Не удалось вывести результат в стандартный вывод: %1.").arg(fileErrorReason(error)));
}

} // namespace

QByteArray readStdin(qint64 maxSize)
{
    setStdinBinary();
    QByteArray data;
    char chunk[65536];
    for (;;) {
        errno = 0;
        const size_t got = std::fread(chunk, 1, sizeof chunk, stdin);
        data.append(chunk, qsizetype(got));
        if (data.size() > maxSize)
            throw Error(ErrorKind::FileIo, QStringLiteral("На стандартном вводе больше %1 байт.").arg(maxSize));
        if (got < sizeof chunk)
            break;
    }
    if (std::ferror(stdin))
        throw Error(
            ErrorKind::FileIo,
            QStringLiteral("Не удалось прочитать стандартный ввод: %1.").arg(fileErrorReason(errno ? errno : EIO)));
    return data;
}

void writeStdout(const QByteArray &data)
{
    setStdoutBinary();
    if (const int error = writeStream(stdout, data))
        throw stdoutError(error);
}

void writeStdout(const QString &text)
{
    if (!isConsole(stdout))
        return writeStdout(textLineEnds(text.toUtf8()));
    if (const int error = writeConsole(stdout, text))
        throw stdoutError(error);
}

bool writeStderr(const QString &text)
{
    return isConsole(stderr) ? writeConsole(stderr, text) == 0 : writeStream(stderr, text.toUtf8()) == 0;
}

} // namespace mk
