// mktool history: the trip history database: adding the journals of settings files, showing
// what is held, the cars.

#include "Command.h"
#include "base/Error.h"
#include "history/CarNames.h"
#include "history/HistoryCsv.h"
#include "history/HistoryDatabase.h"
#include "image/TMK.h"
#include "journals/JournalCsv.h"
#include "journals/JournalGrids.h"

#include <QDir>
#include <QFileInfo>

namespace mk::tool {

namespace {

using Rows = QList<QStringList>;

QString dbPath(const Args &args) { return args.value(QStringLiteral("--db"), HistoryDatabase::defaultPath()); }
QString carName(const Args &args) { return args.value(QStringLiteral("--car"), HistoryDatabase::defaultCarName()); }

int runAdd(const QStringList &argv)
{
    const Args args(argv, {QStringLiteral("--car"), QStringLiteral("--read-date"), QStringLiteral("--db")}, {});
    if (!args.ok() || args.positional().isEmpty())
        return usageError(QStringLiteral("history"),
                          args.ok() ? QStringLiteral("history add needs at least one settings file") : args.error());
    QDateTime readTime;
    if (args.has(QStringLiteral("--read-date"))) {
        const QDate date = QDate::fromString(args.value(QStringLiteral("--read-date")), Qt::ISODate);
        if (!date.isValid())
            return usageError(QStringLiteral("history"), QStringLiteral("--read-date is YYYY-MM-DD"));
        readTime = QDateTime(date, QTime(23, 59)); // anything recorded that day is not after the read
    }
    const QString car = carName(args);
    if (const QString problem = carNameProblem(car); !problem.isEmpty())
        throw Error(problem);
    // Every file is read before the database is opened: a bad file adds nothing.
    struct Loaded
    {
        TMK tmk;
        QDateTime readTime;
        QString source;
    };
    std::vector<Loaded> loaded(size_t(args.positional().size()));
    for (int i = 0; i < args.positional().size(); ++i) {
        const QString &file = args.positional()[i];
        Loaded &l = loaded[size_t(i)];
        loadSettings(l.tmk, file);
        l.readTime = readTime.isValid() ? readTime : QFileInfo(file).lastModified();
        l.source = QStringLiteral("файл %1").arg(QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath()));
    }
    HistoryDatabase db(dbPath(args));
    for (int i = 0; i < int(loaded.size()); ++i) {
        const HistoryAddResult r =
            db.addJournals(car, loaded[size_t(i)].tmk, loaded[size_t(i)].readTime, loaded[size_t(i)].source);
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
                    {QStringLiteral("--car"), QStringLiteral("--db"), QStringLiteral("--from"), QStringLiteral("--to")},
                    parts + QStringList{QStringLiteral("--csv")});
    if (!args.ok() || !args.positional().isEmpty())
        return usageError(QStringLiteral("history"),
                          args.ok() ? QStringLiteral("history show takes no files") : args.error());
    QStringList chosen;
    for (const QString &p : parts)
        if (args.has(p))
            chosen << p;
    if (chosen.size() > 1)
        return usageError(QStringLiteral("history"),
                          QStringLiteral("choose one of --trips, --tank, --errors, --months"));

    HistoryPeriod period;
    for (auto [option, date] :
         {std::pair{QStringLiteral("--from"), &period.from}, std::pair{QStringLiteral("--to"), &period.to}}) {
        if (!args.has(option))
            continue;
        *date = QDate::fromString(args.value(option), Qt::ISODate);
        if (!date->isValid())
            return usageError(QStringLiteral("history"), option + QStringLiteral(" is YYYY-MM-DD"));
    }

    const HistoryDatabase db(dbPath(args), HistoryDatabase::Access::ReadOnly);
    const QString car = carName(args);
    const auto rowsOf = [&](const QString &part) {
        if (part == parts[0])
            return historyJournalRows(db.journal(car, JournalKind::Trip, period));
        if (part == parts[1])
            return historyJournalRows(db.journal(car, JournalKind::Tank, period));
        if (part == parts[2])
            return historyErrorRows(db.errors(car, period));
        return monthlyTotalsRows(db.monthlyTotals(car, period));
    };
    const bool csv = args.has(QStringLiteral("--csv"));
    const auto textOf = [csv](const Rows &rows) { return csv ? csvText(rows) : gridTextUtf8(rows); };
    QByteArray text;
    if (!chosen.isEmpty()) {
        text = textOf(rowsOf(chosen.first()));
    } else {
        const QStringList titles = {QStringLiteral("Журнал поездок"), QStringLiteral("Журнал заправок"),
                                    QStringLiteral("Журнал ошибок")};
        for (int i = 0; i < titles.size(); ++i)
            text += textOf(Rows{{titles[i]}} + rowsOf(parts[i]) + Rows{{}});
    }
    out(QString::fromUtf8(text));
    return kOk;
}

int runCars(const QStringList &argv)
{
    const Args args(argv, {QStringLiteral("--db")}, {});
    if (!args.ok() || !args.positional().isEmpty())
        return usageError(QStringLiteral("history"),
                          args.ok() ? QStringLiteral("history cars takes no files") : args.error());
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
    return usageError(QStringLiteral("history"), QStringLiteral("add, show or cars is required"));
}

const CommandRegistrar
    kHistory({QStringLiteral("history"),
              QStringLiteral(
                  "add FILE... [--car NAME] [--read-date YYYY-MM-DD] [--db PATH] | "
                  "show [--car NAME] [--trips|--tank|--errors|--months] [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--csv] "
                  "[--db PATH] | cars [--db PATH]"),
              QStringLiteral("the trip history kept across reads (~/.local/share/mkconf/history.sqlite unless --db): "
                             "add puts the journals of settings files into a car's history (\"Мой автомобиль\" unless "
                             "--car), skipping entries already held; the year of each entry comes from --read-date or "
                             "the file's time; show prints the history (--from/--to: only those days, both included, "
                             "leaving out entries whose year is uncertain; --csv: UTF-8 CSV with full dates; --months: "
                             "monthly totals); cars lists the cars"),
              runHistory});

} // namespace
} // namespace mk::tool
