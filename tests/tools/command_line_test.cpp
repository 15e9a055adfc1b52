// SPDX-License-Identifier: GPL-3.0-or-later
// The three programs keep the command-line conventions: --version, "--" ends the options, usage
// errors on stderr with exit 2, diff's 0/1/2, and output that could not be written is a failure.

#include "support/MktoolRun.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// stdoutFile: where standard output goes ("" = read back by the test).
ToolRun runProgram(const QString &program, const QStringList &args, const QString &dir, const QString &stdoutFile = {})
{
    QProcess p;
    p.setWorkingDirectory(dir);
    if (!stdoutFile.isEmpty())
        p.setStandardOutputFile(stdoutFile);
    p.start(QStringLiteral(MK_BIN_DIR "/") + program, args);
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError(), {}};
}

class CommandLine : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(mktool({"new", "--model", "1", "--version", "1", "-o", dir.filePath("a.tcset")}).code, 0);
        ASSERT_EQ(mktool({"new", "--model", "1", "--version", "2", "-o", dir.filePath("b.tcset")}).code, 0);
        ASSERT_TRUE(QFile::copy(dir.filePath("a.tcset"), dir.filePath("-x.tcset")));
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(CommandLine, ExitCodesVersionAndTheEndOfOptions)
{
    const struct
    {
        const char *program;
        QStringList args;
        int code;
        const char *out; // a text the output holds ("" = nothing is printed)
        const char *err; // a text stderr holds ("" = stderr is empty)
    } cases[] = {
        {"mktool", {}, 2, "", "Использование: mktool"},
        {"mktool", {"--version"}, 0, "mktool 1.", ""},
        {"mktool", {"--help"}, 0, "Коды завершения", ""},
        {"mktool", {"--bogus"}, 2, "", "«--bogus»"},
        {"mktool", {"nosuch"}, 2, "", "«nosuch»"},
        {"mktool", {"info", "--", "-x.tcset"}, 0, "model code", ""},
        {"mktool", {"info", "-x.tcset"}, 2, "", "неизвестный параметр «-x.tcset»"},
        {"mktool", {"info", "--", "--help"}, 1, "", "не найден"},
        {"mktool", {"info", "--help"}, 0, "Использование: mktool info", ""},
        {"mktool", {"journals", "a.tcset", "-o"}, 2, "", "после «-o» нужно значение"},
        {"mktool", {"diff", "--json=1", "a.tcset", "b.tcset"}, 2, "", "не принимает значения"},
        {"mktool", {"diff", "a.tcset", "a.tcset"}, 0, "Различаются настройки: 0;", ""},
        {"mktool", {"diff", "a.tcset", "b.tcset"}, 1, "байты вне настроек: 1.", ""},
        {"mktool", {"diff", "a.tcset", "missing.tcset"}, 2, "", "не найден"},
        {"mktool", {"diff", "a.tcset"}, 2, "", "Использование: mktool diff"},
        {"mktool", {"journals", "a.tcset", "--trip", "--csv", "-o", "-"}, 0, "№,Дата и время записи", ""},
        {"mktool", {"journals", "a.tcset", "--csv", "-o", "-"}, 2, "", "в CSV одна таблица"},
        {"mktool", {"identify", "--wait", "1"}, 1, "", "Жду, пока МК появится (до 1 с"},
        {"mksim", {"--help"}, 0, "mksim 1.", ""},
        {"mksim", {"--version"}, 2, "", "после «--version» нужно значение"},
        {"mksim", {"--version", "x"}, 2, "", "--version"},
        {"mksim", {"--", "x"}, 2, "", "лишний параметр «x»"},
        {"mkconf", {"--version"}, 0, "mkconf 1.", ""},
        {"mkconf", {"--help"}, 0, "--demo", ""},
        {"mkconf", {"-platform", "offscreen", "--demo-model", "3"}, 2, "", "--demo"},
        {"mkconf", {"-platform", "offscreen", "--bogus"}, 2, "", "«--bogus»"},
    };
    for (const auto &c : cases) {
        const ToolRun r = runProgram(QString::fromLatin1(c.program), c.args, dir.path());
        const std::string what = std::string(c.program) + " " + c.args.join(u' ').toStdString();
        EXPECT_EQ(r.code, c.code) << what << "\n" << r.err.constData();
        EXPECT_TRUE(*c.out ? r.out.contains(c.out) : r.out.isEmpty()) << what << "\n" << r.out.constData();
        EXPECT_TRUE(*c.err ? r.err.contains(c.err) : r.err.isEmpty()) << what << "\n" << r.err.constData();
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("-"))); // "-o -" is standard output, never a file
}

// Output nobody could take (a full disk behind stdout) is a Russian message and a failure, never
// a success; diff says "trouble" (2), not "different".
TEST_F(CommandLine, OutputThatCannotBeWrittenFails)
{
    const struct
    {
        const char *program;
        QStringList args;
        int code;
    } cases[] = {
        {"mktool", {"info", "a.tcset"}, 1},
        {"mktool", {"--help"}, 1},
        {"mktool", {"--version"}, 1},
        {"mktool", {"journals", "a.tcset", "--trip", "--csv"}, 1},
        {"mktool", {"journals", "a.tcset", "-o", "-"}, 1},
        {"mktool", {"render", "a.tcset", "--screen", "x6", "-o", "-"}, 1},
        {"mktool", {"diff", "a.tcset", "b.tcset"}, 2},
        {"mksim", {"--help"}, 1},
        {"mkconf", {"--version"}, 1},
    };
    for (const auto &c : cases) {
        const ToolRun r = runProgram(QString::fromLatin1(c.program), c.args, dir.path(), QStringLiteral("/dev/full"));
        const std::string what = std::string(c.program) + " " + c.args.join(u' ').toStdString();
        EXPECT_EQ(r.code, c.code) << what;
        EXPECT_TRUE(r.err.contains("нет свободного места")) << what << "\n" << r.err.constData();
    }
}
