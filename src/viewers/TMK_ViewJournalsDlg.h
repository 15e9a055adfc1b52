// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The journals viewer: trip and refuelling journals, accumulated averages, error journal with
// freeze frames. It works on the model's records 0, 6 and 12; clearing changes only them.

#include "journals/ErrorCodeText.h"
#include "journals/JournalData.h"
#include "viewers/JournalSaveFormat.h"

#include <QDialog>
#include <QHash>
#include <QImage>
#include <functional>

class QPushButton;
class QTabWidget;

namespace mk {

class JournalChart;
class Record;
class StringGrid;
class TMK;

class TMK_ViewJournalsDlg : public QDialog
{
    Q_OBJECT
public:
    // errorCodeFormat: the error-code format of the engine protocol in use.
    TMK_ViewJournalsDlg(TMK &model, int errorCodeFormat, QWidget *parent = nullptr);

    // Writes every row of the grid to the file (each cell followed by a tab; as CSV the journal's
    // records); true on success.
    bool saveGrid(const StringGrid &grid, const QString &path, JournalEncoding encoding = JournalEncoding::Windows1251);
    // The three charts one under another, as drawn; "Сохранить картинку…" writes it as PNG.
    QImage chartsPicture() const;
    bool saveCharts(const QString &path);

private:
    void buildJournalPage(JournalKind kind);
    void buildAveragesPage();
    void buildErrorsPage();
    void buildChartsPage();

    void fillJournal(JournalKind kind);
    void fillAverages(AccumulatorSet set);
    void fillErrors();
    void fillFreezeFrame(int errorRow);
    void fillCharts();

    // The save dialog starts in the program's folder, then where the last file went; its filter
    // chooses the encoding.
    QString askSavePath(JournalEncoding *encoding = nullptr);
    void saveJournalClick(JournalKind kind);
    // "Очистить" clears what `clear` clears of the record and becomes "Вернуть", which puts those
    // bytes back; either is possible until the window closes.
    void clearOrRestore(QPushButton *button, int section, const std::function<void(Record &)> &clear);
    QString askPicturePath();

    TMK &m_model;
    int m_codeFormat;
    ErrorCodeFlags m_codeFlags;
    QString m_saveFolder;
    QTabWidget *m_pages = nullptr;
    StringGrid *m_journals[2] = {};
    StringGrid *m_averages[kAccumulatorSetCount] = {};
    StringGrid *m_errors = nullptr;
    StringGrid *m_frame = nullptr;
    JournalChart *m_tripConsumption = nullptr;
    JournalChart *m_tripDistance = nullptr;
    JournalChart *m_refuellings = nullptr;
    QHash<QPushButton *, QList<std::pair<int, char>>> m_cleared; // offset and byte before clearing
};

} // namespace mk
