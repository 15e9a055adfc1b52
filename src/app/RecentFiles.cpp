// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RecentFiles.h"

#include "widgets/IniFile.h"

#include <QFileInfo>

namespace mk {

namespace {

const QString kSection = QStringLiteral("RecentFiles");

QString key(int i) { return QStringLiteral("%1/File%2").arg(kSection).arg(i + 1); }

bool sameFile(const QString &a, const QString &b)
{
    const QFileInfo fa(a), fb(b);
    // Both present: the file system decides (case, links); otherwise the absolute paths.
    if (fa.exists() && fb.exists())
        return fa == fb;
    return fa.absoluteFilePath() == fb.absoluteFilePath();
}

} // namespace

QStringList RecentFiles::stored() const
{
    if (m_iniPath.isEmpty())
        return {};
    const IniFile ini(m_iniPath);
    QStringList files;
    for (int i = 0; i < kMaxFiles; ++i) {
        const QString path = ini.settings().value(key(i)).toString();
        if (!path.isEmpty())
            files << path;
    }
    return files;
}

void RecentFiles::store(const QStringList &files) const
{
    if (m_iniPath.isEmpty())
        return;
    IniFile ini(m_iniPath);
    for (int i = 0; i < kMaxFiles; ++i) {
        if (i < files.size())
            ini.settings().setValue(key(i), files.at(i));
        else
            ini.settings().remove(key(i));
    }
}

QStringList RecentFiles::files() const
{
    const QStringList all = stored();
    QStringList present;
    for (const QString &path : all)
        if (QFileInfo(path).isFile())
            present << path;
    if (present.size() != all.size())
        store(present);
    return present;
}

void RecentFiles::add(const QString &path) const
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList files = stored();
    files.removeIf([&](const QString &f) { return sameFile(f, absolute); });
    files.prepend(absolute);
    while (files.size() > kMaxFiles)
        files.removeLast();
    store(files);
}

void RecentFiles::remove(const QString &path) const
{
    QStringList files = stored();
    if (files.removeIf([&](const QString &f) { return sameFile(f, path); }) > 0)
        store(files);
}

} // namespace mk
