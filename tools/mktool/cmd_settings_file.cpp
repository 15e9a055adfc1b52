// SPDX-License-Identifier: GPL-3.0-or-later
// mktool new / info / dump: create and inspect settings files.

#include "Command.h"
#include "SettingsFileReport.h"
#include "base/Error.h"
#include "image/FactoryImage.h"
#include "image/SettingsFile.h"
#include "image/TMK.h"

#include <QJsonDocument>

namespace mk::tool {

namespace {

int runNew(const QStringList &argv)
{
    const Args args(
        argv,
        {QStringLiteral("--model"), QStringLiteral("--version"), QStringLiteral("--memory"), QStringLiteral("-o")}, {});
    if (!args.ok())
        return usageError(QStringLiteral("new"), args.error());
    if (!args.has(QStringLiteral("-o")) || !args.positional().isEmpty())
        return usageError(QStringLiteral("new"), QStringLiteral("нужен файл результата (-o ФАЙЛ.tcset)"));
    // A model or version guessed for the user would make a file for a device that may not exist.
    if (!args.has(QStringLiteral("--model")) || !args.has(QStringLiteral("--version")))
        return usageError(QStringLiteral("new"),
                          QStringLiteral("нужны код модели и версия настроек "
                                         "(--model КОД --version N; коды: mktool catalog models)"));
    quint16 model = 0;
    quint32 version = 0, memory = 0;
    try {
        model = quint16(parseNumber(args.value(QStringLiteral("--model")), QStringLiteral("--model"), 0xFFFF));
        // The model table is looked up with the version as a byte: a larger one could never be edited.
        version = parseNumber(args.value(QStringLiteral("--version")), QStringLiteral("--version"), 255);
        memory = parseNumber(args.value(QStringLiteral("--memory"), QStringLiteral("8192")), QStringLiteral("--memory"),
                             32768);
    } catch (const Error &e) {
        return usageError(QStringLiteral("new"), e.text());
    }
    if (memory != 8192 && memory != 32768)
        return usageError(QStringLiteral("new"), QStringLiteral("--memory - это 8192 или 32768"));
    TMK tmk;
    tmk.replaceImage(model, makeFreshImage(model, version, int(memory)));
    writeSettingsOutput(tmk, args.value(QStringLiteral("-o")));
    return kOk;
}

int runInfo(const QStringList &argv)
{
    const Args args(argv, {}, {QStringLiteral("--json")});
    if (!args.ok() || args.positional().size() != 1)
        return usageError(QStringLiteral("info"),
                          args.ok() ? QStringLiteral("нужен ровно один файл настроек") : args.error());
    TMK tmk;
    loadSettings(tmk, args.positional().first());
    if (args.has(QStringLiteral("--json")))
        out(QString::fromUtf8(QJsonDocument(infoJson(tmk)).toJson(QJsonDocument::Indented)));
    else
        out(infoText(tmk));
    return kOk;
}

int runDump(const QStringList &argv)
{
    const Args args(argv, {}, {});
    if (!args.ok() || args.positional().size() != 1)
        return usageError(QStringLiteral("dump"),
                          args.ok() ? QStringLiteral("нужен ровно один файл настроек") : args.error());
    TMK tmk;
    loadSettings(tmk, args.positional().first());
    out(QString::fromUtf8(QJsonDocument(dumpJson(tmk)).toJson(QJsonDocument::Indented)));
    return kOk;
}

const CommandRegistrar kNew({QStringLiteral("new"),
                             QStringLiteral("--model CODE --version N [--memory 8192|32768] -o FILE.tcset"),
                             QStringLiteral("записывает файл настроек с заводской памятью МК"), runNew});
const CommandRegistrar kInfo({QStringLiteral("info"), QStringLiteral("FILE [--json]"),
                              QStringLiteral("код модели, версия настроек, длина образа и таблица разделов"),
                              runInfo});
const CommandRegistrar
    kDump({QStringLiteral("dump"), QStringLiteral("FILE"),
           QStringLiteral(
               "JSON: код модели, версия настроек, каждая запись в шестнадцатеричном виде и каждая настройка по имени"),
           runDump});

} // namespace
} // namespace mk::tool
