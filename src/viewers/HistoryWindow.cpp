// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewers/HistoryWindow.h"
#include "widgets/FittingScrollArea.h"

#include "base/Clock.h"
#include "base/Error.h"
#include "base/FileIo.h"
#include "history/CarNames.h"
#include "history/HistoryCsv.h"
#include "history/HistoryPlots.h"
#include "journals/FreezeFrame.h"
#include "journals/JournalCsv.h"
#include "journals/JournalGrids.h"
#include "viewers/HistoryWork.h"
#include "viewers/JournalChart.h"
#include "viewers/TextTableModel.h"
#include "widgets/MessageBoxes.h"
#include "widgets/StringGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <tuple>

namespace mk {

namespace {

enum Page { Trips, Refuellings, Errors, Months };

HistoryListing readListing(const QString &path, const QString &wanted, const HistoryPeriod &period)
{
    HistoryListing l;
    // No file yet: nothing was ever added, which is no fault.
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        return l;
    const HistoryDatabase db(path, HistoryDatabase::Access::ReadOnly);
    l.cars = db.cars();
    if (l.cars.isEmpty())
        return l;
    l.car = l.cars.contains(wanted) ? wanted : l.cars.first();
    l.tripEntries = db.journal(l.car, JournalKind::Trip, period);
    l.refuellingEntries = db.journal(l.car, JournalKind::Tank, period);
    l.errors = db.errors(l.car, period);
    l.trips = historyJournalRows(l.tripEntries, HistoryDateStyle::Shown);
    l.refuellings = historyJournalRows(l.refuellingEntries, HistoryDateStyle::Shown);
    l.errorRows = historyErrorRows(l.errors, HistoryDateStyle::Shown);
    l.totals = db.monthlyTotals(l.car, period);
    l.months = monthlyTotalsRows(l.totals, HistoryDateStyle::Shown);
    return l;
}

QTableView *makeTable(const QString &name, TextTableModel *model, QWidget *parent)
{
    auto *view = new QTableView(parent);
    view->setObjectName(name);
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->horizontalHeader()->setStretchLastSection(true);
    return view;
}

// A file name without the characters file systems refuse.
QString fileNamePart(QString text)
{
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    for (QChar &c : text)
        if (forbidden.contains(c) || c.unicode() < 32)
            c = QLatin1Char('_');
    return text.trimmed();
}

} // namespace

HistoryWindow::HistoryWindow(const QString &databasePath, const QString &car, QWidget *parent)
    : QDialog(parent), m_path(databasePath)
{
    setObjectName(QStringLiteral("HistoryWindow"));
    setWindowTitle(QStringLiteral("История поездок"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    buildControls();
    resize(1040, 760);
    reload(car);
}

void HistoryWindow::buildControls()
{
    m_car = new QComboBox(this);
    m_car->setObjectName(QStringLiteral("cbCar"));
    m_car->setMinimumContentsLength(24);
    auto *carLabel = new QLabel(QStringLiteral("Авто&мобиль:"), this);
    carLabel->setBuddy(m_car);

    m_fromOn = new QCheckBox(QStringLiteral("&с"), this);
    m_fromOn->setObjectName(QStringLiteral("cbFrom"));
    m_toOn = new QCheckBox(QStringLiteral("&до"), this);
    m_toOn->setObjectName(QStringLiteral("cbTo"));
    const QDate today = mk::currentDate();
    for (auto [edit, name, date] :
         {std::tuple{&m_from, "deFrom", QDate(today.year(), 1, 1)}, std::tuple{&m_to, "deTo", today}}) {
        *edit = new QDateEdit(date, this);
        (*edit)->setObjectName(QLatin1String(name));
        (*edit)->setCalendarPopup(true);
        (*edit)->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
        (*edit)->setEnabled(false);
    }
    m_fromOn->setToolTip(QStringLiteral("Без отметки — с самой ранней записи"));
    m_toOn->setToolTip(QStringLiteral("Без отметки — по самую позднюю запись"));

    m_rename = new QPushButton(QStringLiteral("Пере&именовать…"), this);
    m_rename->setObjectName(QStringLiteral("bRenameCar"));
    m_delete = new QPushButton(QStringLiteral("&Удалить историю…"), this);
    m_delete->setObjectName(QStringLiteral("bDeleteCar"));

    auto *top = new QHBoxLayout;
    top->addWidget(carLabel);
    top->addWidget(m_car);
    top->addWidget(m_rename);
    top->addWidget(m_delete);
    top->addSpacing(24);
    top->addWidget(new QLabel(QStringLiteral("Период:"), this));
    top->addWidget(m_fromOn);
    top->addWidget(m_from);
    top->addWidget(m_toOn);
    top->addWidget(m_to);
    top->addStretch(1);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("pcHistory"));
    const char *tableNames[] = {"tvTrips", "tvRefuellings", "tvErrors", "tvMonths"};
    for (int i = 0; i < 4; ++i) {
        m_tables[i] = new TextTableModel(this);
        m_views[i] = makeTable(QLatin1String(tableNames[i]), m_tables[i], this);
    }
    m_views[Months]->horizontalHeader()->setStretchLastSection(false); // the cost beside the month's other figures
    m_pages->addTab(m_views[Trips], QStringLiteral("&Поездки"));
    m_pages->addTab(m_views[Refuellings], QStringLiteral("Запр&авки"));

    auto *errorsPage = new QSplitter(Qt::Horizontal, this);
    errorsPage->setObjectName(QStringLiteral("tsHistoryErrors"));
    errorsPage->addWidget(m_views[Errors]);
    m_frame = new StringGrid(QStringLiteral("sgHistoryFrame"), 2, 0, errorsPage);
    m_frame->setSelectionMode(QAbstractItemView::NoSelection);
    m_frame->setColumnWidth(0, 330);
    m_frame->horizontalHeader()->setStretchLastSection(true);
    errorsPage->addWidget(m_frame);
    errorsPage->setStretchFactor(0, 3);
    errorsPage->setStretchFactor(1, 2);
    m_pages->addTab(errorsPage, QStringLiteral("&Ошибки"));
    connect(m_views[Errors]->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { showFrame(current.row()); });

    auto *monthsPage = new QSplitter(Qt::Vertical, this);
    monthsPage->setObjectName(QStringLiteral("tsMonths"));
    monthsPage->addWidget(m_views[Months]);
    // The charts scroll where the window is lower than they are tall (small screens, large scale).
    auto *chartsArea = new QScrollArea(monthsPage);
    chartsArea->setObjectName(QStringLiteral("saMonthCharts"));
    chartsArea->setWidgetResizable(true);
    chartsArea->setFrameShape(QFrame::NoFrame);
    auto *charts = new QWidget(chartsArea);
    auto *chartColumn = new QVBoxLayout(charts);
    chartColumn->setContentsMargins(0, 0, 0, 0);
    const char *chartNames[] = {"chMonthDistance", "chMonthConsumption", "chMonthCost"};
    for (int i = 0; i < 3; ++i) {
        m_charts[i] = new JournalChart(QLatin1String(chartNames[i]), charts);
        chartColumn->addWidget(m_charts[i]);
    }
    chartsArea->setWidget(charts);
    monthsPage->addWidget(chartsArea);
    monthsPage->setStretchFactor(0, 1);
    monthsPage->setStretchFactor(1, 3);
    m_pages->addTab(monthsPage, QStringLiteral("По м&есяцам"));

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lHistoryStatus"));
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *buttons = new QDialogButtonBox(this);
    m_export = buttons->addButton(QStringLiteral("&Экспорт в CSV…"), QDialogButtonBox::ActionRole);
    m_export->setObjectName(QStringLiteral("bExportCsv"));
    m_export->setToolTip(QStringLiteral("Записи открытой вкладки за выбранный период"));
    QPushButton *close = buttons->addButton(QStringLiteral("&Закрыть"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("bClose"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    // The period, the car and the pages scroll on a screen too small for them; the status and
    // the buttons stay in view.
    auto *body = new QWidget;
    auto *bodyLayout = new QVBoxLayout(body);
    bodyLayout->setContentsMargins(0, 0, 0, 0);
    bodyLayout->addLayout(top);
    bodyLayout->addWidget(m_pages, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new FittingScrollArea(body, QStringLiteral("saHistory"), this), 1);
    layout->addWidget(m_status);
    layout->addWidget(buttons);

    const auto guarded = [this](void (HistoryWindow::*step)()) {
        return [this, step] {
            try {
                (this->*step)();
            } catch (const Error &e) {
                showError(this, e.text());
            }
        };
    };
    connect(m_export, &QPushButton::clicked, this, guarded(&HistoryWindow::exportClick));
    connect(m_rename, &QPushButton::clicked, this, guarded(&HistoryWindow::renameClick));
    connect(m_delete, &QPushButton::clicked, this, guarded(&HistoryWindow::deleteClick));
    const auto periodChanged = [this] {
        m_from->setEnabled(m_fromOn->isChecked());
        m_to->setEnabled(m_toOn->isChecked());
        if (!m_filling)
            reload(m_car->currentText());
    };
    connect(m_fromOn, &QCheckBox::toggled, this, periodChanged);
    connect(m_toOn, &QCheckBox::toggled, this, periodChanged);
    connect(m_from, &QDateEdit::dateChanged, this, periodChanged);
    connect(m_to, &QDateEdit::dateChanged, this, periodChanged);
    connect(m_car, &QComboBox::currentTextChanged, this, [this](const QString &car) {
        if (!m_filling)
            reload(car);
    });
}

HistoryPeriod HistoryWindow::period() const
{
    return {m_fromOn->isChecked() ? m_from->date() : QDate(), m_toOn->isChecked() ? m_to->date() : QDate()};
}

void HistoryWindow::reload(const QString &car)
{
    const HistoryPeriod chosen = period();
    try {
        m_listing = historyOffUiThread<HistoryListing>([&] { return readListing(m_path, car, chosen); });
    } catch (const Error &e) {
        // A damaged or foreign file: its message, and the file left alone.
        m_listing = {};
        fill();
        m_status->setText(e.text());
        return;
    }
    fill();
}

void HistoryWindow::fill()
{
    m_filling = true;
    m_car->clear();
    m_car->addItems(m_listing.cars);
    m_car->setCurrentText(m_listing.car);
    m_filling = false;

    const QSet<int> journalText = {1, int(journalCsvHeader().size())}; // the date and the source
    m_tables[Trips]->setRows(m_listing.trips, journalText);
    m_tables[Refuellings]->setRows(m_listing.refuellings, journalText);
    m_tables[Errors]->setRows(m_listing.errorRows, {1, 2, 4});
    m_tables[Months]->setRows(m_listing.months, {0});
    for (QTableView *view : m_views)
        view->resizeColumnsToContents();
    m_charts[0]->setSeries(monthlyDistanceSeries(m_listing.totals));
    m_charts[1]->setSeries(monthlyConsumptionSeries(m_listing.totals));
    m_charts[2]->setSeries(monthlyCostSeries(m_listing.totals));
    if (!m_listing.errors.isEmpty())
        m_views[Errors]->selectRow(0);
    showFrame(m_listing.errors.isEmpty() ? -1 : 0);

    const bool held = !m_listing.car.isEmpty();
    m_rename->setEnabled(held);
    m_delete->setEnabled(held);
    m_export->setEnabled(held);
    if (held)
        m_status->setText(
            QStringLiteral("%1: поездок %2, заправок %3, ошибок %4.")
                .arg(period().bounded() ? QStringLiteral("За выбранный период") : QStringLiteral("За всё время"))
                .arg(m_listing.trips.size() - 1)
                .arg(m_listing.refuellings.size() - 1)
                .arg(m_listing.errors.size()));
    else
        m_status->setText(QStringLiteral("В истории поездок пока ничего нет. Журналы добавляются в неё из главного "
                                         "окна: «Файл» → «Добавить журналы в историю…»."));
}

void HistoryWindow::showFrame(int errorRow)
{
    if (errorRow < 0 || errorRow >= m_listing.errors.size()) {
        m_frame->setRows({});
        return;
    }
    const HistoryErrorEntry &e = m_listing.errors[errorRow];
    m_frame->setRows(shownRows(freezeFrameRows(e.entry, e.supported)));
}

QList<QStringList> HistoryWindow::currentRows() const
{
    switch (m_pages->currentIndex()) {
    // The CSV file writes its dates in ISO form and its numbers with points, unlike the tables.
    case Trips: return historyJournalRows(m_listing.tripEntries);
    case Refuellings: return historyJournalRows(m_listing.refuellingEntries);
    case Errors: return historyErrorRows(m_listing.errors);
    default: return monthlyTotalsRows(m_listing.totals);
    }
}

bool HistoryWindow::exportCsv(const QString &path, CsvDialect dialect)
{
    try {
        writeFileAtomically(path, csvText(currentRows(), dialect));
    } catch (const Error &e) {
        showError(this, e.text());
        return false;
    }
    m_status->setText(QStringLiteral("Сохранено в файле %1").arg(QDir::toNativeSeparators(path)));
    return true;
}

void HistoryWindow::exportClick()
{
    const QString what[] = {QStringLiteral("поездки"), QStringLiteral("заправки"), QStringLiteral("ошибки"),
                            QStringLiteral("по месяцам")};
    QFileDialog dialog(this, QStringLiteral("Экспорт истории в CSV"));
    dialog.setObjectName(QStringLiteral("exportHistoryDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const CsvDialectName &excelRu = csvDialectName(CsvDialect::ExcelRu);
    dialog.setNameFilters({csvDialectName(CsvDialect::Plain).caption, excelRu.caption});
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.setDirectory(QDir::homePath());
    dialog.selectFile(QStringLiteral("%1 %2 %3.csv")
                          .arg(fileNamePart(m_listing.car), what[std::clamp(m_pages->currentIndex(), 0, 3)],
                               mk::currentDate().toString(Qt::ISODate)));
    if (execDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    exportCsv(dialog.selectedFiles().constFirst(),
              dialog.selectedNameFilter() == excelRu.caption ? CsvDialect::ExcelRu : CsvDialect::Plain);
}

void HistoryWindow::renameClick()
{
    const QString car = m_listing.car;
    QInputDialog dialog(this);
    dialog.setObjectName(QStringLiteral("renameCarDialog"));
    dialog.setWindowTitle(QStringLiteral("Переименовать автомобиль"));
    dialog.setLabelText(QStringLiteral("Новое название автомобиля «%1»:").arg(car));
    dialog.setTextValue(car);
    if (execDialog(dialog) != QDialog::Accepted)
        return;
    const QString name = cleanCarName(dialog.textValue());
    if (name == car)
        return;
    historyOffUiThread([&] { HistoryDatabase(m_path).renameCar(car, name); });
    reload(name);
}

void HistoryWindow::deleteClick()
{
    const QString car = m_listing.car;
    if (!askYesNo(this,
                  QStringLiteral("Удалить всю историю автомобиля «%1»: поездки, заправки и ошибки за всё время? "
                                 "Восстановить её будет нельзя.")
                      .arg(car),
                  true))
        return;
    historyOffUiThread([&] { HistoryDatabase(m_path).deleteCar(car); });
    reload({});
}

} // namespace mk
