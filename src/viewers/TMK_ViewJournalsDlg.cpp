// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewers/TMK_ViewJournalsDlg.h"
#include "widgets/FittingScrollArea.h"

#include "base/Error.h"
#include "base/FileIo.h"
#include "image/SuggestedName.h"
#include "image/TMK.h"
#include "journals/FreezeFrame.h"
#include "journals/JournalCsv.h"
#include "journals/JournalGrids.h"
#include "journals/JournalPlots.h"
#include "render/PngFile.h"
#include "viewers/JournalChart.h"
#include "widgets/IniFile.h"
#include "widgets/MessageBoxes.h"
#include "widgets/StringGrid.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace mk {

namespace {

const char *const kAverageGridNames[kAccumulatorSetCount] = {
    "sgAllSum", "sgTripSum", "sgResetSum", "sgStopSum", "sgNoStopSum", "sgTankSum", "sgOilOnlySum", "sgGasOnlySum"};

const QString kWin1251Filter = QStringLiteral("Текст Windows-1251 (*.txt)");
const QString kUtf8Filter = QStringLiteral("Текст UTF-8 (*.txt)");
const QString kCsvFilter = csvDialectName(CsvDialect::Plain).caption;
const QString kCsvExcelRuFilter = csvDialectName(CsvDialect::ExcelRu).caption;

int journalIndex(JournalKind kind) { return kind == JournalKind::Trip ? 0 : 1; }

QPushButton *makeButton(const QString &name, const QString &text, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

} // namespace

TMK_ViewJournalsDlg::TMK_ViewJournalsDlg(TMK &model, int errorCodeFormat, QWidget *parent)
    : QDialog(parent),
      m_model(model),
      m_codeFormat(errorCodeFormat),
      m_codeFlags(errorCodeFlags(model.record(kVehicleSection))),
      m_saveFolder(defaultFileFolder())
{
    setObjectName(QStringLiteral("TMK_ViewJournalsDlg"));
    setWindowTitle(QStringLiteral("Просмотр журналов"));
    resize(1000, 620);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("pcJournals"));
    buildJournalPage(JournalKind::Trip);
    buildJournalPage(JournalKind::Tank);
    buildAveragesPage();
    buildErrorsPage();
    buildChartsPage();

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new FittingScrollArea(m_pages, QStringLiteral("saJournals"), this));
    layout->addWidget(buttons);

    // On showing: first page, every grid filled.
    m_pages->setCurrentIndex(0);
    fillJournal(JournalKind::Trip);
    fillJournal(JournalKind::Tank);
    for (AccumulatorSet set : kAccumulatorSets)
        fillAverages(set);
    fillErrors();
    fillCharts();
}

void TMK_ViewJournalsDlg::buildJournalPage(JournalKind kind)
{
    const bool trip = kind == JournalKind::Trip;
    auto *page = new QWidget;
    page->setObjectName(trip ? QStringLiteral("tsTrip") : QStringLiteral("tsTank"));

    auto *grid = new StringGrid(trip ? QStringLiteral("sgTrip") : QStringLiteral("sgTank"), kJournalColumnCount,
                                kJournalEntryCount + 1, page);
    grid->setFixed(1, 1);
    grid->setRightAlignedFrom(1);
    m_journals[journalIndex(kind)] = grid;

    auto *save =
        makeButton(trip ? QStringLiteral("bTrip") : QStringLiteral("bTank"), QStringLiteral("&Сохранить в файл"), page);
    auto *reset = makeButton(trip ? QStringLiteral("bTripReset") : QStringLiteral("bTankReset"),
                             QStringLiteral("&Очистить"), page);
    connect(save, &QPushButton::clicked, this, [this, kind] { saveJournalClick(kind); });
    connect(reset, &QPushButton::clicked, this, [this, kind, reset] {
        clearOrRestore(reset, 6, [kind](Record &s6) { clearJournal(s6, kind); });
        fillJournal(kind);
        fillCharts();
    });

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(save);
    buttons->addWidget(reset);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(grid);
    layout->addLayout(buttons);
    m_pages->addTab(page, trip ? QStringLiteral("Журнал поездок") : QStringLiteral("Журнал заправок"));
}

