// SPDX-License-Identifier: GPL-3.0-or-later
// Damaged, erased and cut-short settings: nothing of an earlier image survives a load, nothing
// absent is ever written, every tool finishes on them, and a device never gets incomplete settings.

#include "base/Error.h"
#include "base/FileIo.h"
#include "image/FactoryImage.h"
#include "image/RecordSync.h"
#include "image/SettingsFile.h"
#include "image/TMK.h"
#include "link/DeviceExchange.h"
#include "link/Progress.h"
#include "link/TKW_RS.h"
#include "support/Mksim.h"
#include "support/MktoolRun.h"
#include "support/QtPrinters.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace mk::test {
namespace {

QByteArray factory() { return makeFactoryImage(0x0101, 1); }

// Every record differs from the defaults somewhere, so that a survivor would show.
QByteArray goodImage()
{
    TMK m;
    m.replaceImage(0x0101, factory());
    for (int k = 0; k < kSectionCount; ++k)
        if (k != kUndecodedSection)
            m.record(k).setU8(0, quint8(m.record(k).u8(0) ^ 0x5A));
    m.encodeAll();
    return m.image();
}

} // namespace

TEST(SettingsIntegrity, ALoadReplacesEveryRecord)
{
    struct Case
    {
        const char *what;
        QByteArray image;
        QList<int> missing;
    };
    QByteArray erased(8128, '\xFF');
    const Case cases[] = {
        {"cut short", factory().left(1500), {6, 7, 8, 9, 10, 11, 12}},
        {"erased", erased, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
        {"zero", QByteArray(8128, '\0'), {}},
        {"header only", factory().left(40), {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
    };
    const auto defaults = TMK::defaultRecords();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TMK m;
        m.replaceImage(0x0101, goodImage());
        m.replaceImage(0x0101, c.image);
        EXPECT_EQ(m.missingSections(), c.missing);
        EXPECT_EQ(incompleteSettingsWarning(m).isEmpty(), c.missing.isEmpty());
        for (int k = 0; k < kSectionCount; ++k) {
            if (k == kUndecodedSection)
                continue;
            if (m.sectionHeld(k))
                EXPECT_EQ(m.record(k).bytes(), c.image.mid(ImageHeader::parse(c.image).sections[size_t(k)].contentPos(),
                                                           kRecordSizes[size_t(k)]))
                    << k;
            else
                EXPECT_EQ(m.record(k), defaults[size_t(k)]) << k; // nothing of the good file
        }
        // Encoding never makes an absent section appear in the image.
        m.encodeAll();
        EXPECT_EQ(m.image(), c.image);
        EXPECT_EQ(m.missingSections(), c.missing);
    }
}

// A file cut anywhere short of a device's memory is told, naming what is missing, and never
// written: at every section's start, inside one, past the sections, and not at all.
TEST(SettingsIntegrity, ACutFileIsToldAndNeverWritten)
{
    const QByteArray full = factory();
    const ImageHeader header = ImageHeader::parse(full);
    struct Cut
    {
        int at;
        QList<int> missing;
        QString told; // a piece of the warning; empty: no warning
    };
    QList<Cut> cuts;
    for (int k = 0; k < int(header.count); ++k) {
        QList<int> missing;
        for (int j = 0; j < int(header.count); ++j)
            if (header.sections[size_t(j)].contentPos() + header.sections[size_t(j)].contentLength() >
                header.sections[size_t(k)].contentPos())
                missing << j;
        cuts << Cut{header.sections[size_t(k)].contentPos(), missing,
                    QStringLiteral("нет секций ") + sectionList(missing)};
    }
    const SectionEntry &six = header.sections[kTripsSection];
    cuts << Cut{six.contentPos() + 7, cuts[kTripsSection].missing, QStringLiteral("нет секций 6,")}
         << Cut{3998, {}, QStringLiteral("в образе памяти 3998 байт из 8128, нет записей осциллографа")}
         << Cut{8127, {}, QStringLiteral("нет конца памяти МК")} << Cut{int(full.size()), {}, QString()};
    for (const Cut &c : cuts) {
        SCOPED_TRACE(c.at);
        TMK m;
        m.replaceImage(0x0101, full.left(c.at));
        EXPECT_EQ(m.missingSections(), c.missing);
        const QString warning = incompleteSettingsWarning(m);
        EXPECT_TRUE(c.told.isEmpty() ? warning.isEmpty() : warning.contains(c.told)) << warning.toStdString();
        if (c.told.isEmpty())
            EXPECT_NO_THROW(requireCompleteSettings(m));
        else
            EXPECT_THROW(requireCompleteSettings(m), Error);
    }
}

TEST(SettingsIntegrity, AMergeTakesOnlyHeldRecords)
{
    // The edited image holds sections 0..3 only (its header names four); the device's holds all.
    QByteArray partial = factory();
    ImageHeader h = ImageHeader::parse(partial);
    h.count = 4;
    for (int k = 4; k < kSectionCount; ++k)
        h.sections[size_t(k)] = {};
    h.writeTo(partial);
    TMK edited;
    edited.replaceImage(0x0101, partial);
    edited.record(2).setU16(0, 4321);
    edited.record(5).setU8(3, 9); // absent: must not reach the device

    const QByteArray device = goodImage();
    const TMK merged = mergeRecords(edited, 0x0101, device);
    EXPECT_EQ(merged.record(2).u16(0), 4321);
    const SectionEntry s5 = ImageHeader::parse(device).sections[5];
    EXPECT_EQ(merged.image().mid(s5.contentPos(), 69), device.mid(s5.contentPos(), 69));
}

TEST(SettingsIntegrity, IncompleteSettingsNeverReachTheDevice)
{
    TMK cut;
    cut.replaceImage(0x0101, factory().left(1500));
    NullProgress progress;
    TKW_RS link; // no port: the refusal comes before any is opened
    try {
        writeDevice(link, cut, progress, QDir::tempPath());
        FAIL() << "written";
    } catch (const Error &e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("нет секций 6, 7, 8, 9, 10, 11, 12"))) << e.text().toStdString();
    }

    // mktool write against the simulated device: refused, and its memory stays as it was.
    QTemporaryDir dir;
    const auto path = [&dir](const char *name) { return dir.filePath(QString::fromLatin1(name)); };
    writeFileAtomically(path("dev.tcset"), encodeSettingsFile(0x0101, factory()));
    writeFileAtomically(path("cut.tcset"), encodeSettingsFile(0x0101, factory().left(1500)));
    MksimProcess sim({QStringLiteral("--model"), QStringLiteral("0x0101"), QStringLiteral("--image"), path("dev.tcset"),
                      QStringLiteral("--save"), path("after.tcset")});
    ASSERT_FALSE(sim.path().isEmpty()) << sim.error().toStdString();
    const ToolRun write = mktool({QStringLiteral("write"), path("cut.tcset"), QStringLiteral("--port"), sim.path(),
                                  QStringLiteral("--backup-dir"), path("backups")});
    EXPECT_EQ(write.code, 1);
    EXPECT_TRUE(QString::fromUtf8(write.err).contains(QStringLiteral("Запись в МК не выполнена")))
        << write.err.constData();
    ASSERT_EQ(sim.stop(), 0);
    EXPECT_EQ(readWholeFile(path("after.tcset"), kMaxSettingsFileSize),
              readWholeFile(path("dev.tcset"), kMaxSettingsFileSize));
    EXPECT_FALSE(QDir(path("backups")).exists());
}

