// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings files last opened or saved, newest first, at most eight, kept in the ini file
// (section "RecentFiles", keys "File1".."File8"); a file no longer on the disk leaves the list
// when the list is read.

#include <QString>
#include <QStringList>

namespace mk {

class RecentFiles
{
public:
    static constexpr int kMaxFiles = 8;

    explicit RecentFiles(QString iniPath) : m_iniPath(std::move(iniPath)) {}

    // The files still present, newest first; the ini file forgets the others.
    QStringList files() const;
    // `path` goes to the top (once: an earlier place of the same file is dropped).
    void add(const QString &path) const;
    void remove(const QString &path) const;

private:
    QStringList stored() const;
    void store(const QStringList &files) const;

    QString m_iniPath;
};

} // namespace mk
