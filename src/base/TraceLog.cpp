// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/TraceLog.h"

#include "base/Error.h"
#include "base/FileIo.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <memory>

namespace mk {

Q_LOGGING_CATEGORY(lcFiles, "mk.files", QtWarningMsg)

QByteArray hexBytes(const QByteArray &bytes) { return bytes.toHex(' '); }

QString traceFileName(int rotation)
{
    return rotation == 0 ? QStringLiteral("trace.log") : QStringLiteral("trace.%1.log").arg(rotation);
}

namespace {

// Where the lines go.
class Sink
{
public:
    virtual ~Sink() = default;
    virtual void write(const QByteArray &line) = 0;
};

class StreamSink : public Sink
{
public:
    explicit StreamSink(std::FILE *stream) : m_stream(stream) {}
    void write(const QByteArray &line) override
    {
        std::fwrite(line.constData(), 1, size_t(line.size()), m_stream);
        std::fflush(m_stream);
    }

private:
    std::FILE *m_stream;
};

// One file; each line reaches the system at once, so a trace outlives a crash of the program.
class FileSink : public Sink
{
public:
    explicit FileSink(const QString &path) : m_file(path)
    {
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
            throw Error(QStringLiteral("Не удалось открыть файл трассировки %1: %2")
                            .arg(QDir::toNativeSeparators(path), m_file.errorString()));
    }
    void write(const QByteArray &line) override { m_file.write(line); }

private:
    QFile m_file;
};

class RotatingSink : public Sink
{
public:
    RotatingSink(const QString &folder, qint64 cap, int files) : m_dir(folder), m_cap(cap), m_files(qMax(1, files))
    {
        m_file.setFileName(m_dir.filePath(traceFileName(0)));
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
            throw Error(QStringLiteral("Не удалось открыть файл трассировки %1: %2")
                            .arg(QDir::toNativeSeparators(m_file.fileName()), m_file.errorString()));
        m_size = m_file.size();
    }
    void write(const QByteArray &line) override
    {
        if (m_size > 0 && m_size + line.size() > m_cap)
            rotate();
        if (!m_file.isOpen())
            return;
        // A line longer than the cap is cut: no file ever passes it.
        const QByteArray part = line.size() > m_cap ? line.left(m_cap - 1) + '\n' : line;
        if (m_file.write(part) == part.size())
            m_size += part.size();
    }

private:
    void rotate()
    {
        m_file.close();
        QFile::remove(m_dir.filePath(traceFileName(m_files - 1)));
        for (int k = m_files - 1; k > 0; --k)
            QFile::rename(m_dir.filePath(traceFileName(k - 1)), m_dir.filePath(traceFileName(k)));
        // With one file only, the full one was removed above.
        m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
        m_size = 0;
    }

    QDir m_dir;
    QFile m_file;
    qint64 m_cap;
    int m_files;
    qint64 m_size = 0;
};

struct TraceState
{
    QMutex mutex;
    std::unique_ptr<Sink> sink;
    QElapsedTimer started;
    QtMessageHandler previous = nullptr;
    bool installed = false;
};

TraceState &state()
{
    static TraceState s;
    return s;
}

bool isTraceCategory(const char *category) { return category && qstrncmp(category, "mk.", 3) == 0; }

void traceHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    TraceState &s = state();
    if (isTraceCategory(context.category)) {
        QMutexLocker lock(&s.mutex);
        if (s.sink) {
            const QByteArray line = QByteArray::number(s.started.elapsed()).rightJustified(8) + " ms " +
                                    QByteArray(context.category).leftJustified(12) + message.toUtf8() + '\n';
            s.sink->write(line);
            return;
        }
    }
    if (s.previous)
        s.previous(type, context, message);
}

void start(std::unique_ptr<Sink> sink, const QString &header)
{
    TraceState &s = state();
    {
        QMutexLocker lock(&s.mutex);
        s.sink = std::move(sink);
        s.started.start();
        if (!s.installed) {
            s.previous = qInstallMessageHandler(traceHandler);
            s.installed = true;
        }
        if (!header.isEmpty())
            s.sink->write(header.toUtf8() + '\n');
    }
    QLoggingCategory::setFilterRules(QStringLiteral("mk.*.debug=true"));
}

} // namespace

namespace TraceLog {

void toStream(std::FILE *stream, const QString &header) { start(std::make_unique<StreamSink>(stream), header); }

void toFile(const QString &path, const QString &header)
{
    checkFileWritable(path);
    start(std::make_unique<FileSink>(path), header);
}

void toRotatingFiles(const QString &folder, const QString &header, qint64 cap, int files)
{
    start(std::make_unique<RotatingSink>(folder, cap, files), header);
}

void stop()
{
    QLoggingCategory::setFilterRules(QStringLiteral("mk.*.debug=false"));
    TraceState &s = state();
    QMutexLocker lock(&s.mutex);
    s.sink.reset();
}

bool running()
{
    TraceState &s = state();
    QMutexLocker lock(&s.mutex);
    return s.sink != nullptr;
}

QByteArray rotatingTail(const QString &folder, qint64 maxBytes, int files)
{
    const QDir dir(folder);
    QByteArray all;
    for (int k = files - 1; k >= 0; --k) {
        const QString path = dir.filePath(traceFileName(k));
        if (!QFileInfo(path).isFile())
            continue;
        try {
            all += readOwnFile(path, 64 * kTraceFileCap);
        } catch (const Error &) {
            // A file that is not the user's own is no part of their trace.
        }
    }
    if (all.size() > maxBytes) {
        all = all.right(maxBytes);
        const qsizetype lineStart = all.indexOf('\n');
        all = lineStart >= 0 ? all.mid(lineStart + 1) : QByteArray();
    }
    return all;
}

} // namespace TraceLog

} // namespace mk
