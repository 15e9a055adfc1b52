#include "link/Backup.h"

#include "base/Error.h"
#include "base/FileIo.h"
#include "image/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryFile>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace mk {

QString defaultBackupDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/mkconf/backups");
}

QString saveBackup(const QString &dir, quint16 modelCode, const QByteArray &image, const QDateTime &when)
{
    const auto fail = [&dir](const QString &why) {
        return Error(QStringLiteral("Не удалось сохранить резервную копию памяти МК в папке %1: %2").arg(dir, why));
    };
    if (!QDir().mkpath(dir))
        throw fail(QStringLiteral("папку нельзя создать"));
    QTemporaryFile temp(dir + QStringLiteral("/.backup-XXXXXX"));
    const QByteArray data = encodeSettingsFile(modelCode, image);
    if (!temp.open() || temp.write(data) != data.size() || !temp.flush())
        throw fail(writeFailureReason(dir, data.size(), temp.errorString()));
#ifdef Q_OS_UNIX
    ::fsync(temp.handle());
#endif
    temp.close();
    const QString stem = QStringLiteral("%1/mk-%2-%3")
                             .arg(dir, when.toString(kBackupTimeFormat))
                             .arg(modelCode, 4, 16, QLatin1Char('0'));
    for (int n = 1; n < 1000; ++n) {
        const QString path = n == 1 ? stem + QStringLiteral(".tcset") : stem + QStringLiteral("-%1.tcset").arg(n);
        // A rename never replaces an existing file here: a taken name means the next number.
        if (QFile::exists(path))
            continue;
        if (QFile::rename(temp.fileName(), path)) {
            temp.setAutoRemove(false);
            return path;
        }
    }
    throw fail(QStringLiteral("нет свободного имени файла"));
}

} // namespace mk
