// SPDX-License-Identifier: GPL-3.0-or-later
// The trace's destinations: the rotating files stay under their cap whatever is written, keep the
// newest lines whole and in order; a stopped trace writes nothing; a report leaves the frames'
// values out.

#include "base/Error.h"
#include "base/TraceLog.h"
#include "link/SupportReport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace mk::test {
namespace {

struct StopTrace
{
    ~StopTrace() { TraceLog::stop(); }
};

TEST(TraceLog, RotatingFilesStayUnderTheirCapAndKeepTheNewestLinesWholeInOrder)
{
    struct Case
    {
        qint64 cap;
        int files;
        int lines;
    };
    for (const Case c : {Case{4096, 2, 2000}, Case{1000, 3, 500}, Case{512, 1, 300}, Case{100000, 2, 50}}) {
        SCOPED_TRACE(testing::Message() << "cap " << c.cap << ", files " << c.files);
        QTemporaryDir dir;
        StopTrace stop;
        // A second start on the same folder (the next session) goes on where the first ended.
        for (int session = 0; session < 2; ++session) {
            TraceLog::toRotatingFiles(dir.path(), QStringLiteral("session %1").arg(session), c.cap, c.files);
            for (int i = 0; i < c.lines; ++i)
                qCDebug(lcFiles).noquote() << QStringLiteral("line %1 %2").arg(session).arg(i, 6, 10, QLatin1Char('0'));
            TraceLog::stop();
        }
        qint64 total = 0;
        for (int k = 0; k < c.files + 1; ++k) {
            const QFileInfo f(QDir(dir.path()).filePath(traceFileName(k)));
            if (k == c.files) {
                EXPECT_FALSE(f.exists()) << "a rotation beyond the files kept";
                continue;
            }
            EXPECT_LE(f.size(), c.cap);
            total += f.size();
        }
        EXPECT_LE(total, c.cap * c.files);
        const QByteArray tail = TraceLog::rotatingTail(dir.path(), c.cap * c.files, c.files);
        const QList<QByteArray> lines = tail.split('\n');
        ASSERT_GE(lines.size(), 2);
        EXPECT_TRUE(lines[lines.size() - 2].endsWith(
            QStringLiteral("line 1 %1").arg(c.lines - 1, 6, 10, QLatin1Char('0')).toUtf8()))
            << lines[lines.size() - 2].constData();
        // Every line whole, with its time and category, the numbers rising.
        static const QRegularExpression shape(QStringLiteral("^ *\\d+ ms mk\\.files +line (\\d) (\\d{6})$"));
        QString last;
        for (const QByteArray &line : lines) {
            if (line.isEmpty() || line.startsWith("session"))
                continue;
            const QRegularExpressionMatch m = shape.match(QString::fromUtf8(line));
            ASSERT_TRUE(m.hasMatch()) << line.constData();
            const QString key = m.captured(1) + m.captured(2);
            EXPECT_LT(last, key);
            last = key;
        }
        // Off again: nothing more is written.
        const QByteArray before = TraceLog::rotatingTail(dir.path(), c.cap * c.files, c.files);
        qCDebug(lcFiles) << "not traced";
        EXPECT_FALSE(lcFiles().isDebugEnabled());
        EXPECT_EQ(TraceLog::rotatingTail(dir.path(), c.cap * c.files, c.files), before);
    }
}

TEST(TraceLog, AFileTraceIsMadeAnewAndAFolderIsRefused)
{
    QTemporaryDir dir;
    StopTrace stop;
    const QString path = dir.filePath(QStringLiteral("t.log"));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old run\n");
    old.close();
    TraceLog::toFile(path, QStringLiteral("header"));
    qCDebug(lcFiles) << "one";
    TraceLog::stop();
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    EXPECT_TRUE(text.startsWith("header\n")) << text.constData();
    EXPECT_TRUE(text.contains("mk.files    one")) << text.constData();
    EXPECT_FALSE(text.contains("old run"));
    EXPECT_THROW(TraceLog::toFile(dir.path(), {}), Error);
    EXPECT_FALSE(TraceLog::running());
}

TEST(TraceLog, AReportLeavesTheFramesValuesOutUnlessAsked)
{
    // clang-format off
    const struct { const char *line, *shown; } rows[] = {
        {"send 08 fc 02 00 05 01 00 f6",              "send 08 fc 02 00 05 01 00 f6"},  // short: whole
        {"recv 0e fc 02 00 05 11 22 33 44 55 66 77 88 9a  accepted",
         "recv 0e fc 02 00 05 [8 байт скрыто] 9a  accepted"},
        {"sent 01 02 03 04 05 06 07 08 09, read 0a", "sent 01 02 03 04 05 [3 байт скрыто] 09, read 0a"},
        {"   12 ms mk.link     retry 2 of 3",          "   12 ms mk.link     retry 2 of 3"},
    };
    // clang-format on
    for (const auto &row : rows)
        EXPECT_EQ(withoutFrameValues(row.line), QByteArray(row.shown)) << row.line;
}

} // namespace
} // namespace mk::test
