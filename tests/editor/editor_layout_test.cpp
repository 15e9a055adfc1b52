// SPDX-License-Identifier: GPL-3.0-or-later
// Every page of the editor fits its 1021 x 562 frame with every caption whole, for contrasting
// models. With MK_SCREENSHOT_DIR set, each page is also written there as a PNG.

#include "EditorTestSupport.h"
#include "app/LayoutChecks.h"
#include "app/Mnemonics.h"
#include "editor/EditorPage.h"
#include "editor/FieldControls.h"
#include "editor/SimplePages.h"
#include "settings/FieldTable.h"
#include "settings/SettingsPages.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QStackedWidget>
#include <QTabWidget>
#include <QtTest>

#include <algorithm>
#include <tuple>

using namespace mk;
using namespace mk::test;

class EditorLayoutTest : public QObject
{
    Q_OBJECT
private slots:
    void pagesFitAndCaptionsAreWhole_data();
    void pagesFitAndCaptionsAreWhole();
    void everyPageIsBuiltOnceAndNamedOnce();
    void builtControlsAreTheRowsControls();
};

void EditorLayoutTest::pagesFitAndCaptionsAreWhole_data()
{
    QTest::addColumn<int>("modelCode");
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("protocol");
    QTest::addColumn<int>("selectMeth");
    // single service counter, no voice, no parking, no gas; protocol "Tiggo"
    QTest::newRow("0C01-0") << 0x0C01 << 0 << 0 << 0;
    // 24 V, second tank, extended systems, everything else shown; protocol "CAN" chosen by hand
    QTest::newRow("8002") << 0x8002 << 0 << 6 << 99;
    // hybrid protocol "Estima"
    QTest::newRow("0105-6") << 0x0105 << 6 << 1 << 99;
    // universal input, no parking, no gas
    QTest::newRow("0A01-10") << 0x0A01 << 10 << 0 << 0;
}

static void checkWhole(QWidget *root, const QString &where)
{
    for (QWidget *w : root->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(root))
            continue;
        const QString name =
            where + QLatin1Char('/') + w->objectName() + QLatin1Char(' ') + w->metaObject()->className();
        if (auto *l = qobject_cast<QLabel *>(w)) {
            if (!l->text().isEmpty())
                QVERIFY2(l->width() >= l->sizeHint().width(),
                         qPrintable(name + QLatin1String(" clipped: ") + l->text()));
        } else if (auto *b = qobject_cast<QAbstractButton *>(w)) {
            QVERIFY2(b->width() >= b->sizeHint().width(), qPrintable(name + QLatin1String(" clipped: ") + b->text()));
        } else if (auto *g = qobject_cast<QGroupBox *>(w)) {
            QVERIFY2(g->width() >= g->minimumSizeHint().width(),
                     qPrintable(name + QLatin1String(" too narrow: ") + g->title()));
        }
        if (w->layout())
            QVERIFY2(w->width() >= w->layout()->minimumSize().width() &&
                         w->height() >= w->layout()->minimumSize().height(),
                     qPrintable(name + QStringLiteral(" squeezed: %1x%2 < %3x%4")
                                           .arg(w->width())
                                           .arg(w->height())
                                           .arg(w->layout()->minimumSize().width())
                                           .arg(w->layout()->minimumSize().height())));
    }
}

// Row-by-row steps in a Tab chain: four stops d, a, b, c reached in that order where d and a share
// a row, b and c the next one, d and b one column and a and c the column to its right. Each stop
// comes with its container and its place in it; only stops of one container are compared.
static QStringList rowByRowSteps(const QList<std::tuple<QWidget *, QWidget *, QRect>> &stops)
{
    const auto overlap = [](int a1, int a2, int b1, int b2) { return a1 <= b2 && b1 <= a2; };
    const auto name = [](QWidget *w) {
        if (auto *group = qobject_cast<QGroupBox *>(w); group && w->objectName().isEmpty())
            return QStringLiteral("\"%1\"").arg(group->title());
        return w->objectName();
    };
    QStringList faults;
    for (qsizetype i = 0; i < stops.size(); ++i) {
        const auto &[wa, box, a] = stops[i];
        for (qsizetype j = i + 1; j < stops.size(); ++j) {
            const auto &[wb, boxB, b] = stops[j];
            if (boxB != box || b.right() >= a.left())
                continue;
            bool besideBefore = false;
            for (qsizetype h = 0; h < i && !besideBefore; ++h) {
                const auto &[wd, boxD, d] = stops[h];
                besideBefore = boxD == box && overlap(d.left(), d.right(), b.left(), b.right()) &&
                               overlap(d.top(), d.bottom(), a.top(), a.bottom());
            }
            for (qsizetype k = j + 1; k < stops.size() && besideBefore; ++k) {
                const auto &[wc, boxC, c] = stops[k];
                if (boxC == box && c.left() > b.right() && overlap(c.top(), c.bottom(), b.top(), b.bottom()) &&
                    overlap(c.left(), c.right(), a.left(), a.right())) {
                    faults << name(wb) + QStringLiteral(" comes after ") + name(wa) + QStringLiteral(" and before ") +
                                  name(wc);
                    break;
                }
            }
        }
    }
    return faults;
}

