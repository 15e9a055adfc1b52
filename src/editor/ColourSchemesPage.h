// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The page "Цветовые схемы": the active scheme, the palette of the edited scheme set colour by
// colour, the palette colour of every screen part, previews, copying and resetting the schemes.
// Every change goes into section 9 of the working records at once.

#include "editor/EditorPage.h"
#include "render/ScreenRenderer.h"

#include <vector>

class QLabel;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;

namespace mk {

class ColourGrid;
class DisplayPreview;
class Record;
class RadioGroup;

class ColourSchemesPage : public EditorPage
{
    Q_OBJECT
public:
    ColourSchemesPage(QWidget *tabSheet, EditorHost &host);

    void load() override;
    void activated() override { refreshPreviews(); }

    // 0 while a predefined scheme is active, 1 for the user scheme.
    int editedSet() const { return m_set; }
    // Repaints the grids and spin edits from the records and redraws the visible previews.
    void refresh();

private:
    // One grid of screen parts with its caption label and palette-index spin edit.
    struct RoleGrid
    {
        ColourGrid *grid = nullptr;
        QLabel *label = nullptr;
        QSpinBox *spin = nullptr;
        std::vector<int> roles; // colour role of each row
    };

    void build();
    QWidget *buildRoleTab(RoleGrid &grid, const QString &name, const std::vector<int> &roles, QWidget *previews);
    Record &section9() const;

    void schemeChosen(int index);
    void paletteRowSelected(int row);
    void rgbChanged();
    void roleRowSelected(RoleGrid &grid, int row);
    void roleIndexChanged(RoleGrid &grid);
    void dispVarChosen(QTableWidget *grid, int offset);
    void copyToUser();
    void resetAll();
    void refreshPreviews();
    void showValues();

    RadioGroup *m_scheme = nullptr;
    ColourGrid *m_palette = nullptr;
    QLabel *m_colourTab = nullptr;
    QSpinBox *m_r = nullptr;
    QSpinBox *m_g = nullptr;
    QSpinBox *m_b = nullptr;
    RoleGrid m_digit, m_menu, m_graph, m_arrow;
    QTableWidget *m_dispVar4 = nullptr;
    QTableWidget *m_dispVar9 = nullptr;
    QTabWidget *m_colourDisp = nullptr; // pcColorDisp: digital, menu, graphs, pointers
    QTabWidget *m_colourDig = nullptr;  // pcColorDig: "х1 и х7", "х4 и х9"
    DisplayPreview *m_digit1 = nullptr, *m_digit7 = nullptr, *m_digit4 = nullptr, *m_digit9 = nullptr;
    DisplayPreview *m_menuPreview = nullptr, *m_graphPreview = nullptr, *m_arrowPreview = nullptr, *m_arrowM = nullptr;
    int m_set = 0;
    bool m_loading = false;
    ScreenRenderer m_screen;
};

} // namespace mk
