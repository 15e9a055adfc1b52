// SPDX-License-Identifier: GPL-3.0-or-later
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

#include <QDir>
#include <QFileInfo>

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

// The CSV of one journal; a CSV file holds one table, so without a choice every journal goes to
// a file of its own beside OUT (OUT-trip.csv, OUT-tank.csv ...), and to the terminal only one.
int writeCsv(const TMK &tmk, const QString &part, const QStringList &parts, const Args &args, CsvDialect dialect)
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
    const QString target = args.value(QStringLiteral("-o"), QStringLiteral("-"));
    if (!part.isEmpty()) {
        writeOutput(target, csvText(rowsOf(part), dialect));
        return kOk;
    }
    if (target == QLatin1String("-"))
        return usageError(QStringLiteral("journals"),
                          QStringLiteral("в CSV одна таблица: выберите одно из --trip, --tank, --errors, --averages "
                                         "или дайте -o для файла на каждый журнал"));
    const QFileInfo named(target);
    const QString stem = named.suffix().compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0
                             ? named.path() + QLatin1Char('/') + named.completeBaseName()
                             : target;
    for (const QString &p : parts) {
        const QString path = stem + QLatin1Char('-') + p.mid(2) + QStringLiteral(".csv");
        writeOutput(path, csvText(rowsOf(p), dialect));
        out(QDir::toNativeSeparators(path) + QLatin1Char('\n'));
    }
    return kOk;
}

int runJournals(const QStringList &argv)
{
    const QStringList parts = {QStringLiteral("--trip"), QStringLiteral("--tank"), QStringLiteral("--errors"),
                               QStringLiteral("--averages")};
    const Args args(argv, {QStringLiteral("-o"), QStringLiteral("--encoding"), QStringLiteral("--csv-dialect")},
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

    const std::optional<CsvDialect> dialect =
        csvDialectByKey(args.value(QStringLiteral("--csv-dialect"), QStringLiteral("plain")));
    if (!dialect || (!csv && args.has(QStringLiteral("--csv-dialect"))))
        return usageError(QStringLiteral("journals"), QStringLiteral("--csv-dialect - это plain или excel-ru, вместе с --csv"));

    TMK tmk;
    loadSettings(tmk, args.positional().first());
    if (csv)
        return writeCsv(tmk, chosen.isEmpty() ? QString() : chosen.first(), parts, args, *dialect);
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
               QStringLiteral("FILE [--trip|--tank|--errors|--averages] [--csv [--csv-dialect plain|excel-ru]] "
                              "[-o OUT.txt [--encoding utf-8]]"),
               QStringLiteral("журналы, как их сохраняет окно журналов: ячейки через табуляцию, строки CR LF; "
                              "UTF-8 в терминале, Windows-1251 в OUT.txt (UTF-8 со строками LF "
                              "с --encoding utf-8); --csv: один журнал в CSV, запись на строку "
                              "(без выбора журнала -o OUT.csv пишет OUT-trip.csv, OUT-tank.csv, "
                              "OUT-errors.csv, OUT-averages.csv); plain: UTF-8, ',' и '.', даты как "
                              "--MM-DDThh:mm; excel-ru: для таблиц на русском, UTF-8 с BOM, ';', "
                              "десятичная запятая, даты как ДД.ММ.???? чч:мм"),
               runJournals});

} // namespace
} // namespace mk::tool