// The Tab order of a page runs top to bottom, column by column: within each group, and from group
// to group on the page.
static QStringList tabOrderFaults(QWidget *dialog, QWidget *sheet)
{
    QList<QWidget *> chain;
    QWidget *w = dialog;
    do {
        w = w->nextInFocusChain();
        // The buttons of a radio group are one stop: Tab lands on the checked one.
        QWidget *stop = w->parentWidget() && w->parentWidget()->inherits("mk::RadioGroup") ? w->parentWidget() : w;
        if (w->isVisibleTo(dialog) && (w->focusPolicy() & Qt::TabFocus) && sheet->isAncestorOf(w) && !w->focusProxy() &&
            !chain.contains(stop))
            chain << stop;
    } while (w != dialog);
    const auto container = [sheet](QWidget *c) {
        for (QWidget *p = c->parentWidget(); p; p = p->parentWidget())
            if (p == sheet || qobject_cast<QGroupBox *>(p) || qobject_cast<QStackedWidget *>(p->parentWidget()))
                return p;
        return sheet;
    };
    QList<std::tuple<QWidget *, QWidget *, QRect>> leaves, blocks;
    for (QWidget *c : chain) {
        QWidget *box = container(c);
        leaves.append({c, box, QRect(c->mapTo(box, QPoint()), c->size())});
        // The block of the page the control stands in: its outermost widget under the sheet.
        QWidget *block = c;
        while (block->parentWidget() != sheet)
            block = block->parentWidget();
        if (std::none_of(blocks.begin(), blocks.end(), [block](const auto &b) { return std::get<0>(b) == block; }))
            blocks.append({block, sheet, block->geometry()});
    }
    return rowByRowSteps(leaves) + rowByRowSteps(blocks);
}

void EditorLayoutTest::pagesFitAndCaptionsAreWhole()
{
    QFETCH(int, modelCode);
    QFETCH(int, version);
    QFETCH(int, protocol);
    QFETCH(int, selectMeth);
    TMK tmk;
    makeModel(tmk, quint16(modelCode), quint32(version), protocol);
    tmk.record(10).setU8(8, quint8(selectMeth == 99 ? 0 : selectMeth));
    EditSession session(tmk);
    TMK_SetParamsDlg dlg(session);
    if (selectMeth == 99) {
        // "Руч." is the last method: the protocol list shows.
        auto *meth = dlg.findChild<QComboBox *>(QStringLiteral("cbProtocolSelectMeth"));
        meth->setCurrentIndex(meth->count() - 1);
        emit meth->activated(meth->count() - 1);
    }
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QCOMPARE(dlg.size(), QSize(1021, 562));

    const QString dir = qEnvironmentVariable("MK_SCREENSHOT_DIR");
    auto *main = dlg.findChild<QTabWidget *>(QStringLiteral("pcMain"));
    auto *disp = dlg.findChild<QTabWidget *>(QStringLiteral("pcDisp"));
    const QString tag = QString::fromLatin1(QTest::currentDataTag());
    for (int i = 0; i < main->count(); ++i) {
        if (!main->isTabVisible(i))
            continue;
        main->setCurrentIndex(i);
        const bool isDisp = main->widget(i) == disp->parentWidget();
        for (int j = 0; j < (isDisp ? disp->count() : 1); ++j) {
            if (isDisp)
                disp->setCurrentIndex(j);
            QApplication::processEvents();
            QWidget *sheet = isDisp ? disp->currentWidget() : main->currentWidget();
            // Inner page controls of the sheet (the colour schemes' role grids): each page of
            // them is checked as well; the others stay on their first page meanwhile.
            QList<std::pair<QTabWidget *, int>> inner{{nullptr, 0}};
            for (QTabWidget *tabs : sheet->findChildren<QTabWidget *>())
                for (int k = 1; k < tabs->count(); ++k)
                    inner.append({tabs, k});
            for (const auto &[tabs, k] : inner) {
                if (tabs)
                    tabs->setCurrentIndex(k);
                QApplication::processEvents();
                const QString where =
                    sheet->objectName() +
                    (tabs ? QStringLiteral("-") + tabs->objectName() + QString::number(k) : QString());
                checkWhole(&dlg, tag + QLatin1Char('/') + where);
                const QStringList faults = clippedWidgets(dlg);
                QVERIFY2(faults.isEmpty(), qPrintable(where + QLatin1String(": ") + faults.join(QLatin1String("; "))));
                const QStringList order = tabOrderFaults(&dlg, sheet);
                QVERIFY2(order.isEmpty(),
                         qPrintable(where + QLatin1String(" Tab order: ") + order.mid(0, 5).join(QLatin1String("; "))));
                const QStringList shortcuts = mnemonicFaults(dlg);
                QVERIFY2(shortcuts.isEmpty(),
                         qPrintable(where + QLatin1String(": ") + shortcuts.join(QLatin1String("; "))));
                if (!dir.isEmpty()) {
                    QDir().mkpath(dir);
                    dlg.grab().save(
                        QStringLiteral("%1/%2-%3-%4.png").arg(dir, tag).arg(i, 2, 10, QLatin1Char('0')).arg(where));
                }
                if (tabs)
                    tabs->setCurrentIndex(0);
            }
        }
    }
}

