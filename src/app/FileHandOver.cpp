// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FileHandOver.h"

#include "base/FileIo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>

namespace mk {

namespace {

// A path is short; anything bigger is not a request.
constexpr qint64 kMaxRequestSize = 64 * 1024;

} // namespace

QString handOverRequestPath(const QString &lockDir, const QString &name)
{
    return QDir(lockDir).filePath(name + QStringLiteral(".open"));
}

bool handOverFile(const QString &requestPath, const QString &file)
{
    if (requestPath.isEmpty())
        return false;
    try {
        writeFileAtomically(requestPath, file.isEmpty() ? QByteArray() : QFileInfo(file).absoluteFilePath().toUtf8());
        return true;
    } catch (...) {
        return false;
    }
}

FileHandOverWatcher::FileHandOverWatcher(const QString &requestPath, const QDateTime &since, std::function<bool()> busy,
                                         std::function<void(const QString &)> open, QObject *parent)
    : QObject(parent), m_path(requestPath), m_since(since), m_busy(std::move(busy)), m_open(std::move(open))
{
    if (m_path.isEmpty())
        return; // no private folder: no hand-over
    // The folder is watched, since the request file comes and goes (it is renamed into place).
    m_watcher.addPath(QFileInfo(m_path).absolutePath());
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &FileHandOverWatcher::check);
    m_retry.setInterval(300);
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &FileHandOverWatcher::check);
    // A request left between this copy's start and the watch.
    QTimer::singleShot(0, this, &FileHandOverWatcher::check);
}

void FileHandOverWatcher::check()
{
    const QFileInfo request(m_path);
    if (!request.exists() && !request.isSymLink())
        return;
    if (request.lastModified() < m_since) {
        QFile::remove(m_path);
        return;
    }
    if (m_busy && m_busy()) {
        m_retry.start();
        return;
    }
    // Only a regular file of this user, never through a link, is a request.
    std::optional<QByteArray> text;
    try {
        text = readOwnFile(m_path, kMaxRequestSize);
    } catch (...) {
    }
    QFile::remove(m_path);
    if (text)
        m_open(QString::fromUtf8(*text).trimmed());
}

} // namespace mk
