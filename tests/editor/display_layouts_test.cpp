// SPDX-License-Identifier: GPL-3.0-or-later
// The display-layout pages driven through their real previews: right clicks, pop-up menus,
// stores and redraws.

#include "EditorTestSupport.h"
#include "catalogs/MeasPars.h"
#include "catalogs/Prots.h"
#include "editor/DisplayLayoutMenus.h"
#include "editor/DisplayLayoutPage.h"
#include "editor/DisplayLayoutPreview.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QtTest>

using namespace mk;
using namespace mk::test;

namespace {

// Answers the next pop-up menu: remembers what it offered and picks the entry with that caption
// (none: closes the menu).
struct MenuAnswer
{
    int shown = 0;
    QString name;
    QStringList captions;
    QStringList checked;
    QString choose;

    MenuHook hook()
    {
        return [this](QMenu &menu) -> QAction * {
            ++shown;
            name = menu.objectName();
            captions.clear();
            checked.clear();
            QAction *pick = nullptr;
            for (QAction *a : menu.actions()) {
                captions << a->text();
                if (a->isChecked())
                    checked << a->text();
                if (a->text() == choose)
                    pick = a;
            }
            return pick;
        };
    }
};

// Brings a page of "Дисплей" to the front, as the user would.
void showPage(const OpenEditor &e, const char *tabSheet)
{
    e.find<QTabWidget>(QStringLiteral("pcMain"))->setCurrentWidget(e.find<QWidget>(QStringLiteral("tsDisp")));
    e.find<QTabWidget>(QStringLiteral("pcDisp"))->setCurrentWidget(e.find<QWidget>(QString::fromLatin1(tabSheet)));
}

void rightClick(QWidget *w, QPoint at) { QTest::mouseClick(w, Qt::RightButton, {}, at); }

QStringList namesOf(const MeasParCatalog &catalog, const std::vector<quint8> &codes)
{
    QStringList names;
    for (quint8 c : codes)
        if (const TMeasParBase *p = catalog.FindMeasPar(c))
            names << p->Name;
    return names;
}

} // namespace

class DisplayLayoutsTest : public QObject
{
    Q_OBJECT
private slots:
    void menusOfEveryKind();
    void rightClickStoresAndRedraws();
    void clickPlacesOfTheSmallerCells();
    void graphBelowItsGraphsOpensNothing();
    void otherButtonsDoNothing();
    void unknownAssignmentStaysUnchecked();
    void onlyTheVisibleInnerPageIsRedrawn();
    void hintsAndPreviewsArePresent();
};

void DisplayLayoutsTest::menusOfEveryKind()
{
    const MeasParCatalog catalog;
    TProtBase protocol(QStringLiteral("test"), 1, 0, {17, 18, 37, 40});
    // Codes without a catalog entry (40) are not offered.
    const QStringList all = namesOf(catalog, protocol.ParamCodes);
    QCOMPARE(all.size(), 19); // 1..16, 17, 18, 37
    auto captions = [&](ScreenKind kind, int place, quint8 current = 0) {
        QStringList out;
        for (const PlaceMenuEntry &e : placeMenuEntries(kind, place, &protocol, catalog, current))
            out << e.caption;
        return out;
    };
    for (ScreenKind kind : {ScreenKind::X4, ScreenKind::X9, ScreenKind::X7, ScreenKind::X6})
        QCOMPARE(captions(kind, 0), all);
    const QStringList graphable = namesOf(catalog, {10, 12, 13, 14, 15, 16, 17, 18});
    QCOMPARE(captions(ScreenKind::Graph, kUpperGraph), graphable);
    QCOMPARE(captions(ScreenKind::Graph, kLowerGraph), QStringList{QStringLiteral("Отсутствует")} + graphable);
    QCOMPARE(captions(ScreenKind::Arrow, kLeftGauge), namesOf(catalog, {11, 13, 14, 18}));
    QCOMPARE(captions(ScreenKind::Arrow, kRightGauge), namesOf(catalog, {10, 12, 15, 16, 17}));

    // A protocol without graphable parameters.
    protocol.ParamCodes = {1, 2, 7, 9};
    QVERIFY(captions(ScreenKind::Graph, kUpperGraph).isEmpty());
    QCOMPARE(captions(ScreenKind::Graph, kLowerGraph), QStringList{QStringLiteral("Отсутствует")});
    const auto lower = placeMenuEntries(ScreenKind::Graph, kLowerGraph, &protocol, catalog, 0);
    QCOMPARE(int(lower.front().code), 0);
    QVERIFY(lower.front().checked);
    // No current protocol: nothing to offer.
    QVERIFY(placeMenuEntries(ScreenKind::X4, 0, nullptr, catalog, 12).empty());
    QCOMPARE(placeMenuName(ScreenKind::Arrow, kRightGauge), QStringLiteral("pmArrow2"));
    QCOMPARE(placeMenuName(ScreenKind::Graph, kLowerGraph), QStringLiteral("pmGraph2"));
}

