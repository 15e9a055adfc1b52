// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A second start of the program goes to the running copy: the second copy leaves a small request
// file beside the single-instance lock, holding the path of the settings file it was asked to
// open (a double-click on a file while the program runs) or nothing; the running copy takes it
// from there and comes to the front.

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

namespace mk {

// The request file for the program `name` whose lock lives in lockDir.
QString handOverRequestPath(const QString &lockDir, const QString &name);

// The second copy's side: leaves the absolute path of the file (an empty file: only come to the
// front); false when it could not.
bool handOverFile(const QString &requestPath, const QString &file);

// The running copy's side. A request is taken (read and removed) as soon as it appears and
// `busy` says no (a modal dialog or an exchange would otherwise see the settings change under
// it); while busy it waits. Requests older than `since` were meant for an earlier copy and are
// dropped. `open` gets the file's path, or an empty text for a start without a file.
class FileHandOverWatcher : public QObject
{
    Q_OBJECT
public:
    FileHandOverWatcher(const QString &requestPath, const QDateTime &since, std::function<bool()> busy,
                        std::function<void(const QString &)> open, QObject *parent = nullptr);

private:
    void check();

    QString m_path;
    QDateTime m_since;
    std::function<bool()> m_busy;
    std::function<void(const QString &)> m_open;
    QFileSystemWatcher m_watcher;
    QTimer m_retry;
};

} // namespace mk