// A header whose table puts one section inside another, into the header, or out of order: every
// such table is refused for writing and editing by name, and the sound table is not.
TEST(SettingsIntegrity, TangledSectionTablesAreRefused)
{
    struct Case
    {
        const char *what;
        std::function<void(ImageHeader &)> damage;
        QList<int> tangled;
    };
    const Case cases[] = {
        {"sound", [](ImageHeader &) {}, {}},
        {"section 4 inside section 3 (one flipped bit)",
         [](ImageHeader &h) { h.sections[4].address = quint16(h.sections[4].address ^ 0x100); },
         {3, 4}},
        {"section 0 in the header", [](ImageHeader &h) { h.sections[0].address = 40; }, {0}},
        {"sections 7 and 8 swapped", [](ImageHeader &h) { std::swap(h.sections[7], h.sections[8]); }, {7, 8}},
        {"a section past the count is not looked at",
         [](ImageHeader &h) {
             h.count = 12;
             h.sections[12].address = h.sections[0].address;
         },
         {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QByteArray image = factory();
        ImageHeader h = ImageHeader::parse(image);
        c.damage(h);
        h.writeTo(image);
        TMK m;
        m.replaceImage(0x0101, image);
        EXPECT_EQ(m.tangledSections(), c.tangled);
        if (c.tangled.isEmpty()) {
            EXPECT_NO_THROW(requireCompleteSettings(m));
            continue;
        }
        EXPECT_TRUE(incompleteSettingsWarning(m).contains(sectionList(c.tangled)));
        try {
            requireCompleteSettings(m);
            ADD_FAILURE() << "accepted for writing";
        } catch (const Error &e) {
            EXPECT_TRUE(e.text().contains(QStringLiteral("Секции %1").arg(sectionList(c.tangled))))
                << e.text().toStdString();
        }
    }

    // mktool set refuses to edit such a file: one setting would change two.
    QTemporaryDir dir;
    QByteArray image = factory();
    ImageHeader h = ImageHeader::parse(image);
    h.sections[4].address = quint16(h.sections[4].address ^ 0x100);
    h.writeTo(image);
    const QString file = dir.filePath(QStringLiteral("tangled.tcset"));
    writeFileAtomically(file, encodeSettingsFile(0x0101, image));
    const ToolRun set = mktool({QStringLiteral("set"), file, QStringLiteral("AirFiltCntK=21"), QStringLiteral("-o"),
                                dir.filePath(QStringLiteral("out.tcset"))});
    EXPECT_EQ(set.code, 1);
    EXPECT_TRUE(QString::fromUtf8(set.err).contains(QStringLiteral("Секции 3, 4"))) << set.err.constData();
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("out.tcset"))));
}

