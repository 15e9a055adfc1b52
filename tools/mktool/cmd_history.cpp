// SPDX-License-Identifier: GPL-3.0-or-later
// mktool history: the trip history database: adding the journals of settings files, showing
// what is held, the cars.

#include "Command.h"
#include "SystemWords.h"
#include "base/Error.h"
#include "history/CarNames.h"
#include "history/HistoryCsv.h"
#include "history/HistoryDatabase.h"
#include "image/TMK.h"
#include "journals/JournalCsv.h"
#include "journals/JournalGrids.h"
#include "session/HistoryAdd.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QFileInfo>

namespace mk::tool {

namespace {

using Rows = QList<QStringList>;

QString dbPath(const Args &args) { return args.value(QStringLiteral("--db"), HistoryDatabase::defaultPath()); }
QString carName(const Args &args) { return args.value(QStringLiteral("--car"), HistoryDatabase::defaultCarName()); }

// Without --car: the only car when there is one, as the history window opens it.
QString shownCar(const Args &args, const HistoryDatabase &db)
{
    if (args.has(QStringLiteral("--car")))
        return args.value(QStringLiteral("--car"));
    const QStringList cars = db.cars();
    return cars.size() == 1 ? cars.first() : HistoryDatabase::defaultCarName();
}

// Columns padded to their widest cell, numbers to the right, for reading on a terminal.
QByteArray alignedText(const Rows &rows)
{
    QList<qsizetype> widths;
    for (const QStringList &row : rows)
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (widths.size() <= i)
                widths << 0;
            widths[i] = qMax(widths[i], row[i].size());
        }
    static const QRegularExpression number(QStringLiteral("^-?[0-9]+([.,][0-9]+)?$"));
    QString text;
    for (const QStringList &row : rows) {
        QString line;
        for (qsizetype i = 0; i < row.size(); ++i) {
            const bool right = number.match(row[i]).hasMatch();
            line += (right ? row[i].rightJustified(widths[i]) : row[i].leftJustified(widths[i])) +
                    QStringLiteral("  ");
        }
        text += line.trimmed().isEmpty() ? QString() : QString(line).remove(QRegularExpression(QStringLiteral("\\s+$")));
        text += QLatin1Char('\n');
    }
    return text.toUtf8();
}

// The rows as JSON objects keyed by the header's captions.
QJsonArray jsonRows(const Rows &rows)
{
    QJsonArray list;
    for (qsizetype r = 1; r < rows.size(); ++r) {
        QJsonObject o;
        for (qsizetype i = 0; i < rows[r].size() && i < rows.first().size(); ++i)
            o[rows.first()[i]] = rows[r][i];
        list.append(o);
    }
    return list;
}

int runAdd(const QStringList &argv)
{
    const Args args(argv, {QStringLiteral("--car"), QStringLiteral("--read-date"), QStringLiteral("--db")}, {});
    if (!args.ok() || args.positional().isEmpty())
        return usageError(QStringLiteral("history"),
                          args.ok() ? QStringLiteral("history add: нужен хотя бы один файл настроек") : args.error());
    QDateTime readTime;
    if (args.has(QStringLiteral("--read-date"))) {
        const QDate date = QDate::fromString(args.value(QStringLiteral("--read-date")), Qt::ISODate);
        if (!date.isValid())
            return usageError(QStringLiteral("history"), QStringLiteral("--read-date - это ГГГГ-ММ-ДД"));
        readTime = QDateTime(date, QTime(23, 59)); // anything recorded that day is not after the read
    }
    const QString car = carName(args);
    if (const QString problem = carNameProblem(car); !problem.isEmpty())
        throw Error(problem);
    // Every file is read before the database is opened: a bad file adds nothing.
    struct Loaded
    {
        TMK tmk;
        JournalsOrigin origin;
    };
    std::vector<Loaded> loaded(size_t(args.positional().size()));
    for (int i = 0; i < args.positional().size(); ++i) {
        const QString &file = args.positional()[i];
        Loaded &l = loaded[size_t(i)];
        loadSettings(l.tmk, file);
        if (file == QLatin1String("-")) // read now, from standard input
            l.origin = {readTime.isValid() ? readTime : QDateTime::currentDateTime(), shownInput(file)};
        else
            l.origin = fileOrigin(file, readTime.isValid() ? readTime : QFileInfo(file).lastModified());
    }
    HistoryDatabase db(dbPath(args));
    for (int i = 0; i < int(loaded.size()); ++i) {
        const HistoryAddResult r = addToHistory(db, car, loaded[size_t(i)].tmk, loaded[size_t(i)].origin);
        QString line = QStringLiteral("%1: добавлено поездок %2, заправок %3, ошибок %4")
                           .arg(args.positional()[i])
                           .arg(r.trips)
                           .arg(r.refuellings)
                           .arg(r.errors);
        if (r.uncertain > 0)
            line += QStringLiteral(" (год не определён у %1)").arg(r.uncertain);
        out(line + QLatin1Char('\n'));
    }
    return kOk;
}

int runShow(const QStringList &argv)
{
    const QStringList parts = {QStringLiteral("--trips"), QStringLiteral("--tank"), QStringLiteral("--errors"),
                               QStringLiteral("--months")};
    const Args args(argv,
                    {QStringLiteral("--car"), QStringLiteral("--db"), QStringLiteral("--from"), QStringLiteral("--to"),
                     QStringLiteral("--csv-dialect")},
                    parts + QStringList{QStringLiteral("--csv"), QStringLiteral("--json")});
    if (!args.ok() || !args.positional().isEmpty())
        return usageError(QStringLiteral("history"),
                          args.ok() ? QStringLiteral("history show: файлы здесь не нужны") : args.error());
    QStringList chosen;
    for (const QString &p : parts)
        if (args.has(p))
            chosen << p;
    if (chosen.size() > 1)
        return usageError(QStringLiteral("history"),
                          QStringLiteral("выберите одно из --trips, --tank, --errors, --months"));
    const bool csv = args.has(QStringLiteral("--csv")), json = args.has(QStringLiteral("--json"));
    if (csv && json)
        return usageError(QStringLiteral("history"), QStringLiteral("выберите одно из --csv, --json"));
    if (csv && chosen.isEmpty())
        return usageError(QStringLiteral("history"),
                          QStringLiteral("в CSV одна таблица: выберите одно из --trips, --tank, --errors, --months"));
    const std::optional<CsvDialect> dialect =
        csvDialectByKey(args.value(QStringLiteral("--csv-dialect"), QStringLiteral("plain")));
    if (!dialect || (!csv && args.has(QStringLiteral("--csv-dialect"))))
        return usageError(QStringLiteral("history"), QStringLiteral("--csv-dialect - это plain или excel-ru, вместе с --csv"));

    HistoryPeriod period;
    for (auto [option, date] :
         {std::pair{QStringLiteral("--from"), &period.from}, std::pair{QStringLiteral("--to"), &period.to}}) {
        if (!args.has(option))
            continue;
        *date = QDate::fromString(args.value(option), Qt::ISODate);
        if (!date->isValid())
            return usageError(QStringLiteral("history"), option + QStringLiteral(" - это ГГГГ-ММ-ДД"));
    }

    const HistoryDatabase db(dbPath(args), HistoryDatabase::Access::ReadOnly);
    const QString car = shownCar(args, db);
    // Programs get ISO dates (--csv, --json); a person reads them as the windows show them.
    const HistoryDateStyle dates = csv || json ? HistoryDateStyle::Iso : HistoryDateStyle::Shown;
    const auto rowsOf = [&](const QString &part) {
        if (part == parts[0])
            return historyJournalRows(db.journal(car, JournalKind::Trip, period), dates);
        if (part == parts[1])
            return historyJournalRows(db.journal(car, JournalKind::Tank, period), dates);
        if (part == parts[2])
            return historyErrorRows(db.errors(car, period), dates);
        return monthlyTotalsRows(db.monthlyTotals(car, period));
    };
    const QStringList titles = {QStringLiteral("Журнал поездок"), QStringLiteral("Журнал заправок"),
                                QStringLiteral("Журнал ошибок"), QStringLiteral("По месяцам")};
    const QStringList shown = chosen.isEmpty() ? parts.mid(0, 3) : chosen;
    if (json) {
        QJsonObject o{{QStringLiteral("car"), car}};
        for (const QString &part : shown)
            o[part.mid(2)] = jsonRows(rowsOf(part));
        out(QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Indented)));
        return kOk;
    }
    QByteArray text;
    for (const QString &part : shown) {
        const Rows rows = rowsOf(part);
        const Rows titled = chosen.isEmpty() ? Rows{{titles[parts.indexOf(part)]}} + rows + Rows{{}} : rows;
        text += csv ? csvText(titled, *dialect) : alignedText(titled);
    }
    // A CSV file's bytes; the table for a person is text, with the system's line ends.
    if (csv)
        out(text);
    else
        out(QString::fromUtf8(text));
    return kOk;
}

