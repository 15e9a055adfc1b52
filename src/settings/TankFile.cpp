#include "settings/TankFile.h"

#include "base/Error.h"
#include "base/FileIo.h"
#include "image/TMK.h"
#include "image/TankCalibration.h"

#include <QDir>

namespace mk {

namespace {

// One run of bytes of the file: where it comes from in which section.
struct TankFilePart
{
    int section;
    int offset;
    int length;
};

// In file order; the lengths add up to kTankFileSize.
constexpr TankFilePart kParts[] = {
    {2, tank::kOil6L, 2},
    {2, tank::kLit6L, 2},
    {2, tank::kOil43L, 2},
    {2, tank::kLit43L, 2},
    {2, tank::kOilCalibrResArr, 2 * tank::kPointCount},
    {2, tank::kOilCalibrLitArr, 2 * tank::kPointCount},
    {2, tank::kOilCalibrQuant, 1},
    {3, tank::kTableFirstByte, 1},
    {3, tank::kTarirFlagFinish, 1},
    {3, tank::kTarirLeng, 1},
    {3, tank::kTarirDir, 1},
    {3, tank::kTarirLit, tank::kTarirMaxLength},
    {3, tank::kTarirCode, 2 * tank::kTarirMaxLength},
};

constexpr int partsLength()
{
    int n = 0;
    for (const TankFilePart &p : kParts)
        n += p.length;
    return n;
}
static_assert(partsLength() == kTankFileSize);

// Nothing else has a reason to be this large; refuse it before reading it into memory.
constexpr qint64 kMaxTankFileSize = 1 << 20;

QString shortFileText(qsizetype size)
{
    return QStringLiteral("в нём %1 байт, а настройки бака занимают %2. Настройки бака не изменены.")
        .arg(size)
        .arg(kTankFileSize);
}

} // namespace

QByteArray encodeTankFile(const Record &s2, const Record &s3)
{
    QByteArray file;
    file.reserve(kTankFileSize);
    for (const TankFilePart &p : kParts)
        file += (p.section == 2 ? s2 : s3).raw(p.offset, p.length);
    return file;
}

void decodeTankFile(const QByteArray &file, Record &s2, Record &s3)
{
    if (file.size() < kTankFileSize)
        throw Error(QStringLiteral("Данные настроек бака неполные: %1").arg(shortFileText(file.size())));
    int pos = 0;
    for (const TankFilePart &p : kParts) {
        (p.section == 2 ? s2 : s3).setRaw(p.offset, file.mid(pos, p.length));
        pos += p.length;
    }
}

void saveTankFile(const QString &path, const TMK &model)
{
    writeFileAtomically(path, encodeTankFile(model.record(2), model.record(3)));
}

void loadTankFile(const QString &path, TMK &model)
{
    const QByteArray file = readWholeFile(path, kMaxTankFileSize);
    if (file.size() < kTankFileSize)
        throw Error(QStringLiteral("Файл \"%1\" не является файлом настроек бака: %2")
                        .arg(QDir::toNativeSeparators(path), shortFileText(file.size())));
    decodeTankFile(file, model.record(2), model.record(3));
}

} // namespace mk
