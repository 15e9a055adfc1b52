#include "base/FileIo.h"

#include "base/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

namespace mk {

QByteArray readWholeFile(const QString &path, qint64 maxSize)
{
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    if (!info.exists())
        throw Error(QStringLiteral("Файл \"%1\" не найден.").arg(shown));
    if (info.isDir())
        throw Error(QStringLiteral("\"%1\" - это папка, а не файл.").arg(shown));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Не могу открыть файл \"%1\" (нет прав на чтение или файл занят).").arg(shown));
    if (file.size() > maxSize)
        throw Error(QStringLiteral("Файл \"%1\" слишком велик (%2 байт).")
                        .arg(QDir::toNativeSeparators(path))
                        .arg(file.size()));
    QByteArray data = file.read(maxSize + 1);
    if (file.error() != QFileDevice::NoError)
        throw Error(
            QStringLiteral("Ошибка чтения файла \"%1\": %2").arg(QDir::toNativeSeparators(path), file.errorString()));
    if (data.size() > maxSize)
        throw Error(QStringLiteral("Файл \"%1\" слишком велик.").arg(QDir::toNativeSeparators(path)));
    return data;
}

namespace {

// What stands in the way of writing into dir before anything is tried; empty when nothing does.
QString folderProblem(const QString &dir)
{
    const QFileInfo folder(dir);
    if (!folder.exists())
        return QStringLiteral("папка не существует");
    const QStorageInfo storage(dir);
    if (storage.isValid() && storage.isReadOnly())
        return QStringLiteral("диск доступен только для чтения");
    if (!folder.isWritable())
        return QStringLiteral("нет прав на запись в папку");
    return {};
}

} // namespace

QString writeFailureReason(const QString &dir, qint64 size, const QString &fallback)
{
    const QString problem = folderProblem(dir);
    if (!problem.isEmpty())
        return problem;
    // Asked only once a write has failed: some file systems report no free space at all.
    const QStorageInfo storage(dir);
    if (storage.isValid() && storage.bytesAvailable() >= 0 && storage.bytesAvailable() < qMax<qint64>(size, 1))
        return QStringLiteral("на диске нет свободного места");
    return fallback;
}

namespace {

Error writeError(const QString &path, const QString &reason)
{
    return Error(QStringLiteral("Не могу записать файл \"%1\": %2. Прежний файл не изменён.")
                     .arg(QDir::toNativeSeparators(path), reason));
}

} // namespace

void checkFileWritable(const QString &path)
{
    const QFileInfo target(path);
    if (target.isDir())
        throw writeError(path, QStringLiteral("это папка, а не файл"));
    const QString reason = folderProblem(target.absolutePath());
    if (!reason.isEmpty())
        throw writeError(path, reason);
}

void writeFileAtomically(const QString &path, const QByteArray &data)
{
    checkFileWritable(path);
    QSaveFile file(path);
    const auto fail = [&] {
        QString reason;
        switch (file.error()) {
        case QFileDevice::RenameError: reason = QStringLiteral("не удалось заменить прежний файл"); break;
        default: reason = writeFailureReason(QFileInfo(path).absolutePath(), data.size(), file.errorString()); break;
        }
        throw writeError(path, reason);
    };
    if (!file.open(QIODevice::WriteOnly))
        fail();
    if (file.write(data) != data.size())
        fail();
    if (!file.commit())
        fail();
}

} // namespace mk
