// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/SettingsFile.h"

#include "base/Error.h"
#include "base/FileIo.h"
#include "base/TraceLog.h"
#include "image/ImageLayout.h"
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
        throw Error(ErrorKind::Damaged, QStringLiteral("Файл настроек слишком короткий (%1 байт).").arg(file.size()));
    if (file.size() > kMaxSettingsFileSize + 2)
        throw Error(ErrorKind::Damaged, QStringLiteral("Файл настроек слишком велик (%1 байт).").arg(file.size()));
    SettingsFileContent content;
    content.modelCode = quint16(quint8(file[0]) | (quint8(file[1]) << 8));
    content.image = scramble(file.mid(2));
    return content;
}

void saveSettingsFile(const TMK &model, const QString &path)
{
    writeFileAtomically(path, encodeSettingsFile(model.modelCode(), model.image()));
    qCDebug(lcFiles).noquote() << QStringLiteral("settings saved: %1, model 0x%2, image %3 bytes")
                                      .arg(QDir::toNativeSeparators(path))
                                      .arg(model.modelCode(), 4, 16, QLatin1Char('0'))
                                      .arg(model.image().size());
}

void loadSettingsFile(TMK &model, const QString &path)
{
    const SettingsFileContent content = decodeSettingsFile(readWholeFile(path, kMaxSettingsFileSize));
    model.replaceImage(content.modelCode, content.image);
    qCDebug(lcFiles).noquote() << QStringLiteral("settings loaded: %1, model 0x%2, image %3 bytes")
                                      .arg(QDir::toNativeSeparators(path))
                                      .arg(content.modelCode, 4, 16, QLatin1Char('0'))
                                      .arg(content.image.size());
}

QString impossibleHeaderReason(const QByteArray &image)
{
    // The largest device memory is 32 KiB; its image lacks the 64 bytes below address 32 + 64.
    constexpr int kLargestImage = 32768 - kHeaderSize;
    if (image.size() < kHeaderSize)
        return QStringLiteral("заголовок неполон (%1 байт из %2)").arg(image.size()).arg(kHeaderSize);
    const ImageHeader header = ImageHeader::parse(image);
    if (header.count == 0 || header.count > quint32(kSectionCount))
        return QStringLiteral("в заголовке %1 секций, бывает от 1 до %2").arg(header.count).arg(kSectionCount);
    for (int k = 0; k < int(header.count); ++k) {
        const SectionEntry &e = header.sections[size_t(k)];
        if (e.length < kSectionTrailer)
            return QStringLiteral("секция %1 с адресом %2 и длиной %3 короче %4 байт")
                .arg(k)
                .arg(e.address)
                .arg(e.length)
                .arg(kSectionTrailer);
        if (e.contentPos() < kHeaderSize)
            return QStringLiteral("секция %1 с адресом %2 и длиной %3 лежит в заголовке")
                .arg(k)
                .arg(e.address)
                .arg(e.length);
        if (e.contentPos() + e.contentLength() > kLargestImage)
            return QStringLiteral("секция %1 с адресом %2 и длиной %3 выходит за память МК (%4 байт)")
                .arg(k)
                .arg(e.address)
                .arg(e.length)
                .arg(32768);
    }
    if (header.version > 255)
        return QStringLiteral("версия настроек %1, бывает от 0 до 255").arg(header.version);
    return {};
}

QString notSettingsFileText(const QString &path, const QByteArray &image)
{
    const QString reason = impossibleHeaderReason(image);
    if (reason.isEmpty())
        return {};
    return QStringLiteral("Файл %1 не является файлом настроек МК: %2").arg(QDir::toNativeSeparators(path), reason);
}

void openSettingsFile(TMK &model, const QString &path)
{
    const SettingsFileContent content = decodeSettingsFile(readWholeFile(path, kMaxSettingsFileSize));
    if (const QString text = notSettingsFileText(path, content.image); !text.isEmpty())
        throw Error(ErrorKind::Damaged, text + QStringLiteral(". Файл не загружен, прежние настройки сохранены."));
    model.replaceImage(content.modelCode, content.image);
    qCDebug(lcFiles).noquote() << QStringLiteral("settings opened: %1, model 0x%2, image %3 bytes")
                                      .arg(QDir::toNativeSeparators(path))
                                      .arg(content.modelCode, 4, 16, QLatin1Char('0'))
                                      .arg(content.image.size());
}

} // namespace mk
