#include "app/CommandLine.h"

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
    bool modelGiven = false;
    bool versionGiven = false;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            options.help = true;
        } else if (arg == QLatin1String("--version")) {
            options.version = true;
        } else if (arg == QLatin1String("--demo")) {
            options.demo = true;
        } else if (arg == QLatin1String("--demo-model") || arg == QLatin1String("--demo-version")) {
            const bool model = arg == QLatin1String("--demo-model");
            if (i + 1 >= arguments.size()) {
                options.error = QStringLiteral("После %1 нужно число.").arg(arg);
                return options;
            }
            quint32 value = 0;
            if (!parseNumber(arguments[++i], model ? 0xFFFFu : 0xFFFFFFFFu, value)) {
                options.error = QStringLiteral("%1: неверное число «%2».").arg(arg, arguments[i]);
                return options;
            }
            if (model) {
                options.demoModel = quint16(value);
                modelGiven = true;
            } else {
                options.demoVersion = value;
                versionGiven = true;
            }
        } else if (arg.startsWith(QLatin1Char('-'))) {
            // Qt's own options (-platform, -style ...) were taken out by the application object.
            options.error = QStringLiteral("Неизвестный параметр «%1». Справка: mkconf --help").arg(arg);
            return options;
        } else if (options.file.isEmpty()) {
            // Made absolute now: the main window later changes the current folder.
            options.file = QFileInfo(arg).absoluteFilePath();
        } else {
            options.error = QStringLiteral("Лишний параметр «%1»: можно открыть только один файл.").arg(arg);
            return options;
        }
    }
    if ((modelGiven || versionGiven) && !options.demo)
        options.error = QStringLiteral("--demo-model и --demo-version действуют только вместе с --demo.");
    return options;
}

QString commandLineHelp()
{
    return QStringLiteral("Использование: mkconf [ФАЙЛ.tcset] [--demo [--demo-model КОД] [--demo-version N]]\n"
                          "\n"
                          "  ФАЙЛ.tcset          открыть файл настроек сразу при запуске\n"
                          "  --demo              работать с имитатором МК вместо настоящего устройства\n"
                          "  --demo-model КОД    код модели имитируемого МК (по умолчанию 1; можно 0x0101)\n"
                          "  --demo-version N    версия настроек в его памяти (по умолчанию 1)\n"
                          "  --version           показать версию программы и выйти\n"
                          "  --help              показать эту справку и выйти\n");
}

} // namespace mk
