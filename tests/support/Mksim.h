// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs build/bin/mksim for a test: starts it, reads the terminal's path, stops it with SIGTERM.

#include <QProcess>
#include <QString>
#include <QStringList>

namespace mk::test {

class MksimProcess
{
public:
    explicit MksimProcess(const QStringList &args);
    ~MksimProcess();

    // Empty when mksim did not start; error() then says why.
    const QString &path() const { return m_path; }
    const QString &error() const { return m_error; }
    // Sends SIGTERM and waits; returns the exit code (-1 when it did not end normally).
    int stop();
    QString standardError();

private:
    QProcess m_process;
    QString m_path;
    QString m_error;
};

QString mksimPath();
QString mktoolPath();

} // namespace mk::test