void TMK_ViewJournalsDlg::buildAveragesPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("tsAverages"));
    auto *grids = new QGridLayout;
    for (int i = 0; i < kAccumulatorSetCount; ++i) {
        const AccumulatorSet set = kAccumulatorSets[size_t(i)];
        auto *box = new QGroupBox(accumulatorCaption(set), page);
        auto *grid = new StringGrid(QString::fromLatin1(kAverageGridNames[i]), 2, 6, box);
        grid->setFixed(0, 1);
        grid->setRightAlignedFrom(1);
        grid->setSelectionMode(QAbstractItemView::NoSelection);
        grid->setColumnWidth(0, grid->fontMetrics().horizontalAdvance(QStringLiteral("Ср.скорость, км/час")) + 12);
        grid->setColumnWidth(1, grid->fontMetrics().horizontalAdvance(QStringLiteral("0000000.000")) + 12);
        grid->setFixedWidth(grid->columnWidth(0) + grid->columnWidth(1) + 2 * grid->frameWidth());
        grid->setFixedHeight(6 * grid->verticalHeader()->defaultSectionSize() + 2 * grid->frameWidth());
        grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        connect(grid, &StringGrid::gridDoubleClicked, this, [this, set] {
            clearAccumulators(m_model.record(kCountersSection), set);
            fillAverages(set);
        });
        m_averages[i] = grid;
        auto *boxLayout = new QVBoxLayout(box);
        boxLayout->setContentsMargins(4, 4, 4, 4);
        boxLayout->addWidget(grid);
        grids->addWidget(box, i / 4, i % 4);
    }
    auto *hint = new QLabel(
        QStringLiteral("Для сброса накопителей сделайте двойной щелчок мыши на соответствующей таблице"), page);
    hint->setObjectName(QStringLiteral("lAveragesHint"));
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(grids);
    layout->addWidget(hint);
    layout->addStretch();
    m_pages->addTab(page, QStringLiteral("Средние"));
}

void TMK_ViewJournalsDlg::buildErrorsPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("tsErrors"));

    m_errors = new StringGrid(QStringLiteral("sgErrors"), 3, kErrorEntryCount + 1, page);
    m_errors->setFixed(1, 1);
    m_errors->setColumnWidth(0, 30);
    m_errors->setColumnWidth(1, 110);
    m_errors->horizontalHeader()->setStretchLastSection(true);
    m_errors->setMinimumWidth(380);
    connect(m_errors, &QTableWidget::currentCellChanged, this, [this](int row) { fillFreezeFrame(row); });
    connect(m_errors, &QTableWidget::cellClicked, this, [this](int row) { fillFreezeFrame(row); });

    m_frame = new StringGrid(QStringLiteral("sgStopCadr"), 2, 41, page);
    m_frame->setSelectionMode(QAbstractItemView::NoSelection);
    m_frame->setColumnWidth(0, 330);
    m_frame->horizontalHeader()->setStretchLastSection(true);

    auto *reset = makeButton(QStringLiteral("bErrrJReset"), QStringLiteral("&Очистить"), page);
    connect(reset, &QPushButton::clicked, this, [this, reset] {
        clearOrRestore(reset, 12, clearErrorJournal);
        fillErrors();
    });

    auto *left = new QVBoxLayout;
    left->addWidget(m_errors);
    left->addWidget(reset, 0, Qt::AlignLeft);
    auto *layout = new QHBoxLayout(page);
    layout->addLayout(left, 2);
    layout->addWidget(m_frame, 3);
    m_pages->addTab(page, QStringLiteral("Журнал ошибок"));
}

