// SPDX-License-Identifier: GPL-3.0-or-later
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
    {kFuelSensorSection, tank::kOil6L, 2},
    {kFuelSensorSection, tank::kLit6L, 2},
    {kFuelSensorSection, tank::kOil43L, 2},
    {kFuelSensorSection, tank::kLit43L, 2},
    {kFuelSensorSection, tank::kOilCalibrResArr, 2 * tank::kPointCount},
    {kFuelSensorSection, tank::kOilCalibrLitArr, 2 * tank::kPointCount},
    {kFuelSensorSection, tank::kOilCalibrQuant, 1},
    {kTankTableSection, tank::kTableFirstByte, 1},
    {kTankTableSection, tank::kTarirFlagFinish, 1},
    {kTankTableSection, tank::kTarirLeng, 1},
    {kTankTableSection, tank::kTarirDir, 1},
    {kTankTableSection, tank::kTarirLit, tank::kTarirMaxLength},
    {kTankTableSection, tank::kTarirCode, 2 * tank::kTarirMaxLength},
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
        file += (p.section == kFuelSensorSection ? s2 : s3).raw(p.offset, p.length);
    return file;
}

void decodeTankFile(const QByteArray &file, Record &s2, Record &s3)
{
    if (file.size() < kTankFileSize)
        throw Error(ErrorKind::Damaged,
                    QStringLiteral("Данные настроек бака неполные: %1").arg(shortFileText(file.size())));
    int pos = 0;
    for (const TankFilePart &p : kParts) {
        (p.section == kFuelSensorSection ? s2 : s3).setRaw(p.offset, file.mid(pos, p.length));
        pos += p.length;
    }
}

void saveTankFile(const QString &path, const TMK &model)
{
    writeFileAtomically(path, encodeTankFile(model.record(kFuelSensorSection), model.record(kTankTableSection)));
}

void loadTankFile(const QString &path, TMK &model)
{
    const QByteArray file = readWholeFile(path, kMaxTankFileSize);
    if (file.size() < kTankFileSize)
        throw Error(ErrorKind::Damaged, QStringLiteral("Файл \"%1\" не является файлом настроек бака: %2")
                                            .arg(QDir::toNativeSeparators(path), shortFileText(file.size())));
    decodeTankFile(file, model.record(kFuelSensorSection), model.record(kTankTableSection));
}

} // namespace mk
