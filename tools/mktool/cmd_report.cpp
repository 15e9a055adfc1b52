// SPDX-License-Identifier: GPL-3.0-or-later
// mktool report: the support report (the system, its ports, the connection check, the settings
// file given, the last error and the recent exchanges' trace of the configurator).

#include "Command.h"
#include "base/TraceLog.h"
#include "image/ImageLayout.h"
#include "image/TMK.h"
#include "journals/JournalCsv.h"
#include "link/SupportReport.h"

#include <QDir>

namespace mk::tool {

namespace {

const QString kName = QStringLiteral("report");

// The last error the configurator showed, as its trace keeps it.
QString lastTracedError(const QByteArray &trace)
{
    const QByteArray marker = "error shown: ";
    const qsizetype at = trace.lastIndexOf(marker);
    if (at < 0)
        return {};
    const qsizetype from = at + marker.size();
    const qsizetype end = trace.indexOf('\n', from);
    return QString::fromUtf8(trace.mid(from, end < 0 ? -1 : end - from))
        .replace(QStringLiteral("\\n"), QStringLiteral("\n"));
}

int runReport(const QStringList &argv)
{
    const Args args(argv, {QStringLiteral("-o")}, {QStringLiteral("--journals")});
    if (!args.ok())
        return usageError(kName, args.error());
    if (!args.has(QStringLiteral("-o")))
        return usageError(kName, QStringLiteral("нужен -o ФАЙЛ (или -o - для стандартного вывода)"));
    if (args.positional().size() > 1)
        return usageError(kName, QStringLiteral("можно указать не больше одного файла настроек"));
    const QString output = args.value(QStringLiteral("-o"));
    checkOutputWritable(output);

    SupportReportInput in;
    in.program = QStringLiteral("mktool %1").arg(QStringLiteral(MK_VERSION));
    TMK model;
    if (!args.positional().isEmpty()) {
        loadSettings(model, args.positional().first(), SettingsCheck::Accept);
        in.settings = &model;
        in.settingsSource = shownInput(args.positional().first());
    }
    gatherSystemFacts(in);
    in.trace = TraceLog::rotatingTail(userStateFolder(), kReportTraceBytes);
    in.lastError = lastTracedError(in.trace);
    in.withPersonal = args.has(QStringLiteral("--journals"));
    if (in.withPersonal && in.settings)
        in.journals = journalsText(model.record(kTripsSection));
    writeOutput(output, supportReport(in).toUtf8());
    return kOk;
}

const CommandRegistrar kReport({kName, QStringLiteral("[FILE] -o OUT.txt [--journals]"),
                                QStringLiteral("сведения для поддержки: программа, система, порты, проверка "
                                               "подключения, модель и таблица секций FILE, последняя ошибка и "
                                               "трассировка последних обменов конфигуратора; журналы FILE и данные "
                                               "в кадрах - только с --journals"),
                                runReport});

} // namespace
} // namespace mk::tool
