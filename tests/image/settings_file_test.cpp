// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Error.h"
#include "base/FileIo.h"
#include "image/FactoryImage.h"
#include "image/SettingsFile.h"
#include "image/TMK.h"
#include "support/QtPrinters.h"
#include "support/RawFiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace mk;

TEST(SettingsFile, ScrambleTableNeverChanges)
{
    const auto &t = scrambleTable();
    const QByteArray bytes(reinterpret_cast<const char *>(t.data()), int(t.size()));
    EXPECT_EQ(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex(),
              QByteArray("fcdba9d2a39e172a8ed5fa4a43abedeee7320a030f7dd3044b7411fd06c6016b"));
}

TEST(SettingsFile, LayoutAndScrambleReuse)
{
    QByteArray image(5000, '\0');
    image[0] = 0x12;
    image[4096] = 0x12;
    const QByteArray file = encodeSettingsFile(0x8002, image);
    ASSERT_EQ(file.size(), 5002);
    EXPECT_EQ(uchar(file[0]), 0x02);
    EXPECT_EQ(uchar(file[1]), 0x80);
    EXPECT_EQ(file[2], file[4098]); // the table starts again at image byte 4096
    EXPECT_EQ(uchar(file[2]), quint8(0x12 ^ scrambleTable()[0]));
    EXPECT_EQ(decodeSettingsFile(file).image, image);
    EXPECT_EQ(decodeSettingsFile(QByteArray("\x05\x00", 2)).image, QByteArray());
}

TEST(SettingsFile, SaveLoadRoundTrip)
{
    QTemporaryDir dir;
    const QString a = dir.filePath("a.tcset"), b = dir.filePath("b.tcset");
    TMK m;
    m.replaceImage(0x0C01, makeFactoryImage(0x0C01, 7, 32768));
    saveSettingsFile(m, a);
    EXPECT_EQ(QFileInfo(a).size(), 32704 + 2);

    TMK loaded;
    loadSettingsFile(loaded, a);
    EXPECT_EQ(loaded.modelCode(), 0x0C01);
    EXPECT_EQ(loaded.image(), m.image());
    EXPECT_EQ(loaded.record(9), m.record(9));
    saveSettingsFile(loaded, b);
    EXPECT_EQ(readRaw(a), readRaw(b));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2); // no temporary left behind

    // A shorter file after a longer image leaves nothing of the longer one behind.
    TMK small;
    small.replaceImage(0x0101, makeFactoryImage(0x0101, 1, 8192));
    saveSettingsFile(small, b);
    loadSettingsFile(loaded, b);
    EXPECT_EQ(loaded.image(), small.image());
    EXPECT_EQ(loaded.modelCode(), 0x0101);
}

TEST(SettingsFile, BadFilesLeaveTheModelAsItWas)
{
    QTemporaryDir dir;
    TMK m;
    m.replaceImage(0x0101, makeFactoryImage(0x0101, 1));
    const QByteArray image = m.image();
    const Record rec9 = m.record(9);

    const QString one = dir.filePath("one.tcset"), huge = dir.filePath("huge.tcset"),
                  empty = dir.filePath("empty.tcset");
    ASSERT_TRUE(writeRaw(one, QByteArray(1, 'x')));
    ASSERT_TRUE(writeRaw(huge, QByteArray(2 * 1024 * 1024, 'x')));
    ASSERT_TRUE(writeRaw(empty, QByteArray()));
    for (const QString &path : {one, huge, empty, dir.filePath("missing.tcset"), dir.path()}) {
        try {
            loadSettingsFile(m, path);
            ADD_FAILURE() << "accepted " << path.toStdString();
        } catch (const Error &e) {
            EXPECT_FALSE(e.text().isEmpty());
        }
        EXPECT_EQ(m.modelCode(), 0x0101);
        EXPECT_EQ(m.image(), image);
        EXPECT_EQ(m.record(9), rec9);
    }
}

TEST(SettingsFile, FailedSaveKeepsTheOldFile)
{
    QTemporaryDir dir;
    TMK m;
    m.replaceImage(1, makeFactoryImage(1, 1));

    // The target is a folder holding a file: the rename fails and nothing inside is touched.
    const QString target = dir.filePath("target.tcset");
    ASSERT_TRUE(QDir(dir.path()).mkdir("target.tcset"));
    ASSERT_TRUE(writeRaw(target + "/inside", "old contents"));
    EXPECT_THROW(saveSettingsFile(m, target), Error);
    EXPECT_EQ(readRaw(target + "/inside"), QByteArray("old contents"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 0); // no temporary left behind

    EXPECT_THROW(saveSettingsFile(m, dir.filePath("no/such/folder/x.tcset")), Error);

    // A read-only folder (only meaningful without administrator rights).
    const QString path = dir.filePath("keep.tcset");
    ASSERT_TRUE(writeRaw(path, "old contents"));
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    if (!QFileInfo(dir.path()).isWritable()) {
        EXPECT_THROW(saveSettingsFile(m, path), Error);
    }
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(readRaw(path), QByteArray("old contents"));
}

// Headers no device memory can have are told from files merely cut short, which may be looked at.
TEST(SettingsFile, ImpossibleHeadersAreToldFromCutOnes)
{
    const QByteArray good = makeFactoryImage(1, 1);
    const auto with = [&](int pos, quint32 value, int bytes) {
        QByteArray image = good;
        for (int i = 0; i < bytes; ++i)
            image[pos + i] = char((value >> (8 * i)) & 0xFF);
        return image;
    };
    const int entry3 = 4 + 3 * 4; // section 3: address, then length
    const struct
    {
        QByteArray image;
        const char *reason; // empty: possible
    } cases[] = {
        {good, ""},
        {good.left(1500), ""}, // cut short: the sections past the end are missing, not impossible
        {good.left(40), "заголовок неполон (40 байт из 64)"},
        {with(0, 0, 4), "в заголовке 0 секций"},
        {with(0, 14, 4), "в заголовке 14 секций"},
        {with(0, 0x7A3C19F2, 4), "в заголовке 2050759154 секций"},
        {with(entry3, 40, 2), "секция 3 с адресом 40"},
        {with(entry3 + 2, 2, 2), "секция 3 с адресом"},
        {with(entry3, 32500, 2), "секция 3 с адресом 32500 и длиной"},
        {with(kVersionPos, 300, 4), "версия настроек 300"},
    };
    for (const auto &c : cases) {
        const QString reason = impossibleHeaderReason(c.image);
        if (*c.reason == 0) {
            EXPECT_TRUE(reason.isEmpty()) << reason.toStdString();
        } else {
            EXPECT_TRUE(reason.startsWith(QString::fromUtf8(c.reason))) << reason.toStdString();
        }
    }

    // Opening such a file leaves the model as it was; loading it (the tools' inspection) does not.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("random.tcset"));
    QByteArray random(500, '\0');
    for (int i = 0; i < random.size(); ++i)
        random[i] = char((i * 197 + 61) ^ (i >> 3));
    ASSERT_TRUE(writeRaw(path, random));
    TMK model;
    model.replaceImage(1, good);
    try {
        openSettingsFile(model, path);
        FAIL() << "opened";
    } catch (const Error &e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("не является файлом настроек МК"))) << e.text().toStdString();
    }
    EXPECT_EQ(model.image(), good);
    EXPECT_EQ(model.modelCode(), 1);
}