int runCars(const QStringList &argv)
{
    const Args args(argv, {QStringLiteral("--db")}, {});
    if (!args.ok() || !args.positional().isEmpty())
        return usageError(QStringLiteral("history"),
                          args.ok() ? QStringLiteral("history cars: файлы здесь не нужны") : args.error());
    const HistoryDatabase db(dbPath(args), HistoryDatabase::Access::ReadOnly);
    // One line each, whatever a name held from elsewhere may contain.
    for (const QString &car : db.cars())
        out(printableCarName(car) + QLatin1Char('\n'));
    return kOk;
}

int runHistory(const QStringList &argv)
{
    const QString sub = argv.value(0);
    if (sub == QLatin1String("add"))
        return runAdd(argv.mid(1));
    if (sub == QLatin1String("show"))
        return runShow(argv.mid(1));
    if (sub == QLatin1String("cars"))
        return runCars(argv.mid(1));
    return usageError(QStringLiteral("history"), QStringLiteral("нужно add, show или cars"));
}

const CommandRegistrar
    kHistory({QStringLiteral("history"),
              QStringLiteral(
                  "add FILE... [--car NAME] [--read-date YYYY-MM-DD] [--db PATH] | "
                  "show [--car NAME] [--trips|--tank|--errors|--months] [--from YYYY-MM-DD] [--to YYYY-MM-DD] "
                  "[--csv [--csv-dialect plain|excel-ru]|--json] [--db PATH] | cars [--db PATH]"),
              QStringLiteral("история поездок, накопленная по считываниям (%1, если не задан "
                             "--db): add добавляет журналы файлов настроек в историю автомобиля (\"Мой автомобиль\", "
                             "если не задан --car), пропуская уже известные записи; год каждой записи берётся из "
                             "--read-date или времени файла; show печатает историю выровненной таблицей с датами "
                             "дд.мм.гггг чч:мм (без --car - единственного автомобиля, если он один; --from/--to: только "
                             "эти дни включительно, без записей с неясным годом; для программ --csv: одна таблица в CSV и "
                             "--json, оба с датами ISO; --csv-dialect excel-ru: CSV для таблиц на русском; "
                             "--months: итоги по месяцам); cars - список автомобилей")
                  .arg(dataFolderShown() + QDir::separator() + QStringLiteral("history.sqlite")),
              runHistory});

} // namespace
} // namespace mk::tool
