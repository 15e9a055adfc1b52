// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/HotMenuPage.h"

#include "catalogs/DeviceModel.h"
#include "catalogs/MenuItems.h"
#include "image/TMK.h"
#include "settings/HotMenuAddMenu.h"
#include "settings/HotMenuList.h"
#include "settings/SpecialCaptions.h"
#include "settings/SpecialControls.h"

#include <QContextMenuEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTableWidget>

namespace mk {

namespace {

const QString kPageText = QStringLiteral(
    "Для того, чтобы добавить или удалить пункт меню или очистить всю таблицу, щелкните ПРАВОЙ кнопкой мыши в "
    "соответствующей строке таблицы.\n\nДля того, чтобы поменять местами пункты меню, нажмите ЛЕВУЮ кнопку мыши на "
    "левой колонке нужного пункта,  потяните и отпустите в нужной строке таблицы.");

// Menu texts treat "&" as a shortcut mark; captions show it as it is.
QString menuText(const QString &caption)
{
    QString text = caption;
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

HotMenuPage::HotMenuPage(QWidget *tabSheet, EditorHost &editorHost) : EditorPage(tabSheet, editorHost)
{
    auto *layout = new QGridLayout(tabSheet);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setHorizontalSpacing(10);
    for (int list = 0; list < kHotMenuCount; ++list) {
        auto *label = new QLabel(hotMenuCaption(list), tabSheet);
        auto *grid = new QTableWidget(kHotMenuLength, 2, tabSheet);
        grid->setObjectName(special_control::hotMenuGrid(list));
        grid->setProperty("tag", list);
        label->setBuddy(grid);
        grid->horizontalHeader()->hide();
        grid->verticalHeader()->hide();
        grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 8);
        grid->horizontalHeader()->setMinimumSectionSize(16);
        grid->setColumnWidth(0, 22); // two digits; the captions need the rest
        grid->horizontalHeader()->setStretchLastSection(true);
        grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
        grid->setSelectionBehavior(QAbstractItemView::SelectRows);
        grid->setSelectionMode(QAbstractItemView::SingleSelection);
        grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        grid->setFixedHeight(kHotMenuLength * grid->verticalHeader()->defaultSectionSize() + 2 * grid->frameWidth());
        grid->setMinimumWidth(200);
        for (int r = 0; r < kHotMenuLength; ++r) {
            auto *number = new QTableWidgetItem;
            number->setFlags(Qt::ItemIsEnabled);
            number->setTextAlignment(Qt::AlignCenter);
            number->setBackground(grid->palette().button());
            number->setToolTip(QStringLiteral("Потяните, чтобы переместить пункт"));
            grid->setItem(r, 0, number);
            auto *caption = new QTableWidgetItem;
            caption->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            grid->setItem(r, 1, caption);
        }
        grid->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(grid, &QWidget::customContextMenuRequested, this,
                [this, list](const QPoint &pos) { showContextMenu(list, pos); });
        grid->viewport()->installEventFilter(this);
        m_grids[size_t(list)] = grid;
        layout->addWidget(label, 0, list);
        layout->addWidget(grid, 1, list);
    }
    auto *text = new QLabel(kPageText, tabSheet);
    text->setObjectName(QStringLiteral("Label59"));
    text->setWordWrap(true);
    text->setContentsMargins(0, 10, 0, 0);
    layout->addWidget(text, 2, 0, 1, kHotMenuCount);
    layout->setRowStretch(3, 1);

    m_contextMenu = new QMenu(tabSheet);
    m_contextMenu->setObjectName(QStringLiteral("pmHotMenu"));
    QAction *insert = m_contextMenu->addAction(QStringLiteral("Вставить пункт"));
    insert->setObjectName(QStringLiteral("miHotMenuInsert"));
    connect(insert, &QAction::triggered, this, &HotMenuPage::showAddMenu);
    QAction *remove = m_contextMenu->addAction(QStringLiteral("Удалить пункт"));
    remove->setObjectName(QStringLiteral("miHotMenuDelete"));
    connect(remove, &QAction::triggered, this, [this] {
        deleteHotMenuItem(host().model().record(kDisplaySection), m_list, m_row);
        load();
    });
    QAction *clear = m_contextMenu->addAction(QStringLiteral("Очистить список"));
    clear->setObjectName(QStringLiteral("miHotMenuClear"));
    connect(clear, &QAction::triggered, this, [this] {
        clearHotMenu(host().model().record(kDisplaySection), m_list);
        load();
    });

    m_addMenu = new QMenu(tabSheet);
    m_addMenu->setObjectName(QStringLiteral("pmHotMenuAdd"));
}

void HotMenuPage::load()
{
    Record &s9 = host().model().record(kDisplaySection);
    compactHotMenus(s9);
    const MenuItemCatalog &catalog = host().menuItems();
    for (int list = 0; list < kHotMenuCount; ++list) {
        const HotMenu entries = readHotMenu(s9, list);
        QTableWidget *grid = m_grids[size_t(list)];
        for (int r = 0; r < kHotMenuLength; ++r) {
            grid->item(r, 0)->setText(QString::number(r));
            const TMKMenuItem *item = entries[size_t(r)] ? catalog.FindMenuItemByCode(entries[size_t(r)]) : nullptr;
            grid->item(r, 1)->setText(item ? item->Name : QString());
        }
    }
}

void HotMenuPage::showContextMenu(int list, const QPoint &pos)
{
    QTableWidget *grid = m_grids[size_t(list)];
    const int row = grid->rowAt(pos.y());
    if (row < 0)
        return; // below the last row: no entry to act on
    grid->setCurrentCell(row, 1);
    m_list = list;
    m_row = row;
    m_point = grid->viewport()->mapToGlobal(pos);
    m_contextMenu->popup(m_point);
}

void HotMenuPage::showAddMenu()
{
    m_addMenu->clear();
    for (QMenu *sub : m_addMenu->findChildren<QMenu *>(Qt::FindDirectChildrenOnly))
        delete sub;
    fillAddMenu(m_addMenu, hotMenuAddEntries(m_list, host().device().Flags.NoAirTempInput));
    m_addMenu->popup(m_point);
}

void HotMenuPage::fillAddMenu(QMenu *menu, const std::vector<HotMenuAddEntry> &entries)
{
    const MenuItemCatalog &catalog = host().menuItems();
    for (const HotMenuAddEntry &entry : entries) {
        if (entry.isSubMenu()) {
            QMenu *sub = menu->addMenu(menuText(entry.caption));
            sub->setObjectName(entry.caption);
            fillAddMenu(sub, entry.children);
            continue;
        }
        const TMKMenuItem *item = catalog.FindMenuItemByIdent(entry.ident);
        if (!item)
            continue;
        QAction *action = menu->addAction(menuText(item->Name));
        action->setObjectName(entry.ident);
        const quint16 code = item->Code;
        connect(action, &QAction::triggered, this, [this, code] {
            insertHotMenuItem(host().model().record(kDisplaySection), m_list, m_row, code);
            load();
        });
    }
}

int HotMenuPage::listOfViewport(QObject *viewport) const
{
    for (int list = 0; list < kHotMenuCount; ++list)
        if (m_grids[size_t(list)]->viewport() == viewport)
            return list;
    return -1;
}

bool HotMenuPage::eventFilter(QObject *watched, QEvent *event)
{
    // Rows move by dragging their number in the left column to another row of the same grid.
    const int list = listOfViewport(watched);
    if (list < 0)
        return EditorPage::eventFilter(watched, event);
    QTableWidget *grid = m_grids[size_t(list)];
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        const QPoint pos = mouse->position().toPoint();
        if (mouse->button() == Qt::LeftButton && grid->columnAt(pos.x()) == 0 && grid->rowAt(pos.y()) >= 0) {
            m_dragList = list;
            m_dragFrom = grid->rowAt(pos.y());
            grid->setCurrentCell(m_dragFrom, 1);
            grid->viewport()->setCursor(Qt::ClosedHandCursor);
            return true;
        }
        break;
    }
    case QEvent::MouseMove:
        if (m_dragList == list) {
            const int row = grid->rowAt(static_cast<QMouseEvent *>(event)->position().toPoint().y());
            if (row >= 0)
                grid->setCurrentCell(row, 1);
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        if (m_dragList == list && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            const int to = grid->rowAt(static_cast<QMouseEvent *>(event)->position().toPoint().y());
            const int from = m_dragFrom;
            m_dragList = m_dragFrom = -1;
            grid->viewport()->unsetCursor();
            if (to >= 0 && to != from) {
                moveHotMenuItem(host().model().record(kDisplaySection), list, from, to);
                load();
                grid->setCurrentCell(to, 1);
            }
            return true;
        }
        break;
    default: break;
    }
    return EditorPage::eventFilter(watched, event);
}

} // namespace mk
