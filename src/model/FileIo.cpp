#include "model/FileIo.h"

#include "model/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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
        throw Error(QStringLiteral("Файл \"%1\" слишком велик (%2 байт).").arg(QDir::toNativeSeparators(path)).arg(file.size()));
    QByteArray data = file.read(maxSize + 1);
    if (file.error() != QFileDevice::NoError)
        throw Error(QStringLiteral("Ошибка чтения файла \"%1\": %2").arg(QDir::toNativeSeparators(path), file.errorString()));
    if (data.size() > maxSize)
        throw Error(QStringLiteral("Файл \"%1\" слишком велик.").arg(QDir::toNativeSeparators(path)));
    return data;
}

void writeFileAtomically(const QString &path, const QByteArray &data)
{
    QSaveFile file(path);
    const auto fail = [&] {
        QString reason;
        switch (file.error()) {
        case QFileDevice::OpenError:
        case QFileDevice::PermissionsError:
            reason = QStringLiteral("нет прав на запись или папка не существует");
            break;
        case QFileDevice::RenameError:
            reason = QStringLiteral("не удалось заменить прежний файл");
            break;
        default:
            reason = QStringLiteral("ошибка записи, возможно, диск заполнен");
            break;
        }
        throw Error(QStringLiteral("Не могу записать файл \"%1\": %2. Прежний файл не изменён.")
                        .arg(QDir::toNativeSeparators(path), reason));
    };
    if (!file.open(QIODevice::WriteOnly))
        fail();
    if (file.write(data) != data.size())
        fail();
    if (!file.commit())
        fail();
}

} // namespace mk
