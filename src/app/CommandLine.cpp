// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include "base/CommandLineErrors.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace mk {

namespace {

// Decimal, or hexadecimal with 0x.
bool parseNumber(const QString &text, quint32 limit, quint32 &value)
{
    bool ok = false;
    const qulonglong number = text.toULongLong(&ok, 0);
    if (!ok || number > limit)
        return false;
    value = quint32(number);
    return true;
}

} // namespace

CommandLine parseCommandLine(const QStringList &arguments)
{
    CommandLine options;
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    const QCommandLineOption demo(QStringLiteral("demo"));
    const QCommandLineOption demoModel(QStringLiteral("demo-model"), QString(), QStringLiteral("code"));
    const QCommandLineOption demoVersion(QStringLiteral("demo-version"), QString(), QStringLiteral("n"));
    parser.addOptions({help, version, demo, demoModel, demoVersion});
    if (!parser.parse(arguments)) {
        // Qt's own options (-platform, -style ...) were taken out by the application object.
        options.error = commandLineError(parser, arguments) + QStringLiteral(". Справка: mkconf --help");
        return options;
    }
    options.help = parser.isSet(help);
    options.version = parser.isSet(version);
    options.demo = parser.isSet(demo);
    for (const QCommandLineOption *option : {&demoModel, &demoVersion}) {
        if (!parser.isSet(*option))
            continue;
        const bool model = option == &demoModel;
        quint32 value = 0;
        if (!parseNumber(parser.value(*option), model ? 0xFFFFu : 0xFFFFFFFFu, value)) {
            options.error =
                QStringLiteral("--%1: неверное число «%2».").arg(option->names().first(), parser.value(*option));
            return options;
        }
        if (model)
            options.demoModel = quint16(value);
        else
            options.demoVersion = value;
        if (!options.demo) {
            options.error = QStringLiteral("--demo-model и --demo-version действуют только вместе с --demo.");
            return options;
        }
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        options.error = QStringLiteral("Лишний параметр «%1»: можно открыть только один файл.").arg(files[1]);
        return options;
    }
    // Made absolute now: the main window later changes the current folder.
    if (!files.isEmpty())
        options.file = QFileInfo(files.first()).absoluteFilePath();
    return options;
}

EarlyOption earlyOption(const QStringList &arguments)
{
    for (const QString &arg : arguments.mid(1)) {
        if (arg == QLatin1String("--"))
            break;
        if (arg == QLatin1String("--help") || arg == QLatin1String("-help") || arg == QLatin1String("-h"))
            return EarlyOption::Help;
        if (arg == QLatin1String("--version") || arg == QLatin1String("-version"))
            return EarlyOption::Version;
    }
    return EarlyOption::None;
}

QString commandLineHelp()
{
    return QStringLiteral("Использование: mkconf [--demo [--demo-model КОД] [--demo-version N]] [--] [ФАЙЛ.tcset]\n"
                          "\n"
                          "  ФАЙЛ.tcset          открыть файл настроек сразу при запуске\n"
                          "  --demo              работать с имитатором МК вместо настоящего устройства\n"
                          "  --demo-model КОД    код модели имитируемого МК (по умолчанию 1; можно 0x0101)\n"
                          "  --demo-version N    версия настроек в его памяти (по умолчанию 1)\n"
                          "  --version           показать версию программы и выйти\n"
                          "  --help              показать эту справку и выйти\n"
                          "  --                  конец параметров: дальше имя файла, даже если оно начинается с -\n");
}

} // namespace mk
