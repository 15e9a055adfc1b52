#include "model/FileIo.h"

#include "model/Error.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace mk {

QByteArray readWholeFile(const QString &path, qint64 maxSize)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Не могу открыть файл \"%1\": %2").arg(QDir::toNativeSeparators(path), file.errorString()));
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
        throw Error(QStringLiteral("Ошибка записи файла \"%1\": %2").arg(QDir::toNativeSeparators(path), file.errorString()));
    };
    if (!file.open(QIODevice::WriteOnly))
        fail();
    if (file.write(data) != data.size())
        fail();
    if (!file.commit())
        fail();
}

} // namespace mk