// Every row of the pages table is filled by its simple builder, a special page or (the display
// page) the pages it holds; a special page fills one page of the table, once; no two pages share a
// caption or a tab name (users name pages by them).
void EditorLayoutTest::everyPageIsBuiltOnceAndNamedOnce()
{
    const std::vector<PageEntry> special = specialPages();
    QSet<QString> names;
    for (const SettingsPage &p : settingsPages()) {
        const auto bySpecial = std::count_if(special.begin(), special.end(),
                                             [&](const PageEntry &e) { return e.page == p.id && e.factory; });
        QVERIFY2(bySpecial <= 1, qPrintable(p.tab));
        QVERIFY2(simplePageBuilder(p.id) || bySpecial == 1 || p.id == PageId::Display, qPrintable(p.tab));
        QVERIFY2(!names.contains(p.caption) && !names.contains(p.tab), qPrintable(p.tab));
        names << p.caption << p.tab;
    }
    QCOMPARE(std::count_if(special.begin(), special.end(), [](const PageEntry &e) { return !e.page; }), 1);
}

// What the simple pages' layouts made is what the field table's rows name (the protocol page binds
// the controls and labels it is given): every row a special page does not make is made once, on
// its page's sheet (or, for a page that only holds pages, on one it holds), with its objectName.
void EditorLayoutTest::builtControlsAreTheRowsControls()
{
    std::vector<int> made(size_t(kFieldCount), 0);
    for (const SettingsPage &p : settingsPages()) {
        const SimplePageBuild build = simplePageBuilder(p.id);
        if (!build)
            continue;
        QWidget sheet;
        build(&sheet);
        const BuiltFields &built = BuiltFields::of(&sheet);
        for (const FieldDef &def : fieldTable()) {
            QWidget *control = built.control(def.id);
            QLabel *label = built.label(def.id);
            if (!control) {
                QVERIFY2(!label, qPrintable(def.name));
                continue;
            }
            ++made[size_t(def.id)];
            QVERIFY2(def.page == p.id || p.parent == def.page, qPrintable(def.name));
            QCOMPARE(control->objectName(), def.control);
            QCOMPARE(sheet.findChildren<QWidget *>(def.control).size(), 1);
            if (label)
                QCOMPARE(label->objectName(), labelOf(def));
        }
    }
    for (const FieldDef &def : fieldTable())
        QVERIFY2(made[size_t(def.id)] == (def.binding == Binding::TankPage ? 0 : 1), qPrintable(def.name));

    QWidget sources;
    buildSourcesPage(&sources);
    const BuiltFields &built = BuiltFields::of(&sources);
    QVERIFY(built.label(FieldId::Protocol));
    for (FieldId subType : kProtocolSubTypeFields)
        QVERIFY2(qobject_cast<QComboBox *>(built.control(subType)) && built.label(subType), fieldName(subType));
}

QTEST_MAIN(EditorLayoutTest)
#include "editor_layout_test.moc"
