// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/DisplayLayoutPage.h"

#include "catalogs/DeviceModel.h"
#include "editor/DisplayLayoutMenus.h"
#include "editor/DisplayLayoutPreview.h"
#include "image/ColourSchemes.h"
#include "image/TMK.h"
#include "render/ScreenPreviews.h"
#include "settings/SpecialControls.h"

#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QVBoxLayout>

namespace mk {

namespace {

constexpr int kPreviewsPerRow = 3;

QString innerPageName(ScreenKind kind)
{
    switch (kind) {
    case ScreenKind::X4: return QStringLiteral("pcParams4");
    case ScreenKind::X7: return QStringLiteral("pcParams7");
    case ScreenKind::Graph: return QStringLiteral("pcParamsG");
    case ScreenKind::Arrow: return QStringLiteral("pcParamsA");
    default: return {};
    }
}

} // namespace

QString DisplayLayoutPage::previewName(ScreenKind kind, int screen)
{
    return special_control::layoutPreview(kind, screen);
}

QString DisplayLayoutPage::hintText(ScreenKind kind)
{
    switch (kind) {
    case ScreenKind::Graph:
        return QStringLiteral("Для изменения отображаемого параметра щелкните ПРАВОЙ кнопкой мыши в верхней "
                              "(верхний график) или нижней (нижний график) части соответствующего дисплея.");
    case ScreenKind::Arrow:
        return QStringLiteral("Для изменения отображаемого параметра щелкните ПРАВОЙ кнопкой мыши в левой "
                              "(левая стрелка) или правой (правая стрелка) части соответствующего дисплея.");
    default:
        return QStringLiteral("Для изменения отображаемого параметра щелкните ПРАВОЙ кнопкой мыши в нужной части "
                              "соответствующего дисплея.");
    }
}

DisplayLayoutPage::DisplayLayoutPage(QWidget *tabSheet, EditorHost &host, ScreenKind kind)
    : EditorPage(tabSheet, host), m_kind(kind)
{
    build();
}

void DisplayLayoutPage::build()
{
    // Three screens side by side use nearly all of the editor's width: thin margins.
    auto *layout = new QVBoxLayout(tabSheet());
    layout->setContentsMargins(2, 2, 2, 2);
    const int screens = screenCount(m_kind);
    const bool paged = screens > kPreviewsPerRow;
    QWidget *rowParent = tabSheet();
    QGridLayout *row = nullptr;
    if (paged) {
        m_inner = new QTabWidget(tabSheet());
        m_inner->setObjectName(innerPageName(m_kind));
        layout->addWidget(m_inner);
        connect(m_inner, &QTabWidget::currentChanged, this, &DisplayLayoutPage::refresh);
    }
    for (int s = 0; s < screens; ++s) {
        const int innerPage = s / kPreviewsPerRow;
        if (s % kPreviewsPerRow == 0) {
            if (paged) {
                rowParent = new QWidget(m_inner);
                const int last = std::min(s + kPreviewsPerRow, screens);
                m_inner->addTab(rowParent,
                                last - s == 1 ? QString::number(s + 1) : QStringLiteral("%1-%2").arg(s + 1).arg(last));
            }
            row = new QGridLayout;
            row->setHorizontalSpacing(4);
            row->setVerticalSpacing(2);
            if (paged) {
                auto *pageLayout = new QVBoxLayout(rowParent);
                pageLayout->setContentsMargins(2, 2, 2, 2);
                pageLayout->addLayout(row);
                pageLayout->addStretch();
            } else {
                layout->addLayout(row);
            }
        }
        auto *caption =
            new QLabel(screens == 1 ? QStringLiteral("Дисплей") : QStringLiteral("Дисплей %1").arg(s + 1), rowParent);
        auto *box = new DisplayPreview(previewName(m_kind, s), s, rowParent);
        box->setActualSize();
        box->setContextMenuPolicy(Qt::PreventContextMenu);
        row->addWidget(caption, 0, s % kPreviewsPerRow);
        row->addWidget(box, 1, s % kPreviewsPerRow);
        connect(box, &DisplayPreview::rightClicked, this,
                [this, s, box](int x, int y, int w, int h, const QPoint &pos) {
                    placeClicked(s, x, y, w, h, box->mapToGlobal(pos));
                });
        m_previews.push_back(box);
        m_innerPageOf.push_back(innerPage);
    }
    if (row)
        row->setColumnStretch(kPreviewsPerRow, 1);
    auto *hint = new QLabel(hintText(m_kind), tabSheet());
    hint->setObjectName(QStringLiteral("lHint") + previewName(m_kind, 0).mid(2).chopped(2)); // "lHintDigit4"
    hint->setWordWrap(true);
    layout->addWidget(hint);
    layout->addStretch();
}

bool DisplayLayoutPage::isShown(int screen) const
{
    return !m_inner || m_inner->currentIndex() == m_innerPageOf[size_t(screen)];
}

void DisplayLayoutPage::refresh()
{
    const Record &section9 = host().model().record(kDisplaySection);
    const ScreenPreviews previews(section9, host().measPars(), editedSetFor(section9));
    for (size_t s = 0; s < m_previews.size(); ++s) {
        if (!isShown(int(s)))
            continue;
        previews.render(m_screen, m_kind, int(s));
        m_previews[s]->showScreen(m_screen);
    }
}

void DisplayLayoutPage::placeClicked(int screen, int x, int y, int width, int height, const QPoint &globalPos)
{
    const int place = placeAt(m_kind, x, y, width, height);
    const int offset = placeOffset(m_kind, screen, place);
    if (place < 0 || offset < 0)
        return;
    const quint8 current = host().model().record(kDisplaySection).u8(offset);
    QMenu menu(host().dialog());
    menu.setObjectName(placeMenuName(m_kind, place));
    for (const PlaceMenuEntry &entry :
         placeMenuEntries(m_kind, place, CurrentProtocol(host().device()), host().measPars(), current)) {
        QAction *action = menu.addAction(entry.caption);
        action->setCheckable(true);
        action->setChecked(entry.checked);
        action->setData(int(entry.code));
    }
    QAction *chosen = execMenu(menu, globalPos);
    if (chosen && menu.actions().contains(chosen))
        assign(screen, place, quint8(chosen->data().toInt()));
}

void DisplayLayoutPage::assign(int screen, int place, quint8 code)
{
    const int offset = placeOffset(m_kind, screen, place);
    if (offset < 0)
        return;
    host().model().record(kDisplaySection).setU8(offset, code);
    refresh();
}

std::unique_ptr<EditorPage> makeLayoutPage4(QWidget *t, EditorHost &h)
{
    return std::make_unique<DisplayLayoutPage>(t, h, ScreenKind::X4);
}
std::unique_ptr<EditorPage> makeLayoutPage9(QWidget *t, EditorHost &h)
{
    return std::make_unique<DisplayLayoutPage>(t, h, ScreenKind::X9);
}
std::unique_ptr<EditorPage> makeLayoutPage7(QWidget *t, EditorHost &h)
{
    return std::make_unique<DisplayLayoutPage>(t, h, ScreenKind::X7);
}
std::unique_ptr<EditorPage> makeLayoutPageGraph(QWidget *t, EditorHost &h)
{
    return std::make_unique<DisplayLayoutPage>(t, h, ScreenKind::Graph);
}
std::unique_ptr<EditorPage> makeLayoutPageArrow(QWidget *t, EditorHost &h)
{
    return std::make_unique<DisplayLayoutPage>(t, h, ScreenKind::Arrow);
}
std::unique_ptr<EditorPage> makeLayoutPage6(QWidget *t, EditorHost &h)
{
    return std::make_unique<DisplayLayoutPage>(t, h, ScreenKind::X6);
}

} // namespace mk
