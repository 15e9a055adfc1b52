// SPDX-License-Identifier: GPL-3.0-or-later
// mktool --trace on a faulty mksim line: every refused answer is in the trace with its verdict,
// every failed attempt is followed by a retry or a give-up; and mktool report, which holds the
// configurator's recent trace and no journal unless asked.

#include "image/FactoryImage.h"
#include "image/SettingsFile.h"
#include "image/TMK.h"
#include "support/Mksim.h"
#include "support/MktoolRun.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace mk::test {
namespace {

QByteArray fileText(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct TraceLine
{
    QString category, text;
};

QList<TraceLine> traceLines(const QByteArray &trace)
{
    static const QRegularExpression shape(QStringLiteral("^ *\\d+ ms (mk\\.[a-z]+) +(.*)$"));
    QList<TraceLine> lines;
    for (const QByteArray &line : trace.split('\n')) {
        const QRegularExpressionMatch m = shape.match(QString::fromUtf8(line));
        if (m.hasMatch())
            lines.append({m.captured(1), m.captured(2)});
    }
    return lines;
}

// The verdict of an answer that fails its attempt.
bool failsAttempt(const QString &recv)
{
    for (const char *verdict : {"  checksum", "  busy", "  wrong shape", "  no answer", "  incomplete"})
        if (recv.contains(QLatin1String(verdict)))
            return true;
    return false;
}

TEST(Trace, AFaultyLineShowsEveryRefusedAnswerWithItsVerdictAndEveryRetry)
{
    // clang-format off
    const struct { const char *fault, *verdict; } cases[] = {
        {"bad-checksum:0.03", "  checksum after"},
        {"busy:0.03",         "  busy after"},
        {"zero-header:0.03",  "  wrong shape after"},
        {"short-frame:0.03",  "  wrong shape (no frame length)"},
        {"silence:0.03",      "  no answer in"},
        {"drop-byte:0.03",    "  incomplete ("},
        {"duplicate:0.03",    "  duplicate ("},
        {"late:0.03",         "  late (drained)"},
    };
    // clang-format on
    QTemporaryDir dir;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.fault);
        MksimProcess sim(
            {QStringLiteral("--fault"), QLatin1String(c.fault), QStringLiteral("--seed"), QStringLiteral("3")});
        ASSERT_FALSE(sim.path().isEmpty()) << sim.error().toStdString();
        // The busy line's trace goes to stderr, the others to a file.
        const bool toStderr = QByteArray(c.fault).startsWith("busy");
        const QString tracePath = dir.filePath(QStringLiteral("trace.txt"));
        const ToolRun read = mktool({QStringLiteral("--trace"), toStderr ? QStringLiteral("-") : tracePath,
                                     QStringLiteral("read"), QStringLiteral("--port"), sim.path(), QStringLiteral("-o"),
                                     dir.filePath(QStringLiteral("got.tcset"))});
        sim.stop();
        EXPECT_TRUE(read.code == 0 || read.code == 1) << read.err.constData();
        const QByteArray trace = toStderr ? read.err : fileText(tracePath);
        EXPECT_TRUE(trace.startsWith("mktool ")) << trace.left(200).constData();
        const QList<TraceLine> lines = traceLines(trace);
        int refused = 0, decided = 0, withVerdict = 0;
        bool owed = false; // a failed attempt waits for its decision
        for (const TraceLine &line : lines) {
            if (line.category != QLatin1String("mk.link"))
                continue;
            if (line.text.contains(QLatin1String(c.verdict)))
                ++withVerdict;
            if (line.text.startsWith(QLatin1String("recv ")) && failsAttempt(line.text)) {
                EXPECT_FALSE(owed) << "two failed answers without a decision: " << line.text.toStdString();
                owed = true;
                ++refused;
            } else if (line.text.startsWith(QLatin1String("retry ")) ||
                       line.text.startsWith(QLatin1String("give up "))) {
                EXPECT_TRUE(owed) << "a decision without a failed answer: " << line.text.toStdString();
                owed = false;
                ++decided;
            } else if (line.text.startsWith(QLatin1String("send "))) {
                EXPECT_FALSE(owed) << "a request went out before the failed answer's decision";
            } else if (line.text.startsWith(QLatin1String("recv "))) {
                EXPECT_TRUE(line.text.contains(QLatin1String("  accepted after")) ||
                            line.text.contains(QLatin1String("  duplicate (")) ||
                            line.text.contains(QLatin1String("  late (")) ||
                            line.text.contains(QLatin1String("  stale (")))
                    << line.text.toStdString();
            }
        }
        EXPECT_GE(withVerdict, 1) << "no answer with the verdict";
        EXPECT_EQ(refused, decided);
        if (read.code == 0) {
            EXPECT_GT(lines.size(), 500); // every block's request and answer
        }
    }
}