void TMK_ViewJournalsDlg::buildChartsPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("tsCharts"));
    m_tripConsumption = new JournalChart(QStringLiteral("chTripConsumption"), page);
    m_tripDistance = new JournalChart(QStringLiteral("chTripDistance"), page);
    m_refuellings = new JournalChart(QStringLiteral("chRefuellings"), page);
    auto *save = makeButton(QStringLiteral("bChartsSave"), QStringLiteral("Сохранить &картинку…"), page);
    save->setToolTip(QStringLiteral("Три графика одной картинкой PNG"));
    connect(save, &QPushButton::clicked, this, [this] {
        const QString path = askPicturePath();
        if (!path.isEmpty())
            saveCharts(path);
    });
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(m_tripConsumption);
    layout->addWidget(m_tripDistance);
    layout->addWidget(m_refuellings);
    layout->addWidget(save, 0, Qt::AlignLeft);
    m_pages->addTab(page, QStringLiteral("Графики"));
}

void TMK_ViewJournalsDlg::fillCharts()
{
    const Record &s6 = m_model.record(kTripsSection);
    m_tripConsumption->setSeries(tripConsumptionSeries(s6));
    m_tripDistance->setSeries(tripDistanceSeries(s6));
    m_refuellings->setSeries(refuellingSeries(s6));
}

void TMK_ViewJournalsDlg::fillJournal(JournalKind kind)
{
    StringGrid *grid = m_journals[journalIndex(kind)];
    grid->setRows(shownRows(journalGridRows(m_model.record(kTripsSection), kind)));
    grid->fitColumnsToTexts();
}

void TMK_ViewJournalsDlg::fillAverages(AccumulatorSet set)
{
    m_averages[int(set)]->setRows(shownRows(averagesGridRows(m_model.record(kCountersSection), set)));
}

void TMK_ViewJournalsDlg::fillErrors()
{
    m_errors->setRows(errorGridRows(m_model.record(kErrorsSection), m_codeFormat, m_codeFlags));
    m_errors->setCurrentCell(1, 0);
    fillFreezeFrame(1);
}

void TMK_ViewJournalsDlg::fillFreezeFrame(int errorRow)
{
    if (errorRow < 1 || errorRow > kErrorEntryCount) {
        m_frame->setRows({});
        return;
    }
    m_frame->setRows(shownRows(freezeFrameRows(m_model.record(kErrorsSection), errorRow - 1)));
}

bool TMK_ViewJournalsDlg::saveGrid(const StringGrid &grid, const QString &path, JournalEncoding encoding)
{
    try {
        QByteArray text;
        const bool csv = encoding == JournalEncoding::Csv || encoding == JournalEncoding::CsvExcelRu;
        const CsvDialect dialect = encoding == JournalEncoding::CsvExcelRu ? CsvDialect::ExcelRu : CsvDialect::Plain;
        if (csv && (&grid == m_journals[0] || &grid == m_journals[1]))
            text = csvText(journalCsvRows(m_model.record(kTripsSection),
                                          &grid == m_journals[0] ? JournalKind::Trip : JournalKind::Tank),
                           dialect);
        else if (csv)
            text = csvText(pointRows(grid.rowTexts()), dialect);
        else // the files keep the decimal points they have always had
            text = encoding == JournalEncoding::Utf8 ? gridTextUtf8(pointRows(grid.rowTexts()))
                                                     : gridText(pointRows(grid.rowTexts()));
        writeFileAtomically(path, text);
        return true;
    } catch (const Error &e) {
        showError(this, e.text());
        return false;
    }
}

