// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/AddSystemsPage.h"

#include "catalogs/DeviceModel.h"
#include "image/TMK.h"
#include "settings/SpecialCaptions.h"
#include "settings/SpecialControls.h"
#include "widgets/RadioGroup.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QTableWidget>
#include <algorithm>

namespace mk {

namespace {

QTableWidget *makeGrid(const QString &name, const QStringList &headers, QWidget *parent)
{
    auto *grid = new QTableWidget(0, int(headers.size()), parent);
    grid->setObjectName(name);
    grid->setHorizontalHeaderLabels(headers);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    return grid;
}

QTableWidgetItem *cell(const QString &text, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto *item = new QTableWidgetItem(text);
    item->setTextAlignment(align);
    return item;
}

} // namespace

AddSystemsPage::AddSystemsPage(QWidget *tabSheet, EditorHost &editorHost) : EditorPage(tabSheet, editorHost)
{
    auto *layout = new QGridLayout(tabSheet);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setHorizontalSpacing(12);

    m_all = makeGrid(special_control::allBlocks(), {QStringLiteral("Название"), QStringLiteral("Выбр.")}, tabSheet);
    m_all->setColumnWidth(1, 50);
    m_all->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Fixed);
    m_used = makeGrid(QStringLiteral("sgUsedBlocks"), {QStringLiteral("Название")}, tabSheet);
    auto *allLabel =
        new QLabel(QStringLiteral("Известные системы (двойной щелчок выбирает систему или снимает выбор):"), tabSheet);
    allLabel->setWordWrap(true);
    auto *usedLabel = new QLabel(QStringLiteral("Опрашиваемые системы (двойной щелчок снимает выбор):"), tabSheet);
    usedLabel->setWordWrap(true);

    m_show = new RadioGroup(special_control::blocksShow(), blocksShowCaption(), blocksShowItems(), 1, tabSheet);
    m_showList =
        new RadioGroup(special_control::blocksShowList(), blocksShowCaption(), blocksShowListItems(), 1, tabSheet);
    // A click counts even on the item already chosen: "Все" again selects every system again.
    for (int i = 0; i < m_show->count(); ++i)
        connect(m_show->button(i), &QRadioButton::clicked, this, [this, i] { showChosen(i); });
    for (int i = 0; i < m_showList->count(); ++i)
        connect(m_showList->button(i), &QRadioButton::clicked, this, [this, i] { listChosen(i); });

    layout->addWidget(allLabel, 0, 0);
    layout->addWidget(usedLabel, 0, 1);
    layout->addWidget(m_all, 1, 0, 3, 1);
    layout->addWidget(m_used, 1, 1, 3, 1);
    layout->addWidget(m_show, 1, 2);
    layout->addWidget(m_showList, 2, 2);
    layout->setRowStretch(3, 1);
    layout->setColumnStretch(0, 3);
    layout->setColumnStretch(1, 2);

    connect(m_all, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { toggleAll(row); });
    connect(m_used, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { dropUsed(row); });
    m_all->installEventFilter(this);
    m_used->installEventFilter(this);
}

void AddSystemsPage::toggleAll(int row)
{
    if (row < 0 || row >= int(m_systems.size()))
        return;
    toggleSystem(host().model().record(kServiceSection), m_systems[size_t(row)].code);
    fillGrids();
}

void AddSystemsPage::dropUsed(int row)
{
    if (row < 0 || row >= int(m_usedSystems.size()))
        return;
    setSystemSelected(host().model().record(kServiceSection), m_usedSystems[size_t(row)].code, false);
    fillGrids();
    // The focus stays on the row that took the dropped one's place, so that the next key goes on.
    if (m_used->rowCount() > 0)
        m_used->setCurrentCell(std::min(row, m_used->rowCount() - 1), 0);
}

bool AddSystemsPage::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == m_all || watched == m_used) && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool act = key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier;
        if (act && (key->key() == Qt::Key_Space || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            const int row = static_cast<QTableWidget *>(watched)->currentRow();
            if (watched == m_all)
                toggleAll(row);
            else
                dropUsed(row);
            return true;
        }
    }
    return EditorPage::eventFilter(watched, event);
}

void AddSystemsPage::load()
{
    if (m_entered)
        enter();
}

void AddSystemsPage::protocolChanged() { load(); }

void AddSystemsPage::activated() { enter(); }

void AddSystemsPage::deactivated() { m_entered = false; }

void AddSystemsPage::enter()
{
    const DeviceModel &device = host().device();
    const TProtBase *protocol = CurrentProtocol(device);
    m_systems = buildAddSystemList(
        {hasProtocol(device, kCanProtocolCode), device.Flags.ExtendedSystems, protocol && protocol->Hybrid});
    const Record &s4 = host().model().record(kServiceSection);
    m_show->setItemIndex(blocksShow(s4));
    m_showList->setItemIndex(blocksShowList(s4));
    fillGrids();
    m_entered = true;
}

void AddSystemsPage::fillGrids()
{
    const Record &s4 = host().model().record(kServiceSection);
    m_usedSystems.clear();
    m_all->setRowCount(int(m_systems.size()));
    for (int i = 0; i < int(m_systems.size()); ++i) {
        const AddSystem &system = m_systems[size_t(i)];
        const bool selected = isSystemSelected(s4, system.code);
        m_all->setItem(i, 0, cell(system.name));
        m_all->setItem(i, 1, cell(selected ? QStringLiteral("V") : QString(), Qt::AlignCenter));
        if (selected)
            m_usedSystems.push_back(system);
    }
    m_used->setRowCount(int(m_usedSystems.size()));
    for (int i = 0; i < int(m_usedSystems.size()); ++i)
        m_used->setItem(i, 0, cell(m_usedSystems[size_t(i)].name));
}

void AddSystemsPage::showChosen(int item)
{
    if (!m_entered)
        return;
    const DeviceModel &device = host().device();
    chooseBlocksShow(host().model().record(kServiceSection), item, m_systems,
                     [&device](quint8 code) { return IsProtocolSystem(device, code); });
    if (item == 0 || item == 1)
        fillGrids();
}

void AddSystemsPage::listChosen(int item) { setBlocksShowList(host().model().record(kServiceSection), item); }

} // namespace mk
