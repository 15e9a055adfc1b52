// SPDX-License-Identifier: GPL-3.0-or-later
// mktool: the configurator's engine on the command line.

#include "Command.h"
#include "base/CommandLineErrors.h"
#include "base/Error.h"
#include "base/FileIo.h"
#include "base/StdStreams.h"
#include "base/TraceLog.h"
#include "image/RecordSync.h"
#include "image/SettingsFile.h"
#include "image/TMK.h"

#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QSysInfo>
#include <algorithm>
#include <cstdio>
#include <memory>

namespace mk::tool {

std::vector<Command> &commands()
{
    static std::vector<Command> list;
    return list;
}

void out(const QString &text) { writeStdout(text); }

void out(const QByteArray &bytes) { writeStdout(bytes); }

namespace {
bool g_stderrFailed = false;
}

void err(const QString &text)
{
    if (!writeStderr(text))
        g_stderrFailed = true;
}

void failure(const QString &text) { err(QStringLiteral("mktool: %1\n").arg(text)); }

int usageError(const QString &command, const QString &message)
{
    err(QStringLiteral("mktool %1: %2\n").arg(command, message));
    for (const Command &c : commands())
        if (c.name == command)
            err(QStringLiteral("Использование: mktool %1 %2\n").arg(c.name, c.usage));
    return kUsage;
}

void writeOutput(const QString &path, const QByteArray &data)
{
    if (path == QLatin1String("-")) {
        setStdoutBinary();
        writeStdout(data);
    } else {
        writeFileAtomically(path, data);
    }
}

void writeSettingsOutput(const TMK &model, const QString &path)
{
    writeOutput(path, encodeSettingsFile(model.modelCode(), model.image()));
}

void checkOutputWritable(const QString &path)
{
    if (path != QLatin1String("-"))
        checkFileWritable(path);
}

namespace {

QString optionName(QString option)
{
    while (option.startsWith(QLatin1Char('-')))
        option.remove(0, 1);
    return option;
}

} // namespace

Args::Args(const QStringList &args, const QStringList &valueOptions, const QStringList &flagOptions)
{
    QCommandLineParser parser;
    // "-json" is "--json"; short options are single letters ("-o").
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const QString &o : valueOptions)
        parser.addOption(QCommandLineOption(optionName(o), QString(), QStringLiteral("value")));
    for (const QString &o : flagOptions)
        parser.addOption(QCommandLineOption(optionName(o)));
    if (!parser.parse(QStringList{QStringLiteral("mktool")} + args)) {
        m_error = commandLineError(parser, args);
        return;
    }
    for (const QString &o : valueOptions)
        if (parser.isSet(optionName(o)))
            m_values[o] = parser.value(optionName(o));
    for (const QString &o : flagOptions)
        if (parser.isSet(optionName(o)))
            m_flags << o;
    m_positional = parser.positionalArguments();
    // What follows the first "--" is positional, in order, at the end of the list.
    if (const qsizetype end = args.indexOf(QStringLiteral("--")); end >= 0)
        m_afterEnd = std::min(m_positional.size(), args.size() - end - 1);
}

QStringList Args::afterEnd() const { return m_positional.mid(m_positional.size() - m_afterEnd); }

quint32 parseNumber(const QString &text, const QString &what, quint32 max)
{
    bool ok = false;
    const qulonglong v = text.trimmed().toULongLong(&ok, 0);
    if (!ok || v > max)
        throw Error(QStringLiteral("Недопустимое значение %1: \"%2\"").arg(what, text));
    return quint32(v);
}

namespace {
bool g_stdinRead = false;
}

QString shownInput(const QString &path)
{
    return path == QLatin1String("-") ? QStringLiteral("стандартный ввод") : QDir::toNativeSeparators(path);
}

QByteArray readInput(const QString &path, qint64 maxSize)
{
    if (path != QLatin1String("-"))
        return readWholeFile(path, maxSize);
    if (g_stdinRead)
        throw Error(ErrorKind::BadValue, QStringLiteral("Стандартный ввод («-») можно прочитать только один раз."));
    g_stdinRead = true;
    return readStdin(maxSize);
}

void loadSettings(TMK &model, const QString &path, SettingsCheck check)
{
    // Checked before the model changes: what no device memory can hold is no settings file, and
    // a report made from it would be invented.
    const SettingsFileContent content = decodeSettingsFile(readInput(path, kMaxSettingsFileSize));
    if (check == SettingsCheck::Refuse)
        if (const QString reason = impossibleHeaderReason(content.image); !reason.isEmpty())
            throw Error(ErrorKind::Damaged,
                        path == QLatin1String("-")
                            ? QStringLiteral("На стандартном вводе не файл настроек МК: %1").arg(reason)
                            : notSettingsFileText(path, content.image));
    model.replaceImage(content.modelCode, content.image);
    const QString warning = incompleteSettingsWarning(model);
    if (!warning.isEmpty())
        err(QStringLiteral("Предупреждение: %1\n").arg(warning));
}

