// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/ColourSchemesPage.h"

#include <algorithm>

#include "base/Colour.h"
#include "editor/ColourSchemesPageGrid.h"
#include "editor/ColourSchemesPageTexts.h"
#include "editor/DisplayLayoutPreview.h"
#include "image/ColourSchemes.h"
#include "image/TMK.h"
#include "render/ScreenPreviews.h"
#include "settings/SpecialCaptions.h"
#include "settings/SpecialControls.h"
#include "widgets/MessageBoxes.h"
#include "widgets/RadioGroup.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace mk {

namespace {

// The speed screen shows a value with its range bar: the x1 preview of the page.
constexpr quint8 kX1PreviewCode = 12;
// The consumption per 100 km is the one gauge with the wide scale and its marker.
constexpr quint8 kWideScaleCode = 14;

QSpinBox *spinBox(const QString &name, int max, QWidget *parent)
{
    auto *spin = new QSpinBox(parent);
    spin->setObjectName(name);
    spin->setRange(0, max);
    spin->setToolTip(QStringLiteral("Допустимые значения: от 0 до %1").arg(max));
    return spin;
}

QTableWidget *variantGrid(const QString &name, const QString &caption, QWidget *parent)
{
    auto *grid = new QTableWidget(2, 1, parent);
    grid->setObjectName(name);
    grid->setHorizontalHeaderLabels({caption});
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int r = 0; r < 2; ++r) {
        auto *item = new QTableWidgetItem(QString::number(r + 1));
        item->setTextAlignment(Qt::AlignCenter);
        grid->setItem(r, 0, item);
        grid->setRowHeight(r, grid->fontMetrics().height() + 2);
    }
    grid->setFixedHeight(grid->horizontalHeader()->sizeHint().height() + 2 * (grid->fontMetrics().height() + 2) +
                         2 * grid->frameWidth());
    return grid;
}

DisplayPreview *colourPreview(const QString &name, QWidget *parent)
{
    auto *box = new DisplayPreview(name, 0, parent);
    box->setMinimumSize(224, 168);
    return box;
}

} // namespace

ColourSchemesPage::ColourSchemesPage(QWidget *tabSheet, EditorHost &host) : EditorPage(tabSheet, host) { build(); }

Record &ColourSchemesPage::section9() const { return host().model().record(kDisplaySection); }

QWidget *ColourSchemesPage::buildRoleTab(RoleGrid &grid, const QString &name, const std::vector<int> &roles,
                                         QWidget *previews)
{
    QStringList rows;
    for (const int role : roles)
        rows << colourRoleCaption(role);
    auto *tab = new QWidget;
    auto *layout = new QHBoxLayout(tab);
    auto *left = new QVBoxLayout;
    grid.grid = new ColourGrid(QStringLiteral("sg") + name, rows, tab);
    // At least as wide as its longest caption needs ("Цвет номера горячего пункта").
    grid.grid->setFixedWidth(std::max(210, grid.grid->minimumWidth()));
    grid.label = new QLabel(tab);
    grid.label->setObjectName(QStringLiteral("l") + name);
    grid.spin = spinBox(QStringLiteral("se") + name, 15, tab);
    grid.roles = roles;
    left->addWidget(grid.grid);
    auto *spinRow = new QHBoxLayout;
    spinRow->addWidget(grid.label, 1);
    spinRow->addWidget(grid.spin);
    left->addLayout(spinRow);
    if (name == QLatin1String("Digit")) {
        auto *variants = new QHBoxLayout;
        m_dispVar4 = variantGrid(special_control::displayVariantGrid(4), displayVariantCaption(4), tab);
        m_dispVar9 = variantGrid(special_control::displayVariantGrid(9), displayVariantCaption(9), tab);
        variants->addWidget(m_dispVar4);
        variants->addWidget(m_dispVar9);
        left->addLayout(variants);
    }
    left->addStretch();
    layout->addLayout(left);
    layout->addWidget(previews, 1);

    connect(grid.grid, &ColourGrid::rowSelected, this, [this, &grid](int row) { roleRowSelected(grid, row); });
    connect(grid.spin, &QSpinBox::valueChanged, this, [this, &grid] { roleIndexChanged(grid); });
    return tab;
}

