// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Error.h"
#include "image/TMK.h"
#include "image/TankCalibration.h"
#include "settings/TankFile.h"
#include "support/QtPrinters.h"
#include "support/RawFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace mk;

namespace {

// Distinct values in every tank field and in the bytes around them.
void fillTankFields(TMK &m)
{
    Record &s2 = m.record(2);
    Record &s3 = m.record(3);
    for (int i = 0; i < s2.size(); ++i)
        s2.setU8(i, quint8(0x40 + i));
    for (int i = 0; i < s3.size(); ++i)
        s3.setU8(i, quint8(i * 7 + 3));
    s3.setU8(tank::kTarirLeng, 17);
}

} // namespace

TEST(TankFile, LayoutOfThe245Bytes)
{
    TMK m;
    Record &s2 = m.record(2);
    Record &s3 = m.record(3);
    s2.setU16(tank::kOil6L, 0x1234);
    s2.setU16(tank::kLit43L, 0xABCD);
    s2.setU16(tank::kOilCalibrResArr + 12, 0x0607);
    s2.setU16(tank::kOilCalibrLitArr, 0x0809);
    s2.setU8(tank::kOilCalibrQuant, 5);
    s2.setU8(37, 0xEE); // TankMode: not a tank-file field
    s3.setU8(tank::kTableFirstByte, 0x11);
    s3.setU8(tank::kTarirFlagFinish, 1);
    s3.setU8(tank::kTarirLeng, 68);
    s3.setU8(tank::kTarirDir, 1);
    s3.setU8(tank::kTarirIncline, 2);
    s3.setU8(tank::kTarirLit, 0x21);
    s3.setU8(tank::kTarirLit + 67, 0x22);
    s3.setU16(tank::kTarirCode, 0x3132);
    s3.setU16(tank::kTarirCode + 134, 0x4142);

    const QByteArray f = encodeTankFile(s2, s3);
    ASSERT_EQ(f.size(), 245);
    EXPECT_EQ(f.mid(0, 2), QByteArray("\x34\x12", 2));
    EXPECT_EQ(f.mid(6, 2), QByteArray("\xCD\xAB", 2));
    EXPECT_EQ(f.mid(20, 2), QByteArray("\x07\x06", 2));
    EXPECT_EQ(f.mid(22, 2), QByteArray("\x09\x08", 2));
    EXPECT_EQ(quint8(f[36]), 5);
    EXPECT_EQ(quint8(f[37]), 0x11);
    EXPECT_EQ(quint8(f[38]), 1);
    EXPECT_EQ(quint8(f[39]), 68);
    EXPECT_EQ(quint8(f[40]), 1);
    EXPECT_EQ(quint8(f[41]), 0x21);
    EXPECT_EQ(quint8(f[108]), 0x22);
    EXPECT_EQ(f.mid(109, 2), QByteArray("\x32\x31", 2));
    EXPECT_EQ(f.mid(243, 2), QByteArray("\x42\x41", 2));
    EXPECT_FALSE(f.contains('\xEE'));
}

TEST(TankFile, SaveThenLoadRestoresEveryTankFieldAndNothingElse)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("tank.tcoil");
    TMK saved;
    fillTankFields(saved);
    saveTankFile(path, saved);
    EXPECT_EQ(readRaw(path).size(), kTankFileSize);

    TMK loaded;
    const Record s2Before = loaded.record(2), s3Before = loaded.record(3);
    loadTankFile(path, loaded);
    EXPECT_EQ(encodeTankFile(loaded.record(2), loaded.record(3)), encodeTankFile(saved.record(2), saved.record(3)));
    // Only the file's fields changed: TankMode, the slope and the gap before the codes did not.
    for (int off : {37, 38, 42, 44, 56, 63})
        EXPECT_EQ(loaded.record(2).u8(off), s2Before.u8(off)) << off;
    for (int off : {3, 4, 5, tank::kTarirIncline, 76, 143, 280, 419})
        EXPECT_EQ(loaded.record(3).u8(off), s3Before.u8(off)) << off;

    // Saving over an existing file replaces it.
    saved.record(2).setU16(tank::kOil6L, 7);
    saveTankFile(path, saved);
    loadTankFile(path, loaded);
    EXPECT_EQ(loaded.record(2).u16(tank::kOil6L), 7);
}

TEST(TankFile, ShortMissingOrHugeFileChangesNothing)
{
    QTemporaryDir dir;
    TMK source;
    fillTankFields(source);
    const QByteArray full = encodeTankFile(source.record(2), source.record(3));

    for (int size : {0, 1, 36, 244}) {
        const QString path = dir.filePath(QStringLiteral("short%1.tcoil").arg(size));
        ASSERT_TRUE(writeRaw(path, full.left(size)));
        TMK m;
        const Record s2 = m.record(2), s3 = m.record(3);
        try {
            loadTankFile(path, m);
            ADD_FAILURE() << "a file of " << size << " bytes was accepted";
        } catch (const Error &e) {
            EXPECT_TRUE(e.text().contains(QStringLiteral("не изменены"))) << e.text().toStdString();
            EXPECT_TRUE(e.text().contains(QStringLiteral("short%1.tcoil").arg(size))) << e.text().toStdString();
        }
        EXPECT_EQ(m.record(2), s2);
        EXPECT_EQ(m.record(3), s3);
        EXPECT_THROW(decodeTankFile(full.left(size), m.record(2), m.record(3)), Error);
        EXPECT_EQ(m.record(3), s3);
    }

    TMK m;
    EXPECT_THROW(loadTankFile(dir.filePath("missing.tcoil"), m), Error);
    EXPECT_THROW(loadTankFile(dir.path(), m), Error);
    const QString huge = dir.filePath("huge.tcoil");
    ASSERT_TRUE(writeRaw(huge, QByteArray(2 << 20, '\x01')));
    EXPECT_THROW(loadTankFile(huge, m), Error);
    EXPECT_EQ(m.record(2), TMK().record(2));
}

TEST(TankFile, LongerFileIsReadFromItsStart)
{
    QTemporaryDir dir;
    TMK source;
    fillTankFields(source);
    const QString path = dir.filePath("long.tcoil");
    ASSERT_TRUE(writeRaw(path, encodeTankFile(source.record(2), source.record(3)) + QByteArray(100, '\x5A')));
    TMK m;
    loadTankFile(path, m);
    EXPECT_EQ(encodeTankFile(m.record(2), m.record(3)), encodeTankFile(source.record(2), source.record(3)));
}

TEST(TankFile, SaveIntoMissingFolderFails)
{
    QTemporaryDir dir;
    TMK m;
    EXPECT_THROW(saveTankFile(dir.filePath("no/such/folder/t.tcoil"), m), Error);
}
