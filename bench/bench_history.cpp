// SPDX-License-Identifier: GPL-3.0-or-later
// The trip history: adding a read's journals to a database that already holds about ten years of
// trips, the monthly totals and listings shown from it, and the history window opened on it.

#include "history/HistoryCsv.h"
#include "history/HistoryDatabase.h"
#include "image/FactoryImage.h"
#include "image/TMK.h"
#include "viewers/HistoryWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace mk;

namespace {

constexpr int kTrips = 20000;
constexpr int kNewPerRead = 14; // each read's journal of 21 overlaps the read before by 7 trips

// Trip n of the decade, every 4.4 hours from 1 January 2016.
QDateTime tripTime(int n) { return QDateTime(QDate(2016, 1, 1), QTime(6, 0)).addSecs(qint64(n) * 15768); }

JournalEntry trip(int n)
{
    const QDateTime t = tripTime(n);
    JournalEntry e;
    e.month = quint8(t.date().month());
    e.day = quint8(t.date().day());
    e.minutes = quint16(t.time().hour() * 60 + t.time().minute());
    e.metres = 3000 + quint32(n * 7919 % 40000);
    e.seconds = e.metres / 12;
    e.fuel1 = e.metres * 85 / 1000;
    return e;
}

// The device's memory after trip `latest`: the 21 trips up to it, latest first.
void fillJournal(TMK &tmk, int latest)
{
    clearJournal(tmk.record(6), JournalKind::Trip);
    for (int i = 0; i < kJournalEntryCount && latest - i >= 0; ++i)
        setJournalEntry(tmk.record(6), JournalKind::Trip, i, trip(latest - i));
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("history.sqlite"));
    const QString car = HistoryDatabase::defaultCarName();
    TMK tmk;
    tmk.replaceImage(1, makeFactoryImage(1, 1));

    HistoryDatabase db(path);
    std::vector<double> adds;
    QElapsedTimer total;
    total.start();
    for (int latest = kJournalEntryCount - 1; latest < kTrips; latest += kNewPerRead) {
        fillJournal(tmk, latest);
        QElapsedTimer t;
        t.start();
        db.addJournals(car, tmk, tripTime(latest).addSecs(3600), QStringLiteral("bench"));
        adds.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    const double fillSeconds = double(total.elapsed()) / 1000;
    const std::vector<double> late(adds.end() - std::min<size_t>(adds.size(), 100), adds.end());

    const auto timeOf = [](auto &&work, int runs) {
        std::vector<double> ms;
        for (int i = 0; i < runs; ++i) {
            QElapsedTimer t;
            t.start();
            work();
            ms.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        return median(ms);
    };
    size_t months = 0, trips = 0;
    const double monthly = timeOf([&] { months = size_t(monthlyTotalsRows(db.monthlyTotals(car)).size() - 1); }, 20);
    const double listing =
        timeOf([&] { trips = size_t(historyJournalRows(db.journal(car, JournalKind::Trip)).size() - 1); }, 5);
    const double reopen = timeOf([&] { HistoryDatabase again(path); }, 5);
    size_t yearTrips = 0;
    const HistoryPeriod year{QDate(2020, 1, 1), QDate(2020, 12, 31)};
    const double yearListing =
        timeOf([&] { yearTrips = size_t(historyJournalRows(db.journal(car, JournalKind::Trip, year)).size() - 1); }, 5);
    // Everything the window shows, read on its worker thread, the tables and charts filled.
    const double window = timeOf([&] { HistoryWindow shown(path, car); }, 3);

    std::printf("reads added: %zu (21 trips each, %d new), %.1f s in all\n", adds.size(), kNewPerRead, fillSeconds);
    std::printf("trips held: %zu, database %.1f MiB\n", trips, double(QFileInfo(path).size()) / 1048576.0);
    std::printf("add a read's journals: median %.2f ms, last 100 reads median %.2f ms, max %.2f ms\n", median(adds),
                median(late), *std::max_element(adds.begin(), adds.end()));
    std::printf("monthly totals (%zu months): median %.2f ms\n", months, monthly);
    std::printf("list every trip with CSV cells: median %.2f ms\n", listing);
    std::printf("open and check the database: median %.2f ms\n", reopen);
    std::printf("list the trips of one year (%zu): median %.2f ms\n", yearTrips, yearListing);
    std::printf("open the history window on it all: median %.2f ms\n", window);
    return 0;
}