void ColourSchemesPage::build()
{
    QWidget *page = tabSheet();
    auto *layout = new QHBoxLayout(page);

    // Left: the palette and its colour editors.
    auto *left = new QVBoxLayout;
    m_scheme =
        new RadioGroup(special_control::activeColourScheme(), colourSchemeCaption(), colourSchemeItems(), 2, page);
    QStringList paletteRows;
    for (int i = 0; i < kPaletteSize; ++i)
        paletteRows << paletteColourCaption(i);
    m_palette = new ColourGrid(special_control::palette(), paletteRows, page);
    m_palette->setFixedWidth(170);
    m_colourTab = new QLabel(page);
    m_colourTab->setObjectName(QStringLiteral("lColorTab"));
    m_r = spinBox(QStringLiteral("seR"), 31, page);
    m_g = spinBox(QStringLiteral("seG"), 31, page);
    m_b = spinBox(QStringLiteral("seB"), 31, page);
    auto *rgb = new QHBoxLayout;
    for (auto [caption, spin] : {std::pair{"R", m_r}, std::pair{"G", m_g}, std::pair{"B", m_b}}) {
        rgb->addWidget(new QLabel(QString::fromLatin1(caption), page));
        rgb->addWidget(spin);
    }
    left->addWidget(m_palette);
    left->addWidget(m_colourTab);
    left->addLayout(rgb);
    left->addStretch();
    layout->addLayout(left);

    // Right: the scheme and the buttons over the screen parts of each kind of display with their
    // previews.
    auto *right = new QVBoxLayout;
    auto *top = new QHBoxLayout;
    top->addWidget(m_scheme);
    top->addStretch();
    right->addLayout(top);
    m_colourDisp = new QTabWidget(page);
    m_colourDisp->setObjectName(special_control::colourRoles());

    m_colourDig = new QTabWidget;
    m_colourDig->setObjectName(QStringLiteral("pcColorDig"));
    auto pair = [&](DisplayPreview *&a, const QString &aName, DisplayPreview *&b, const QString &bName) {
        auto *w = new QWidget;
        auto *l = new QHBoxLayout(w);
        a = colourPreview(aName, w);
        b = colourPreview(bName, w);
        l->addWidget(a);
        l->addWidget(b);
        return w;
    };
    m_colourDig->addTab(pair(m_digit1, QStringLiteral("pbDigit1"), m_digit7, QStringLiteral("pbDigit7")),
                        colourtexts::pageX1X7());
    m_colourDig->addTab(pair(m_digit4, QStringLiteral("pbDigit4"), m_digit9, QStringLiteral("pbDigit9")),
                        colourtexts::pageX4X9());
    m_colourDisp->addTab(buildRoleTab(m_digit, QStringLiteral("Digit"), {0, 1, 2, 3, 4}, m_colourDig),
                         QStringLiteral("Цифровые"));

    auto single = [&](DisplayPreview *&box, const QString &name) {
        auto *w = new QWidget;
        auto *l = new QHBoxLayout(w);
        box = colourPreview(name, w);
        box->setActualSize();
        l->addWidget(box);
        l->addStretch();
        return w;
    };
    m_colourDisp->addTab(buildRoleTab(m_menu, QStringLiteral("Menu"),
                                      {RoleMenuActive, RoleMenuActiveBack, RoleMenuHotNumber},
                                      single(m_menuPreview, QStringLiteral("pbMenu"))),
                         QStringLiteral("Меню"));
    m_colourDisp->addTab(buildRoleTab(m_graph, QStringLiteral("Graph"),
                                      {RoleGraphAxes, RoleGraphBack, RoleGraph1, RoleGraph2, RoleGraphCaptionBack},
                                      single(m_graphPreview, QStringLiteral("pbGraph"))),
                         QStringLiteral("Графики"));
    // The grid rows of the pointer display are not in the order of the record.
    m_colourDisp->addTab(
        buildRoleTab(m_arrow, QStringLiteral("Arrow"),
                     {RoleArrowBack, RoleLeftDial, RoleRightDial, RoleLeftScale, RoleRightScale, RoleLeftArrow,
                      RoleRightArrow, RoleWideScale, RoleArrowCaption, RoleArrowCaptionBack},
                     pair(m_arrowPreview, QStringLiteral("pbArrow"), m_arrowM, QStringLiteral("pbArrowM"))),
        QStringLiteral("Стрелочные"));
    right->addWidget(m_colourDisp, 1);

    auto *buttons = new QVBoxLayout;
    auto *copy = new QPushButton(colourtexts::withShortcut(colourtexts::copyToUser(), 1), page);
    copy->setObjectName(QStringLiteral("bCopyToUser"));
    auto *reset = new QPushButton(colourtexts::withShortcut(colourtexts::resetAll(), 0), page);
    reset->setObjectName(QStringLiteral("bPaletteInit"));
    buttons->addWidget(copy);
    buttons->addWidget(reset);
    top->addLayout(buttons);
    layout->addLayout(right, 1);

    connect(m_scheme, &RadioGroup::itemClicked, this, &ColourSchemesPage::schemeChosen);
    connect(m_palette, &ColourGrid::rowSelected, this, &ColourSchemesPage::paletteRowSelected);
    for (QSpinBox *spin : {m_r, m_g, m_b})
        connect(spin, &QSpinBox::valueChanged, this, &ColourSchemesPage::rgbChanged);
    connect(m_dispVar4, &QTableWidget::itemSelectionChanged, this,
            [this] { dispVarChosen(m_dispVar4, kDispVar4Offset); });
    connect(m_dispVar9, &QTableWidget::itemSelectionChanged, this,
            [this] { dispVarChosen(m_dispVar9, kDispVar9Offset); });
    connect(copy, &QPushButton::clicked, this, &ColourSchemesPage::copyToUser);
    connect(reset, &QPushButton::clicked, this, &ColourSchemesPage::resetAll);
    connect(m_colourDisp, &QTabWidget::currentChanged, this, &ColourSchemesPage::refreshPreviews);
    connect(m_colourDig, &QTabWidget::currentChanged, this, &ColourSchemesPage::refreshPreviews);
}

