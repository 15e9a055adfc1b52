// mktool journals: the journals of a settings file as the journals viewer shows and saves them.

#include "Command.h"
#include "base/FileIo.h"
#include "base/Text.h"
#include "image/SettingsFile.h"
#include "image/TMK.h"
#include "journals/FreezeFrame.h"
#include "journals/JournalCodeFormat.h"
#include "journals/JournalCsv.h"
#include "journals/JournalGrids.h"

namespace mk::tool {

namespace {

using Rows = QList<QStringList>;

// The error grid; each entry with a freeze frame is followed by the frame's rows, shifted one
// cell to the right.
Rows errorRows(const TMK &tmk)
{
    const Record &s12 = tmk.record(kErrorsSection);
    const Rows grid = errorGridRows(s12, journalErrorCodeFormat(tmk), errorCodeFlags(tmk.record(kVehicleSection)));
    Rows rows{grid.first()};
    for (int i = 0; i < kErrorEntryCount; ++i) {
        rows << grid[i + 1];
        for (QStringList frameRow : freezeFrameRows(s12, i)) {
            frameRow.prepend(QString());
            rows << frameRow;
        }
    }
    return rows;
}

// Every averages grid under its caption.
Rows averagesRows(const TMK &tmk)
{
    Rows rows;
    for (AccumulatorSet set : kAccumulatorSets) {
        rows << QStringList{accumulatorCaption(set)};
        rows << averagesGridRows(tmk.record(kCountersSection), set);
    }
    return rows;
}

// The CSV of one journal; without a choice every journal, each under its page's title and
// separated by an empty line.
int writeCsv(const TMK &tmk, const QString &part, const QStringList &parts, const Args &args)
{
    const auto rowsOf = [&](const QString &p) {
        if (p == parts[0])
            return journalCsvRows(tmk.record(kTripsSection), JournalKind::Trip);
        if (p == parts[1])
            return journalCsvRows(tmk.record(kTripsSection), JournalKind::Tank);
        if (p == parts[2])
            return errorCsvRows(tmk.record(kErrorsSection), journalErrorCodeFormat(tmk),
                                errorCodeFlags(tmk.record(kVehicleSection)));
        return averagesCsvRows(tmk.record(kCountersSection));
    };
    QByteArray text;
    if (!part.isEmpty()) {
        text = csvText(rowsOf(part));
    } else {
        const QStringList titles = {QStringLiteral("Журнал поездок"), QStringLiteral("Журнал заправок"),
                                    QStringLiteral("Журнал ошибок"), QStringLiteral("Средние")};
        for (int i = 0; i < parts.size(); ++i)
            text += csvText(Rows{{titles[i]}} + rowsOf(parts[i]) + Rows{{}});
    }
    if (args.has(QStringLiteral("-o")))
        writeOutput(args.value(QStringLiteral("-o")), text);
    else
        out(text);
    return kOk;
}

int runJournals(const QStringList &argv)
{
    const QStringList parts = {QStringLiteral("--trip"), QStringLiteral("--tank"), QStringLiteral("--errors"),
                               QStringLiteral("--averages")};
    const Args args(argv, {QStringLiteral("-o"), QStringLiteral("--encoding")},
                    parts + QStringList{QStringLiteral("--csv")});
    if (!args.ok() || args.positional().size() != 1)
        return usageError(QStringLiteral("journals"),
                          args.ok() ? QStringLiteral("нужен ровно один файл настроек") : args.error());
    QStringList chosen;
    for (const QString &p : parts)
        if (args.has(p))
            chosen << p;
    const QString encoding = args.value(QStringLiteral("--encoding"), QStringLiteral("windows-1251")).toLower();
    if (encoding != QLatin1String("windows-1251") && encoding != QLatin1String("utf-8"))
        return usageError(QStringLiteral("journals"), QStringLiteral("--encoding - это windows-1251 или utf-8"));
    const bool utf8 = encoding == QLatin1String("utf-8");
    const auto textOf = [utf8](const Rows &rows) { return utf8 ? gridTextUtf8(rows) : gridText(rows); };
    if (chosen.size() > 1)
        return usageError(QStringLiteral("journals"),
                          QStringLiteral("выберите одно из --trip, --tank, --errors, --averages"));

    const bool csv = args.has(QStringLiteral("--csv"));
    if (csv && args.has(QStringLiteral("--encoding")))
        return usageError(QStringLiteral("journals"), QStringLiteral("CSV всегда в UTF-8"));

    TMK tmk;
    loadSettings(tmk, args.positional().first());
    if (csv)
        return writeCsv(tmk, chosen.isEmpty() ? QString() : chosen.first(), parts, args);
    const auto rowsOf = [&](const QString &part) {
        if (part == parts[0])
            return journalGridRows(tmk.record(kTripsSection), JournalKind::Trip);
        if (part == parts[1])
            return journalGridRows(tmk.record(kTripsSection), JournalKind::Tank);
        if (part == parts[2])
            return errorRows(tmk);
        return averagesRows(tmk);
    };

    QByteArray text;
    if (chosen.size() == 1) {
        text = textOf(rowsOf(chosen.first()));
    } else {
        // Everything, each grid under the title of its page.
        const QStringList titles = {QStringLiteral("Журнал поездок"), QStringLiteral("Журнал заправок"),
                                    QStringLiteral("Журнал ошибок"), QStringLiteral("Средние")};
        for (int i = 0; i < parts.size(); ++i)
            text += textOf(Rows{{titles[i]}} + rowsOf(parts[i]) + Rows{{}});
    }
    if (args.has(QStringLiteral("-o")))
        writeOutput(args.value(QStringLiteral("-o")), text); // the viewer's file, byte for byte
    else
        out(utf8 ? QString::fromUtf8(text) : fromWin1251(text));
    return kOk;
}

const CommandRegistrar
    kJournals({QStringLiteral("journals"),
               QStringLiteral("FILE [--trip|--tank|--errors|--averages] [--csv] [-o OUT.txt [--encoding utf-8]]"),
               QStringLiteral("журналы, как их сохраняет окно журналов: ячейки через табуляцию, строки CR LF; "
                              "UTF-8 в терминале, Windows-1251 в OUT.txt (UTF-8 со строками LF "
                              "с --encoding utf-8); --csv: CSV в UTF-8, запись на строку, "
                              "даты как --MM-DDThh:mm"),
               runJournals});

} // namespace
} // namespace mk::tool