TEST(Trace, MktoolReportHoldsTheRecentTraceAndNoJournalUnlessAsked)
{
    QTemporaryDir dir;
    const QString state = dir.filePath(QStringLiteral("state"));
    ASSERT_TRUE(QDir().mkpath(state + QStringLiteral("/mkconf")));
    {
        QFile trace(state + QStringLiteral("/mkconf/trace.log"));
        ASSERT_TRUE(trace.open(QIODevice::WriteOnly));
        trace.write("--- mkconf, started\n"
                    "      10 ms mk.link     send 08 fc 02 00 05 01 00 f6\n"
                    "      12 ms mk.link     recv 0e fc 02 00 05 11 22 33 44 55 66 77 88 9a  checksum after 2 ms\n"
                    "      13 ms mk.link     retry 2 of 3 in 50 ms\n"
                    "      20 ms mk.errors   error shown: МК не ответил.\\nПроверьте кабель.\n");
    }
    const QString settings = dir.filePath(QStringLiteral("car.tcset"));
    TMK model;
    model.replaceImage(0x0101, makeFactoryImage(0x0101, 0));
    saveSettingsFile(model, settings);

    const auto report = [&](const QStringList &extra) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_STATE_HOME"), state);
        p.setProcessEnvironment(env);
        p.start(mktoolPath(),
                QStringList{QStringLiteral("report"), settings, QStringLiteral("-o"), QStringLiteral("-")} + extra);
        p.waitForFinished(60000);
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
        return QString::fromUtf8(p.readAllStandardOutput());
    };
    const QString plain = report({});
    for (const QString &part :
         {QStringLiteral("Программа: mktool "), QStringLiteral("Qt: "), QStringLiteral("Система: "),
          QStringLiteral("== Порты =="), QStringLiteral("== Проверка подключения =="), QStringLiteral("Модель: "),
          QStringLiteral("(0x0101)"), QStringLiteral("Версия настроек: 0"), QStringLiteral("Таблица секций"),
          QStringLiteral("МК не ответил.\nПроверьте кабель."),
          QStringLiteral("recv 0e fc 02 00 05 [8 байт скрыто] 9a  checksum after 2 ms"),
          QStringLiteral("retry 2 of 3")})
        EXPECT_TRUE(plain.contains(part)) << part.toStdString() << "\n" << plain.toStdString();
    EXPECT_FALSE(plain.contains(QStringLiteral("Журнал"))) << plain.toStdString();
    EXPECT_FALSE(plain.contains(QStringLiteral("11 22 33")));

    const QString personal = report({QStringLiteral("--journals")});
    EXPECT_TRUE(personal.contains(QStringLiteral("Журнал поездок:"))) << personal.toStdString();
    EXPECT_TRUE(personal.contains(QStringLiteral("Журнал заправок:")));
    EXPECT_TRUE(personal.contains(QStringLiteral("11 22 33 44 55 66 77 88 9a")));
}

} // namespace
} // namespace mk::test