// The command-line tools on erased, zeroed and damaged files: each finishes at once.
TEST(SettingsIntegrity, ToolsFinishOnAnyImage)
{
    QTemporaryDir dir;
    QByteArray badDates = factory();
    const SectionEntry s4 = ImageHeader::parse(badDates).sections[4];
    for (int i = 0; i < 8; ++i)
        badDates[s4.contentPos() + 8 + i] = '\xFF'; // "Дата ТО" and "Окончание ОСАГО" erased
    const QList<std::pair<QString, QByteArray>> files = {
        {QStringLiteral("erased"), QByteArray(8128, '\xFF')},
        {QStringLiteral("zero"), QByteArray(8128, '\0')},
        {QStringLiteral("dates"), badDates},
    };
    const QString good = dir.filePath(QStringLiteral("good.tcset"));
    writeFileAtomically(good, encodeSettingsFile(0x0101, factory()));
    for (const auto &[name, image] : files) {
        const QString file = dir.filePath(name + QStringLiteral(".tcset"));
        writeFileAtomically(file, encodeSettingsFile(name == QLatin1String("erased") ? 0xFFFF : 0x0101, image));
        const QString png = dir.filePath(name + QStringLiteral(".png"));
        QList<QStringList> runs = {{QStringLiteral("dump"), file}, {QStringLiteral("diff"), good, file}};
        for (const char *journal : {"--trip", "--tank", "--errors", "--averages"})
            runs.append({QStringLiteral("journals"), file, QString::fromLatin1(journal)});
        for (const char *screen : {"x1:1", "x4:1", "x9:1", "x7:1", "graph:1", "arrow:1", "x6", "hotmenu"})
            runs.append({QStringLiteral("render"), file, QStringLiteral("--screen"), QString::fromLatin1(screen),
                         QStringLiteral("-o"), png});
        for (const QStringList &args : runs) {
            QElapsedTimer timer;
            timer.start();
            const ToolRun run = mktool(args);
            EXPECT_GE(run.code, 0) << args.join(' ').toStdString() << " hung or crashed";
            EXPECT_LT(timer.elapsed(), 10000) << args.join(' ').toStdString();
        }
    }
    // Erased memory has no section table: no settings file, refused as the window refuses it,
    // with nothing invented on stdout.
    const ToolRun erased = mktool({QStringLiteral("dump"), dir.filePath(QStringLiteral("erased.tcset"))});
    EXPECT_EQ(erased.code, 1);
    EXPECT_TRUE(erased.out.isEmpty()) << erased.out.constData();
    EXPECT_TRUE(QString::fromUtf8(erased.err).contains(QStringLiteral("не является файлом настроек МК: в заголовке")))
        << erased.err.constData();
    const ToolRun dump = mktool({QStringLiteral("dump"), dir.filePath(QStringLiteral("dates.tcset"))});
    EXPECT_TRUE(dump.out.contains("--.--.--")) << dump.out.constData();
    const ToolRun diff = mktool({QStringLiteral("diff"), good, dir.filePath(QStringLiteral("dates.tcset"))});
    EXPECT_EQ(diff.code, 1);
    EXPECT_TRUE(diff.out.contains("(TO)\t")) << diff.out.constData();
}

} // namespace mk::test