QString TMK_ViewJournalsDlg::askSavePath(JournalEncoding *encoding)
{
    QFileDialog dialog(this);
    dialog.setObjectName(QStringLiteral("saveJournalDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDirectory(m_saveFolder);
    // Windows-1251 with CR LF lines, as the device's Windows program writes them, first on Windows;
    // UTF-8 with LF lines, what Linux editors read, first elsewhere; CSV goes to programs and
    // spreadsheets.
    dialog.setNameFilters({kWin1251Filter, kUtf8Filter, kCsvFilter, kCsvExcelRuFilter});
    dialog.selectNameFilter(defaultJournalEncoding() == JournalEncoding::Utf8 ? kUtf8Filter : kWin1251Filter);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    dialog.selectFile(suggestedFileName(m_model, QStringLiteral("txt"), QStringLiteral("журнал")));
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString &filter) {
        dialog.setDefaultSuffix(filter == kCsvFilter || filter == kCsvExcelRuFilter ? QStringLiteral("csv")
                                                                                    : QStringLiteral("txt"));
    });
    if (execDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString path = dialog.selectedFiles().constFirst();
    m_saveFolder = QFileInfo(path).absolutePath();
    if (encoding)
        *encoding = dialog.selectedNameFilter() == kUtf8Filter         ? JournalEncoding::Utf8
                    : dialog.selectedNameFilter() == kCsvFilter        ? JournalEncoding::Csv
                    : dialog.selectedNameFilter() == kCsvExcelRuFilter ? JournalEncoding::CsvExcelRu
                                                                       : JournalEncoding::Windows1251;
    return path;
}

void TMK_ViewJournalsDlg::saveJournalClick(JournalKind kind)
{
    JournalEncoding encoding = JournalEncoding::Windows1251;
    const QString path = askSavePath(&encoding);
    if (!path.isEmpty())
        saveGrid(*m_journals[journalIndex(kind)], path, encoding);
}

void TMK_ViewJournalsDlg::clearOrRestore(QPushButton *button, int section, const std::function<void(Record &)> &clear)
{
    Record &record = m_model.record(section);
    QByteArray &bytes = record.bytes();
    if (m_cleared.contains(button)) {
        // Only the bytes this clearing changed go back: another journal of the same record may
        // have been cleared since.
        for (const auto &[offset, value] : m_cleared.take(button))
            bytes[offset] = value;
        button->setText(QStringLiteral("&Очистить"));
        button->setToolTip({});
        return;
    }
    const QByteArray before = bytes;
    clear(record);
    QList<std::pair<int, char>> changed;
    for (int i = 0; i < before.size() && i < bytes.size(); ++i)
        if (before[i] != bytes[i])
            changed.append({i, before[i]});
    m_cleared.insert(button, changed);
    button->setText(QStringLiteral("&Вернуть"));
    button->setToolTip(QStringLiteral("Журнал очищен в настройках (в МК — при записи). До закрытия окна его можно "
                                      "вернуть."));
}

QString TMK_ViewJournalsDlg::askPicturePath()
{
    QFileDialog dialog(this);
    dialog.setObjectName(QStringLiteral("saveChartsDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDirectory(m_saveFolder);
    dialog.setNameFilter(QStringLiteral("Изображение PNG (*.png)"));
    dialog.setDefaultSuffix(QStringLiteral("png"));
    dialog.selectFile(suggestedFileName(m_model, QStringLiteral("png"), QStringLiteral("графики")));
    if (execDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString path = dialog.selectedFiles().constFirst();
    m_saveFolder = QFileInfo(path).absolutePath();
    return path;
}

QImage TMK_ViewJournalsDlg::chartsPicture() const
{
    const QList<JournalChart *> charts = {m_tripConsumption, m_tripDistance, m_refuellings};
    int width = 0, height = 0;
    for (const JournalChart *c : charts) {
        width = std::max(width, c->width());
        height += c->height();
    }
    QImage picture(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    picture.fill(m_tripConsumption->palette().color(QPalette::Base));
    QPainter painter(&picture);
    int y = 0;
    for (JournalChart *c : charts) {
        c->render(&painter, QPoint(0, y));
        y += c->height();
    }
    return picture;
}

bool TMK_ViewJournalsDlg::saveCharts(const QString &path)
{
    try {
        savePngFile(path, chartsPicture());
        return true;
    } catch (const Error &e) {
        showError(this, e.text());
        return false;
    }
}

} // namespace mk
