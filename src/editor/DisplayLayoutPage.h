// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pages "Дисплеи х4", "Дисплеи х9", "Дисплеи х7", "Граф. дисплеи", "Стрел. дисплеи" and
// "Дисплей х6": a preview per screen; a right click into a preview offers the measured parameters
// for the place under the mouse and stores the one chosen.

#include "editor/EditorPage.h"
#include "render/ScreenLayouts.h"
#include "render/ScreenRenderer.h"

#include <vector>

class QPoint;
class QTabWidget;

namespace mk {

class DisplayPreview;

class DisplayLayoutPage : public EditorPage
{
    Q_OBJECT
public:
    DisplayLayoutPage(QWidget *tabSheet, EditorHost &host, ScreenKind kind);

    void load() override { refresh(); }
    void activated() override { refresh(); }

    ScreenKind kind() const { return m_kind; }
    DisplayPreview *preview(int screen) const { return m_previews.at(size_t(screen)); }
    // Redraws the previews of the visible inner page.
    void refresh();
    // What a right click at (x, y) of a width x height preview of the screen does.
    void placeClicked(int screen, int x, int y, int width, int height, const QPoint &globalPos);
    void assign(int screen, int place, quint8 code);

    // The texts under the previews.
    static QString hintText(ScreenKind kind);
    // objectName of a screen's preview ("pbDigit4_1" ...).
    static QString previewName(ScreenKind kind, int screen);

private:
    void build();
    bool isShown(int screen) const;

    ScreenKind m_kind;
    QTabWidget *m_inner = nullptr; // the inner page control when the screens do not fit in a row
    std::vector<DisplayPreview *> m_previews;
    std::vector<int> m_innerPageOf; // inner page of each screen
    ScreenRenderer m_screen;
};

// The six pages, one factory each, for the frame's list of special pages.
std::unique_ptr<EditorPage> makeLayoutPage4(QWidget *tabSheet, EditorHost &host);
std::unique_ptr<EditorPage> makeLayoutPage9(QWidget *tabSheet, EditorHost &host);
std::unique_ptr<EditorPage> makeLayoutPage7(QWidget *tabSheet, EditorHost &host);
std::unique_ptr<EditorPage> makeLayoutPageGraph(QWidget *tabSheet, EditorHost &host);
std::unique_ptr<EditorPage> makeLayoutPageArrow(QWidget *tabSheet, EditorHost &host);
std::unique_ptr<EditorPage> makeLayoutPage6(QWidget *tabSheet, EditorHost &host);

} // namespace mk