void DisplayLayoutsTest::rightClickStoresAndRedraws()
{
    OpenEditor e(1, 1);
    e.show();
    showPage(e, "tsParams4");
    auto *box = e.find<DisplayPreview>(QStringLiteral("pbDigit4_1"));
    QVERIFY(box);
    const int offset = placeOffset(ScreenKind::X4, 0, 3);
    const quint8 before = e.tmk.record(9).u8(offset);
    const TMeasParBase *current = e.session->measPars().FindMeasPar(before);
    QVERIFY(current);

    MenuAnswer answer;
    answer.choose = e.session->measPars().FindMeasPar(13)->Name;
    ScopedMenuHook hook(answer.hook());
    const QImage old = box->image();
    rightClick(box, {319, 239});
    QCOMPARE(answer.shown, 1);
    QCOMPARE(answer.name, QStringLiteral("pmDig4"));
    QCOMPARE(answer.checked, QStringList{current->Name});
    QCOMPARE(answer.captions, namesOf(e.session->measPars(), CurrentProtocol(e.session->device())->ParamCodes));
    QCOMPARE(int(e.tmk.record(9).u8(offset)), 13);
    QVERIFY(box->image() != old);

    // Closing the menu without a choice keeps the assignment.
    answer.choose.clear();
    rightClick(box, {319, 239});
    QCOMPARE(answer.shown, 2);
    QCOMPARE(answer.checked, QStringList{e.session->measPars().FindMeasPar(13)->Name});
    QCOMPARE(int(e.tmk.record(9).u8(offset)), 13);
}

void DisplayLayoutsTest::clickPlacesOfTheSmallerCells()
{
    OpenEditor e(1, 1);
    e.show();
    MenuAnswer answer;
    answer.choose = e.session->measPars().FindMeasPar(16)->Name;
    ScopedMenuHook hook(answer.hook());

    // x6: the middle cell belongs to the big value (place 0).
    showPage(e, "tsParams6");
    rightClick(e.find<DisplayPreview>(QStringLiteral("pbDigit6_1")), {160, 120});
    QCOMPARE(answer.name, QStringLiteral("pmDig6"));
    QCOMPARE(int(e.tmk.record(9).u8(400)), 16);
    // x9, screen 3, the last pixel: place 8, not past the screen.
    const quint8 next = e.tmk.record(9).u8(123);
    showPage(e, "tsParams9");
    rightClick(e.find<DisplayPreview>(QStringLiteral("pbDigit9_3")), {319, 239});
    QCOMPARE(int(e.tmk.record(9).u8(96 + 18 + 8)), 16);
    QCOMPARE(e.tmk.record(9).u8(123), next);
    // x7, screen 4, the lowest row: place 6.
    showPage(e, "tsParams7");
    auto *x7 = e.find<QTabWidget>(QStringLiteral("pcParams7"));
    x7->setCurrentIndex(1);
    rightClick(e.find<DisplayPreview>(QStringLiteral("pbDigit7_4")), {10, 239});
    QCOMPARE(int(e.tmk.record(9).u8(36 + 21 + 6)), 16);
    QCOMPARE(int(e.tmk.record(9).u8(64)), int(TMK::defaultRecords()[9].u8(64)));
    // Pointer screens: X < W - 200 is the left gauge.
    showPage(e, "tsParamsA");
    answer.choose = e.session->measPars().FindMeasPar(13)->Name;
    rightClick(e.find<DisplayPreview>(QStringLiteral("pbArrow_2")), {119, 10});
    QCOMPARE(answer.name, QStringLiteral("pmArrow1"));
    QCOMPARE(int(e.tmk.record(9).u8(82)), 13);
    answer.choose = e.session->measPars().FindMeasPar(12)->Name;
    rightClick(e.find<DisplayPreview>(QStringLiteral("pbArrow_2")), {120, 10});
    QCOMPARE(answer.name, QStringLiteral("pmArrow2"));
    QCOMPARE(int(e.tmk.record(9).u8(83)), 12);
    // The lower graph can be switched off.
    showPage(e, "tsParamsG");
    answer.choose = QStringLiteral("Отсутствует");
    rightClick(e.find<DisplayPreview>(QStringLiteral("pbGraph_1")), {10, 100});
    QCOMPARE(answer.name, QStringLiteral("pmGraph2"));
    QCOMPARE(int(e.tmk.record(9).u8(65)), 0);
}