void ColourSchemesPage::load()
{
    m_loading = true;
    const int active = activeColourScheme(section9());
    m_scheme->setItemIndex(active >= 1 && active <= kUserScheme ? active - 1 : -1);
    m_set = editedSetFor(section9());
    const int var4 = section9().u8(kDispVar4Offset), var9 = section9().u8(kDispVar9Offset);
    m_dispVar4->clearSelection();
    m_dispVar9->clearSelection();
    if (var4 < 2)
        m_dispVar4->selectRow(var4);
    if (var9 < 2)
        m_dispVar9->selectRow(var9);
    for (ColourGrid *grid : {m_palette, m_digit.grid, m_menu.grid, m_graph.grid, m_arrow.grid})
        if (grid->currentRow() < 0)
            grid->setCurrentCell(0, 1);
    m_loading = false;
    refresh();
}

void ColourSchemesPage::refresh()
{
    const Record &s9 = section9();
    for (int i = 0; i < kPaletteSize; ++i)
        m_palette->setRow(i, paletteColour(s9, m_set, i), i);
    for (RoleGrid *g : {&m_digit, &m_menu, &m_graph, &m_arrow})
        for (size_t r = 0; r < g->roles.size(); ++r)
            g->grid->setRow(int(r), roleColour(s9, m_set, g->roles[r]), roleIndex(s9, m_set, g->roles[r]));
    for (QTableWidget *grid : {static_cast<QTableWidget *>(m_palette), static_cast<QTableWidget *>(m_digit.grid),
                               static_cast<QTableWidget *>(m_menu.grid), static_cast<QTableWidget *>(m_graph.grid),
                               static_cast<QTableWidget *>(m_arrow.grid)})
        grid->viewport()->update();
    showValues();
    refreshPreviews();
}