namespace {

QString helpText()
{
    std::vector<Command> list = commands();
    std::sort(list.begin(), list.end(), [](const Command &a, const Command &b) { return a.name < b.name; });
    QString text = QStringLiteral("mktool: файлы настроек и устройства МК из командной строки\n\n"
                                  "Использование: mktool КОМАНДА [ПАРАМЕТРЫ] [--] [ФАЙЛЫ]\n"
                                  "  mktool --help      эта справка\n"
                                  "  mktool --version   версия программы\n"
                                  "  mktool --trace ФАЙЛ КОМАНДА ...\n"
                                  "                     трассировка обмена (кадры, их оценки, повторы) и работы\n"
                                  "                     с файлами в ФАЙЛ; «-» - в стандартный поток ошибок\n"
                                  "  --                 конец параметров: дальше только имена файлов\n"
                                  "  -o -               результат (текст, CSV, PNG) в стандартный вывод\n\n"
                                  "Команды:\n");
    for (const Command &c : list)
        text += QStringLiteral("  mktool %1 %2\n      %3\n").arg(c.name, c.usage, c.summary);
    text += QStringLiteral("\nКоды завершения:\n"
                           "  0  успех (diff: файлы одинаковы)\n"
                           "  1  операция не удалась (файл, устройство, значение; diff: файлы различаются); "
                           "сообщение в stderr\n"
                           "  2  неверная командная строка (diff: ошибка, например файла нет)\n"
                           "  3  прервано пользователем\n");
    return text;
}

// Qt's own notes (a missing XDG_RUNTIME_DIR, fonts of the off-screen drawing) are no business of
// the user's: stderr carries only mktool's messages.
void quietQtMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        (void)writeStderr(message + QLatin1Char('\n'));
}

int runCommand(const Command &c, const QStringList &args)
{
    const QStringList options = args.mid(0, args.contains(QStringLiteral("--")) ? args.indexOf(QStringLiteral("--"))
                                                                                 : args.size());
    if (options.contains(QLatin1String("--help")) || options.contains(QLatin1String("-h"))) {
        out(QStringLiteral("Использование: mktool %1 %2\n%3\n").arg(c.name, c.usage, c.summary));
        return kOk;
    }
    return c.run(args);
}

int run(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    // Everything after the command is the command's own.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    const QCommandLineOption trace(QStringLiteral("trace"), QString(), QStringLiteral("file"));
    parser.addOptions({help, version, trace});
    if (!parser.parse(arguments)) {
        err(QStringLiteral("mktool: %1; справка: mktool --help\n").arg(commandLineError(parser, arguments)));
        return kUsage;
    }
    QStringList args = parser.positionalArguments();
    if (parser.isSet(help) || args.value(0) == QLatin1String("help")) {
        out(helpText());
        return kOk;
    }
    if (parser.isSet(version)) {
        out(QStringLiteral("mktool %1\n").arg(QStringLiteral(MK_VERSION)));
        return kOk;
    }
    if (args.isEmpty()) {
        err(helpText());
        return kUsage;
    }
    if (parser.isSet(trace)) {
        const QString header = QStringLiteral("mktool %1, Qt %2, %3; %4")
                                   .arg(QStringLiteral(MK_VERSION), QString::fromLatin1(qVersion()),
                                        QSysInfo::prettyProductName(), args.join(QLatin1Char(' ')));
        if (parser.value(trace) == QLatin1String("-"))
            TraceLog::toStream(stderr, header);
        else
            TraceLog::toFile(parser.value(trace), header);
    }
    const QString name = args.takeFirst();
    for (const Command &c : commands())
        if (c.name == name)
            return runCommand(c, args);
    err(QStringLiteral("mktool: неизвестная команда «%1»; справка: mktool --help\n").arg(name));
    return kUsage;
}

} // namespace

} // namespace mk::tool

int main(int argc, char **argv)
{
    using namespace mk::tool;
    qInstallMessageHandler(quietQtMessages);
    // Drawing text needs a GUI application's fonts; it draws off screen, no display is used.
    // The command is the first word after the program's own options (--trace FILE).
    int command = 1;
    while (command + 1 < argc && qstrcmp(argv[command], "--trace") == 0)
        command += 2;
    const bool draws = argc > command && qstrcmp(argv[command], "osc") == 0;
    if (draws)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app(draws ? new QGuiApplication(argc, argv)
                                                      : new QCoreApplication(argc, argv));
    try {
        const int code = run(app->arguments());
        return code == kOk && g_stderrFailed ? kFailed : code; // a warning the user never saw
    } catch (const mk::Error &e) {
        failure(e.shownText());
        return kFailed;
    } catch (const std::exception &e) {
        failure(QStringLiteral("ошибка: %1").arg(QString::fromUtf8(e.what())));
        return kFailed;
    }
}
