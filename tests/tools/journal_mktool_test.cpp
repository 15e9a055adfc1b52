// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/FileIo.h"
#include "base/Text.h"
#include "image/FactoryImage.h"
#include "image/SettingsFile.h"
#include "support/MktoolRun.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class JournalTool : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        // The simulated device's memory, with its sample journals (a new file has none).
        file = dir.filePath(QStringLiteral("factory.tcset"));
        mk::writeFileAtomically(file, mk::encodeSettingsFile(1, mk::makeFactoryImage(1, 1)));
    }
    QStringList lines(const QStringList &args)
    {
        const ToolRun run = mktool(QStringList{QStringLiteral("journals"), file} + args);
        EXPECT_EQ(run.code, 0) << run.err.constData();
        return QString::fromUtf8(run.bytes).split(QStringLiteral("\r\n"));
    }
    QTemporaryDir dir;
    QString file;
};

} // namespace

// The viewer's saved files of the factory image are pinned in the same data files.
TEST_F(JournalTool, JournalsEqualTheViewersSavedFiles)
{
    for (const auto &[option, expected] :
         {std::pair{"--trip", "factory_trip_journal.txt"}, std::pair{"--tank", "factory_tank_journal.txt"}}) {
        const QByteArray wanted = readFile(QStringLiteral(MK_TEST_DATA "/") + QLatin1String(expected));
        ASSERT_FALSE(wanted.isEmpty());
        const QString out = dir.filePath(QStringLiteral("out.txt"));
        const ToolRun written =
            mktool({QStringLiteral("journals"), file, QLatin1String(option), QStringLiteral("-o"), out});
        ASSERT_EQ(written.code, 0) << written.err.constData();
        EXPECT_TRUE(written.out.isEmpty());
        EXPECT_EQ(readFile(out), wanted) << option;
        // On the terminal the same text in UTF-8.
        const ToolRun printed = mktool({QStringLiteral("journals"), file, QLatin1String(option)});
        EXPECT_EQ(mk::toWin1251(QString::fromUtf8(printed.bytes)), wanted) << option;
        // --encoding utf-8: the same text in UTF-8 with LF lines, as the viewer's UTF-8 filter writes it.
        const ToolRun utf8 = mktool({QStringLiteral("journals"), file, QLatin1String(option), QStringLiteral("-o"), out,
                                     QStringLiteral("--encoding"), QStringLiteral("utf-8")});
        ASSERT_EQ(utf8.code, 0) << utf8.err.constData();
        EXPECT_EQ(readFile(out), mk::fromWin1251(wanted).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).toUtf8())
            << option;
    }
    EXPECT_EQ(mktool({QStringLiteral("journals"), file, QStringLiteral("--encoding"), QStringLiteral("koi8-r")}).code,
              2);
}

TEST_F(JournalTool, ErrorsWithTheirFreezeFrames)
{
    const QStringList out = lines({QStringLiteral("--errors")});
    ASSERT_GE(out.size(), 10);
    EXPECT_EQ(out[0], QStringLiteral("#\tВремя\tКод ошибки\t"));
    EXPECT_EQ(out[1], QStringLiteral("0\t18:42 6.12\t0133\t")); // "M74CAN", the model's first protocol
    EXPECT_EQ(out[2], QStringLiteral("\tКод ошибки\tP0133\t"));
    EXPECT_TRUE(out.contains(QStringLiteral("\tОбороты/мин\t2140\t")));
    EXPECT_TRUE(out.contains(QStringLiteral("\tОбороты/мин\t820\t")));
    const qsizetype third = out.indexOf(QStringLiteral("2\t17:03 28.11\t0171\t"));
    ASSERT_GT(third, 0);
    EXPECT_EQ(out[third + 1], QStringLiteral("3\t9:40 15.11\t0100\t")); // no freeze frame between
    EXPECT_EQ(out[third + 4], QStringLiteral("6\t\t\t"));
    EXPECT_EQ(out.last(), QString()); // every line ends with CR LF
}

TEST_F(JournalTool, AveragesUnderTheirCaptions)
{
    const QStringList out = lines({QStringLiteral("--averages")});
    ASSERT_EQ(out.size(), 8 * 7 + 1);
    EXPECT_EQ(out[0], QStringLiteral("Накопительные / Общие\t"));
    EXPECT_EQ(out[2], QStringLiteral("Пробег, км\t158250.000\t"));
    EXPECT_EQ(out[7 * 7], QStringLiteral("Только газ\t"));
    EXPECT_EQ(out[7 * 7 + 3], QStringLiteral("Расход, л\t412.000\t"));
}