// The spin edits follow the selected rows without storing anything.
void ColourSchemesPage::showValues()
{
    const Record &s9 = section9();
    const int row = m_palette->selectedRow();
    if (row >= 0) {
        m_colourTab->setText(m_palette->caption(row));
        const Rgb5 c = unpackColour(paletteColour(s9, m_set, row));
        const QSignalBlocker br(m_r), bg(m_g), bb(m_b);
        m_r->setValue(c.r);
        m_g->setValue(c.g);
        m_b->setValue(c.b);
    }
    for (RoleGrid *g : {&m_digit, &m_menu, &m_graph, &m_arrow}) {
        const int r = g->grid->selectedRow();
        if (r < 0)
            continue;
        g->label->setText(g->grid->caption(r));
        const QSignalBlocker block(g->spin);
        g->spin->setValue(roleIndex(s9, m_set, g->roles[size_t(r)]));
    }
}

void ColourSchemesPage::refreshPreviews()
{
    const Record &s9 = section9();
    const ScreenPreviews previews(s9, host().measPars(), m_set);
    auto draw = [&](DisplayPreview *box, auto &&render) {
        render();
        box->showScreen(m_screen);
    };
    QWidget *page = m_colourDisp->currentWidget();
    if (page == m_colourDisp->widget(0)) {
        if (m_colourDig->currentIndex() == 0) {
            draw(m_digit1, [&] { previews.drawX1(m_screen, kX1PreviewCode); });
            draw(m_digit7, [&] { previews.drawX7(m_screen, 0); });
        } else {
            draw(m_digit4, [&] { previews.drawX4(m_screen, 0); });
            draw(m_digit9, [&] { previews.drawX9(m_screen, 0); });
        }
    } else if (page == m_colourDisp->widget(1)) {
        draw(m_menuPreview, [&] { previews.drawHotMenu(m_screen); });
    } else if (page == m_colourDisp->widget(2)) {
        draw(m_graphPreview, [&] { previews.drawGraph(m_screen, 0); });
    } else {
        draw(m_arrowPreview, [&] { previews.drawArrow(m_screen, 0); });
        const int right = placeOffset(ScreenKind::Arrow, 0, kRightGauge);
        draw(m_arrowM, [&] { previews.drawArrowCodes(m_screen, kWideScaleCode, s9.u8(right)); });
    }
}

void ColourSchemesPage::schemeChosen(int index)
{
    const bool changed = chooseColourScheme(section9(), index + 1, true,
                                            [this] { return askYesNo(host().dialog(), colourtexts::askChange()); });
    if (!changed) {
        const int active = activeColourScheme(section9());
        m_scheme->setItemIndex(active >= 1 && active <= kUserScheme ? active - 1 : -1);
        return;
    }
    m_set = editedSetFor(section9());
    refresh();
}

void ColourSchemesPage::paletteRowSelected(int) { showValues(); }

void ColourSchemesPage::rgbChanged()
{
    const int row = m_palette->selectedRow();
    if (m_loading || row < 0)
        return;
    setPaletteColour(section9(), m_set, row, packColour(m_r->value(), m_g->value(), m_b->value()));
    refresh();
}

void ColourSchemesPage::roleRowSelected(RoleGrid &, int) { showValues(); }

void ColourSchemesPage::roleIndexChanged(RoleGrid &grid)
{
    const int row = grid.grid->selectedRow();
    if (m_loading || row < 0)
        return;
    setRoleIndex(section9(), m_set, grid.roles[size_t(row)], grid.spin->value());
    refresh();
}

void ColourSchemesPage::dispVarChosen(QTableWidget *grid, int offset)
{
    const QList<QTableWidgetItem *> chosen = grid->selectedItems();
    if (m_loading || chosen.isEmpty())
        return;
    section9().setU8(offset, quint8(chosen.first()->row()));
    refreshPreviews();
}

void ColourSchemesPage::copyToUser()
{
    copySchemeToUser(section9());
    refresh();
}

void ColourSchemesPage::resetAll()
{
    if (!askYesNo(host().dialog(), colourtexts::askResetAll()))
        return;
    resetColourSchemes(section9());
    m_scheme->setItemIndex(0);
    m_set = 0;
    refresh();
    host().reloadAll();
}

} // namespace mk
