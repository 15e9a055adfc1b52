// SPDX-License-Identifier: GPL-3.0-or-later
// The three programs keep the command-line conventions: --version, "--" ends the options, usage
// errors on stderr with exit 2, diff's 0/1/2, and output that could not be written is a failure.

#include "support/MktoolRun.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// stdoutFile: where standard output goes ("" = read back by the test); stdinFile: what standard
// input holds ("" = nothing).
ToolRun runProgram(const QString &program, const QStringList &args, const QString &dir, const QString &stdoutFile = {},
                   const QString &stdinFile = {})
{
    QProcess p;
    p.setWorkingDirectory(dir);
    if (!stdoutFile.isEmpty())
        p.setStandardOutputFile(stdoutFile);
    p.setStandardInputFile(stdinFile.isEmpty() ? QProcess::nullDevice() : stdinFile);
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
        // What is no settings file: text, and bytes whose header no device memory can have.
        QFile text(dir.filePath("notes.txt"));
        ASSERT_TRUE(text.open(QIODevice::WriteOnly));
        text.write(QByteArray("Поездка на дачу, расход 7,5 л.\n").repeated(300));
        text.close();
        QFile garbage(dir.filePath("garbage.tcset"));
        ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
        for (int i = 0; i < 8359; ++i)
            garbage.putChar(char(i * 7919 >> 3));
        garbage.close();
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
        {"mktool", {"info", "--", "-x.tcset"}, 0, "Код модели:", ""},
        {"mktool", {"info", "a.tcset"}, 0, "Секций занято:", ""},
        {"mktool", {"info", "garbage.tcset"}, 1, "", "mktool: Файл garbage.tcset не является файлом настроек МК"},
        {"mktool", {"info", "notes.txt", "--json"}, 1, "", "не является файлом настроек МК"},
        {"mktool", {"dump", "notes.txt"}, 1, "", "не является файлом настроек МК"},
        {"mktool", {"set", "-o", "q.tcset", "VelocityLimit=100", "--", "-x.tcset"}, 0, "", ""},
        {"mktool", {"set", "-o", "q.tcset", "VelocityLimit=100", "--", "-x.tcset", "a.tcset"}, 2, "", "после «--»"},
        {"mktool", {"set", "a.tcset", "VelocityLimit=100", "-o", "q.tcset"}, 0, "", ""},
        {"mktool", {"set", "a.tcset", "VelocityLimit=900", "-o", "q.tcset"}, 1, "", "mktool: VelocityLimit"},
        {"mktool", {"new", "-o", "n.tcset"}, 2, "", "нужны код модели и версия настроек"},
        {"mktool", {"new", "--model", "1", "-o", "n.tcset"}, 2, "", "--version"},
        {"mktool", {"backups", "--dir", "none"}, 0, "(копий нет)", ""},
        {"mktool", {"journals", "missing.tcset"}, 1, "", "mktool: Файл"},
        {"mktool", {"info", "-x.tcset"}, 2, "", "неизвестный параметр «-x.tcset»"},
        {"mktool", {"info", "--", "--help"}, 1, "", "не найден"},
        {"mktool", {"info", "--help"}, 0, "Использование: mktool info", ""},
        {"mktool", {"journals", "a.tcset", "-o"}, 2, "", "после «-o» нужно значение"},
        {"mktool", {"diff", "--json=1", "a.tcset", "b.tcset"}, 2, "", "не принимает значения"},
        {"mktool", {"diff", "a.tcset", "a.tcset"}, 0, "Различаются настройки: 0;", ""},
        {"mktool", {"diff", "a.tcset", "b.tcset"}, 1, "байты вне настроек: 1.", ""},
        {"mktool", {"diff", "a.tcset", "missing.tcset"}, 2, "", "mktool: Файл"},
        {"mktool", {"diff", "a.tcset", "garbage.tcset"}, 2, "", "не является файлом настроек МК"},
        {"mktool", {"diff", "notes.txt", "a.tcset"}, 2, "", "не является файлом настроек МК"},
        {"mktool", {"diff", "--", "-x.tcset", "a.tcset"}, 0, "Различаются настройки: 0;", ""},
        {"mktool", {"diff", "a.tcset"}, 2, "", "Использование: mktool diff"},
        {"mktool", {"journals", "a.tcset", "--trip", "--csv", "-o", "-"}, 0, "№,Дата и время записи", ""},
        {"mktool", {"journals", "a.tcset", "--csv", "-o", "-"}, 2, "", "в CSV одна таблица"},
        {"mktool", {"identify", "--wait", "1"}, 1, "", "Жду, пока МК появится (до 1 с"},
        {"mktool", {"read", "--port", "/dev/nonexistent-tty", "-o", "r.tcset"}, 1, "", "mktool: Порт"},
        {"mksim", {"--help"}, 0, "mksim 1.", ""},
        {"mksim", {"--version"}, 0, "mksim 1.", ""},
        {"mksim", {"--settings-version"}, 2, "", "после «--settings-version» нужно значение"},
        {"mksim", {"--settings-version", "x"}, 2, "", "--settings-version"},
        {"mksim", {"--", "x"}, 2, "", "лишний параметр «x»"},
        {"mkconf", {"--version"}, 0, "mkconf 1.", ""},
        {"mkconf", {"--help"}, 0, "--demo", ""},
        {"mkconf", {"-platform", "offscreen", "--demo-model", "3"}, 2, "", "--demo"},
        {"mkconf", {"-platform", "offscreen", "--bogus"}, 2, "", "«--bogus»"},
    };
    // A label is Russian: no line of mktool's text starts with an English word and a colon (the
    // program's name before a message is no label).
    const QRegularExpression englishLabel(QStringLiteral("^(?!mktool)[A-Za-z][A-Za-z ]*:"),
                                          QRegularExpression::MultilineOption);
    // What failed is said by mktool, naming itself ("mktool: ..." or "mktool COMMAND: ...").
    const QRegularExpression named(QStringLiteral("^mktool( [a-z]+)?: "), QRegularExpression::MultilineOption);
    for (const auto &c : cases) {
        const ToolRun r = runProgram(QString::fromLatin1(c.program), c.args, dir.path());
        const std::string what = std::string(c.program) + " " + c.args.join(u' ').toStdString();
        EXPECT_EQ(r.code, c.code) << what << "\n" << r.err.constData();
        EXPECT_TRUE(*c.out ? r.out.contains(c.out) : r.out.isEmpty()) << what << "\n" << r.out.constData();
        EXPECT_TRUE(*c.err ? r.err.contains(c.err) : r.err.isEmpty()) << what << "\n" << r.err.constData();
        if (QLatin1String(c.program) != QLatin1String("mktool"))
            continue;
        EXPECT_FALSE(QString::fromUtf8(r.out + r.err).contains(englishLabel)) << what << "\n" << r.out.constData();
        if (c.code != 0 && !r.err.isEmpty()) {
            EXPECT_TRUE(QString::fromUtf8(r.err).contains(named)) << what << "\n" << r.err.constData();
        }
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("-"))); // "-o -" is standard output, never a file
}

