// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/TankFile.h"

#include "base/Error.h"
#include "base/FileIo.h"
#include "image/RecordLayout.h"
#include "image/TMK.h"
#include "image/TankCalibration.h"

#include <QDir>

namespace mk {

namespace {

// The runs of bytes of the file, in file order; their widths add up to kTankFileSize.
constexpr LayoutRow kParts[] = {
    layout::kOil6L,           layout::kLit6L,           layout::kOil43L,         layout::kLit43L,
    layout::kOilCalibrResArr, layout::kOilCalibrLitArr, layout::kOilCalibrQuant, layout::kTableFirstByte,
    layout::kTarirFlagFinish, layout::kTarirLeng,       layout::kTarirDir,       layout::kTarirLit,
    layout::kTarirCode,
};

constexpr int partsLength()
{
    int n = 0;
    for (const LayoutRow &p : kParts)
        n += p.width;
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
    for (const LayoutRow &p : kParts)
        file += (p.section == kFuelSensorSection ? s2 : s3).raw(p.offset, p.width);
    return file;
}

void decodeTankFile(const QByteArray &file, Record &s2, Record &s3)
{
    if (file.size() < kTankFileSize)
        throw Error(ErrorKind::Damaged,
                    QStringLiteral("Данные настроек бака неполные: %1").arg(shortFileText(file.size())));
    int pos = 0;
    for (const LayoutRow &p : kParts) {
        (p.section == kFuelSensorSection ? s2 : s3).setRaw(p.offset, file.mid(pos, p.width));
        pos += p.width;
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
