// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/Backup.h"

#include "base/Error.h"
#include "base/FileIo.h"
#include "base/TraceLog.h"
#include "image/SettingsFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace mk {

QString defaultBackupDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/mkconf/backups");
}

QString saveBackup(const QString &dir, quint16 modelCode, const QByteArray &image, const QDateTime &when)
{
    const auto fail = [&dir](const QString &why, const Error &cause = Error(ErrorKind::FileIo, QString())) {
        return cause.withText(QStringLiteral("Не удалось сохранить резервную копию памяти МК в папке %1: %2")
                                  .arg(QDir::toNativeSeparators(dir), why));
    };
    // A new folder is made for this user alone; an existing one must not let others plant files.
    if (!QFileInfo::exists(dir)) {
        QString why;
        if (ensurePrivateFolder(dir, &why).isEmpty())
            throw fail(why);
    }
    try {
        checkFolderNotShared(dir);
    } catch (const Error &e) {
        throw fail(e.text(), e);
    }
    const QString stem =
        QStringLiteral("mk-%1-%2").arg(when.toString(kBackupTimeFormat)).arg(modelCode, 4, 16, QLatin1Char('0'));
    try {
        const QString path = writeNewFile(
            dir,
            [&stem](int n) {
                return n == 1 ? stem + QStringLiteral(".tcset") : stem + QStringLiteral("-%1.tcset").arg(n);
            },
            encodeSettingsFile(modelCode, image));
        qCDebug(lcFiles).noquote() << QStringLiteral("backup saved: %1").arg(QDir::toNativeSeparators(path));
        return path;
    } catch (const Error &e) {
        qCDebug(lcFiles).noquote()
            << QStringLiteral("backup failed in %1: %2").arg(QDir::toNativeSeparators(dir), e.text());
        throw fail(e.text(), e);
    }
}

} // namespace mk