// "-" is standard input wherever a file is read: a settings file piped in, a profile piped in.
TEST_F(CommandLine, AFileArgumentDashIsStandardInput)
{
    ASSERT_EQ(mktool({"set", dir.filePath("a.tcset"), "VelocityLimit=100", "-o", dir.filePath("c0.tcset")}).code, 0);
    ASSERT_EQ(mktool({"profile", dir.filePath("c0.tcset"), "-o", dir.filePath("c.json")}).code, 0);
    const struct
    {
        QStringList args;
        const char *in; // the file standard input holds
        int code;
        const char *out;
        const char *err;
    } cases[] = {
        {{"info", "-"}, "a.tcset", 0, "Версия настроек:  1", ""},
        {{"diff", "-", "b.tcset"}, "a.tcset", 1, "Различаются", ""},
        {{"diff", "a.tcset", "-"}, "a.tcset", 0, "Различаются настройки: 0;", ""},
        {{"info", "-"}, "notes.txt", 1, "", "mktool: На стандартном вводе не файл настроек МК"},
        {{"diff", "a.tcset", "-"}, "garbage.tcset", 2, "", "На стандартном вводе не файл настроек МК"},
        {{"apply", "-", "a.tcset", "-o", "c.tcset"}, "c.json", 0, "Изменено настроек: 1", ""},
        {{"diff", "-", "-"}, "a.tcset", 2, "", "только один раз"},
        {{"new", "--model", "1", "--version", "1", "-o", "-"}, "notes.txt", 0, "", ""},
        {{"set", "-", "VelocityLimit=100", "-o", "-"}, "a.tcset", 0, "", ""},
    };
    for (const auto &c : cases) {
        const ToolRun r = runProgram(QStringLiteral("mktool"), c.args, dir.path(), {}, dir.filePath(c.in));
        const std::string what = c.args.join(u' ').toStdString() + " < " + c.in;
        EXPECT_EQ(r.code, c.code) << what << "\n" << r.err.constData();
        EXPECT_TRUE(*c.out ? r.out.contains(c.out) : !r.out.isEmpty() || c.code != 0) << what << "\n"
                                                                                      << r.out.constData();
        EXPECT_TRUE(*c.err ? r.err.contains(c.err) : r.err.isEmpty()) << what << "\n" << r.err.constData();
    }
    EXPECT_EQ(mktool({"diff", dir.filePath("a.tcset"), dir.filePath("c.tcset")}).code, 1); // the profile applied
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
        {"mksim", {"--version"}, 1},
        {"mkconf", {"--version"}, 1},
    };
    for (const auto &c : cases) {
        const ToolRun r = runProgram(QString::fromLatin1(c.program), c.args, dir.path(), QStringLiteral("/dev/full"));
        const std::string what = std::string(c.program) + " " + c.args.join(u' ').toStdString();
        EXPECT_EQ(r.code, c.code) << what;
        EXPECT_TRUE(r.err.contains("нет свободного места")) << what << "\n" << r.err.constData();
    }
}