TEST_F(JournalTool, EverythingWithoutAChoiceAndBadCommandLines)
{
    const QStringList all = lines({});
    EXPECT_EQ(all[0], QStringLiteral("Журнал поездок\t"));
    EXPECT_TRUE(all.contains(QStringLiteral("Журнал заправок\t")));
    EXPECT_TRUE(all.contains(QStringLiteral("Журнал ошибок\t")));
    EXPECT_TRUE(all.contains(QStringLiteral("Средние\t")));

    EXPECT_EQ(mktool({QStringLiteral("journals"), file, QStringLiteral("--trip"), QStringLiteral("--tank")}).code, 2);
    EXPECT_EQ(mktool({QStringLiteral("journals")}).code, 2);
    EXPECT_EQ(mktool({QStringLiteral("journals"), file, QStringLiteral("--fuel")}).code, 2);
    const ToolRun missing = mktool({QStringLiteral("journals"), dir.filePath(QStringLiteral("none.tcset"))});
    EXPECT_EQ(missing.code, 1);
    EXPECT_FALSE(missing.err.isEmpty());
}

// --csv: the journal's records as CSV, UTF-8 with LF lines; the factory's latest trip by hand:
// 41.3 km in 2700 s with 3.6 l at 30 per km and 250 per litre.
TEST_F(JournalTool, CsvOfEveryJournal)
{
    const ToolRun trip = mktool({QStringLiteral("journals"), file, QStringLiteral("--trip"), QStringLiteral("--csv")});
    ASSERT_EQ(trip.code, 0) << trip.err.constData();
    const QStringList out = QString::fromUtf8(trip.out).split(QLatin1Char('\n'));
    EXPECT_EQ(out[0],
              QStringLiteral(
                  "№,Дата и время записи,\"Время в пути, с\",\"Пробег, км\",\"Топливо 1, л\",\"Топливо 2, л\","
                  "\"Расход топлива, л\",\"Ср. скорость, км/час\",Ср. расход на 100 км,Ср. расход в час,Стоимость"));
    EXPECT_EQ(out[1], QStringLiteral("0,12-06 17:45,2700,41.300,3.600,0.000,3.600,55.1,8.72,4.80,213.9"));
    EXPECT_EQ(out.last(), QString());
    EXPECT_FALSE(trip.bytes.contains('\r')); // a CSV file's bytes on every system

    const QString path = dir.filePath(QStringLiteral("tank.csv"));
    ASSERT_EQ(mktool({QStringLiteral("journals"), file, QStringLiteral("--tank"), QStringLiteral("--csv"),
                      QStringLiteral("-o"), path})
                  .code,
              0);
    EXPECT_TRUE(readFile(path).startsWith("№,Дата и время записи,"));
    EXPECT_TRUE(readFile(path).contains("\n0,12-04 18:30,64800,512.000,41.200,"));

    const QStringList errors =
        lines({QStringLiteral("--errors"), QStringLiteral("--csv")}).join(QString()).split(QLatin1Char('\n'));
    // The code in full, with its letter, so that no spreadsheet reads it as the number 133.
    EXPECT_EQ(errors[1], QStringLiteral("0,12-06 18:42,P0133,307"));
    // A CSV file holds one table: every journal is a file of its own beside the one named, and
    // the terminal takes only one.
    EXPECT_EQ(mktool({QStringLiteral("journals"), file, QStringLiteral("--csv")}).code, 2);
    const ToolRun all = mktool({QStringLiteral("journals"), file, QStringLiteral("--csv"), QStringLiteral("-o"),
                                dir.filePath(QStringLiteral("all.csv"))});
    ASSERT_EQ(all.code, 0) << all.err.constData();
    for (const char *part : {"trip", "tank", "errors", "averages"}) {
        const QByteArray text = readFile(dir.filePath(QStringLiteral("all-%1.csv").arg(QLatin1String(part))));
        const char *header = part == std::string("averages") ? "Накопитель,"
                             : part == std::string("errors") ? "№,Время,Код ошибки,"
                                                             : "№,Дата и время записи,";
        EXPECT_TRUE(text.startsWith(header)) << part;
        EXPECT_TRUE(all.out.contains(QStringLiteral("all-%1.csv\n").arg(QLatin1String(part)).toUtf8())) << part;
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("all.csv"))));
    // For a Russian spreadsheet: BOM, ';', decimal commas, the day first; a bad name is a usage error.
    const ToolRun excel = mktool({QStringLiteral("journals"), file, QStringLiteral("--trip"), QStringLiteral("--csv"),
                                  QStringLiteral("--csv-dialect"), QStringLiteral("excel-ru")});
    ASSERT_EQ(excel.code, 0) << excel.err.constData();
    EXPECT_TRUE(excel.bytes.startsWith("\xEF\xBB\xBF№;Дата и время записи;Время в пути, с;"));
    EXPECT_TRUE(excel.bytes.contains("\r\n0;06.12.???? 17:45;2700;41,300;3,600;0,000;3,600;55,1;8,72;4,80;213,9\r\n"));
    for (const char *bad : {"excel", ""})
        EXPECT_EQ(mktool({QStringLiteral("journals"), file, QStringLiteral("--trip"), QStringLiteral("--csv"),
                          QStringLiteral("--csv-dialect"), QLatin1String(bad)})
                      .code,
                  2)
            << bad;
    EXPECT_EQ(mktool({QStringLiteral("journals"), file, QStringLiteral("--csv"), QStringLiteral("--encoding"),
                      QStringLiteral("utf-8")})
                  .code,
              2);
}