void DisplayLayoutsTest::graphBelowItsGraphsOpensNothing()
{
    OpenEditor e(1, 1);
    e.show();
    showPage(e, "tsParamsG");
    MenuAnswer answer;
    ScopedMenuHook hook(answer.hook());
    rightClick(e.find<DisplayPreview>(QStringLiteral("pbGraph_1")), {10, 200});
    QCOMPARE(answer.shown, 0);
    rightClick(e.find<DisplayPreview>(QStringLiteral("pbGraph_1")), {10, 180});
    QCOMPARE(answer.shown, 1);
    QCOMPARE(answer.name, QStringLiteral("pmGraph2"));
}

void DisplayLayoutsTest::otherButtonsDoNothing()
{
    OpenEditor e(1, 1);
    e.show();
    showPage(e, "tsParams4");
    MenuAnswer answer;
    ScopedMenuHook hook(answer.hook());
    QTest::mouseClick(e.find<DisplayPreview>(QStringLiteral("pbDigit4_1")), Qt::LeftButton, {}, {10, 10});
    QTest::mouseClick(e.find<DisplayPreview>(QStringLiteral("pbDigit4_1")), Qt::MiddleButton, {}, {10, 10});
    QCOMPARE(answer.shown, 0);
}

void DisplayLayoutsTest::unknownAssignmentStaysUnchecked()
{
    OpenEditor e(1, 1);
    const int offset = placeOffset(ScreenKind::X4, 1, 0);
    e.tmk.record(9).setU8(offset, 200);
    e.show();
    MenuAnswer answer;
    ScopedMenuHook hook(answer.hook());
    showPage(e, "tsParams4");
    rightClick(e.find<DisplayPreview>(QStringLiteral("pbDigit4_2")), {5, 5});
    QCOMPARE(answer.shown, 1);
    QVERIFY(answer.checked.isEmpty());
    QCOMPARE(int(e.tmk.record(9).u8(offset)), 200);
}

void DisplayLayoutsTest::onlyTheVisibleInnerPageIsRedrawn()
{
    OpenEditor e(1, 1);
    e.show();
    showPage(e, "tsParams4");
    auto *inner = e.find<QTabWidget>(QStringLiteral("pcParams4"));
    auto *first = e.find<DisplayPreview>(QStringLiteral("pbDigit4_1"));
    auto *fourth = e.find<DisplayPreview>(QStringLiteral("pbDigit4_4"));
    inner->setCurrentIndex(0);
    const int firstBefore = first->drawCount(), fourthBefore = fourth->drawCount();
    auto *page = qobject_cast<DisplayLayoutPage *>(e.dialog->page(QStringLiteral("tsParams4")));
    QVERIFY(page);
    page->assign(0, 0, 17);
    QCOMPARE(first->drawCount(), firstBefore + 1);
    QCOMPARE(fourth->drawCount(), fourthBefore);
    inner->setCurrentIndex(1);
    QCOMPARE(fourth->drawCount(), fourthBefore + 1);
}

void DisplayLayoutsTest::hintsAndPreviewsArePresent()
{
    OpenEditor e(1, 1);
    const struct
    {
        const char *tab;
        ScreenKind kind;
    } pages[] = {{"tsParams4", ScreenKind::X4},    {"tsParams9", ScreenKind::X9},    {"tsParams7", ScreenKind::X7},
                 {"tsParamsG", ScreenKind::Graph}, {"tsParamsA", ScreenKind::Arrow}, {"tsParams6", ScreenKind::X6}};
    for (const auto &p : pages) {
        QWidget *tab = e.find<QWidget>(QString::fromLatin1(p.tab));
        QVERIFY2(tab, p.tab);
        bool hint = false;
        for (QLabel *l : tab->findChildren<QLabel *>())
            hint |= l->text() == DisplayLayoutPage::hintText(p.kind);
        QVERIFY2(hint, p.tab);
        for (int s = 0; s < screenCount(p.kind); ++s) {
            auto *box = tab->findChild<DisplayPreview *>(DisplayLayoutPage::previewName(p.kind, s));
            QVERIFY2(box, qPrintable(DisplayLayoutPage::previewName(p.kind, s)));
            QCOMPARE(box->size(), QSize(320, 240));
        }
    }
    QVERIFY(DisplayLayoutPage::hintText(ScreenKind::X4).contains(QStringLiteral("ПРАВОЙ")));
    QVERIFY(DisplayLayoutPage::hintText(ScreenKind::Graph) != DisplayLayoutPage::hintText(ScreenKind::X4));
    QVERIFY(DisplayLayoutPage::hintText(ScreenKind::Arrow) != DisplayLayoutPage::hintText(ScreenKind::Graph));
}

QTEST_MAIN(DisplayLayoutsTest)
#include "display_layouts_test.moc"
