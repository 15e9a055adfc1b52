// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "История": the trips, refuellings and errors of a car kept across reads, over a chosen period,
// the errors with their freeze frames, the monthly totals with their charts; export as CSV,
// renaming a car and deleting its history. The database is read on a worker thread.

#include "history/HistoryDatabase.h"
#include "journals/JournalCsv.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QTabWidget;
class QTableView;

namespace mk {

class JournalChart;
class StringGrid;
class TextTableModel;

// What the window shows of one car over one period.
struct HistoryListing
{
    QStringList cars;
    QString car; // empty when the history holds none
    QList<HistoryJournalEntry> tripEntries, refuellingEntries;
    QList<HistoryErrorEntry> errors;
    QList<QStringList> trips, refuellings, errorRows, months; // as shown, each with its header row
    QList<MonthTotals> totals;
};

class HistoryWindow : public QDialog
{
    Q_OBJECT
public:
    // Shows `car` first when the history holds it.
    explicit HistoryWindow(const QString &databasePath, const QString &car = {}, QWidget *parent = nullptr);

    const HistoryListing &listing() const { return m_listing; }
    HistoryPeriod period() const;
    // Writes the current page's rows as CSV; false when it could not (the reason shown).
    bool exportCsv(const QString &path, CsvDialect dialect = CsvDialect::Plain);

private:
    void buildControls();
    // Reads the history again, keeping `car` chosen when it is still held.
    void reload(const QString &car);
    void fill();
    void showFrame(int errorRow);
    void exportClick();
    void renameClick();
    void deleteClick();
    QList<QStringList> currentRows() const;

    QString m_path;
    HistoryListing m_listing;
    bool m_filling = false;
    QComboBox *m_car = nullptr;
    QCheckBox *m_fromOn = nullptr;
    QCheckBox *m_toOn = nullptr;
    QDateEdit *m_from = nullptr;
    QDateEdit *m_to = nullptr;
    QLabel *m_status = nullptr;
    QTabWidget *m_pages = nullptr;
    TextTableModel *m_tables[4] = {}; // trips, refuellings, errors, months
    QTableView *m_views[4] = {};
    StringGrid *m_frame = nullptr;
    JournalChart *m_charts[3] = {}; // distance, fuel use, cost
    QPushButton *m_rename = nullptr;
    QPushButton *m_delete = nullptr;
    QPushButton *m_export = nullptr;
};

} // namespace mk
