#include "image/SettingsFile.h"

#include "base/Error.h"
#include "base/FileIo.h"
#include "image/TMK.h"

#include <QDir>

namespace mk {

// The scramble table is generated once by a fixed rule and must never change: files written
// by earlier releases are read with it. Rule: a 32-bit xorshift generator (shifts 13, 17, 5)
// seeded with 0x4D4B3031 ("MK01"), stepped once per entry; entry i is the generator's top byte.
const std::array<quint8, kScrambleSize> &scrambleTable()
{
    static const std::array<quint8, kScrambleSize> table = [] {
        std::array<quint8, kScrambleSize> t{};
        quint32 x = 0x4D4B3031u;
        for (auto &entry : t) {
            x ^= x << 13;
            x ^= x >> 17;
            x ^= x << 5;
            entry = quint8(x >> 24);
        }
        return t;
    }();
    return table;
}

namespace {

QByteArray scramble(const QByteArray &data)
{
    const auto &t = scrambleTable();
    QByteArray out(data.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < data.size(); ++i)
        out[i] = char(quint8(data[i]) ^ t[size_t(i % kScrambleSize)]);
    return out;
}

} // namespace

QByteArray encodeSettingsFile(quint16 modelCode, const QByteArray &image)
{
    QByteArray file;
    file.reserve(image.size() + 2);
    file.append(char(modelCode & 0xFF));
    file.append(char(modelCode >> 8));
    file.append(scramble(image));
    return file;
}

SettingsFileContent decodeSettingsFile(const QByteArray &file)
{
    if (file.size() < 2)
        throw Error(QStringLiteral("Файл настроек слишком короткий (%1 байт).").arg(file.size()));
    if (file.size() > kMaxSettingsFileSize + 2)
        throw Error(QStringLiteral("Файл настроек слишком велик (%1 байт).").arg(file.size()));
    SettingsFileContent content;
    content.modelCode = quint16(quint8(file[0]) | (quint8(file[1]) << 8));
    content.image = scramble(file.mid(2));
    return content;
}

void saveSettingsFile(const TMK &model, const QString &path)
{
    writeFileAtomically(path, encodeSettingsFile(model.modelCode(), model.image()));
}

void loadSettingsFile(TMK &model, const QString &path)
{
    const SettingsFileContent content = decodeSettingsFile(readWholeFile(path, kMaxSettingsFileSize));
    model.replaceImage(content.modelCode, content.image);
}

} // namespace mk
