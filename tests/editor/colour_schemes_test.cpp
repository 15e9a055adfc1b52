// SPDX-License-Identifier: GPL-3.0-or-later
// The page "Цветовые схемы" driven through its real controls.

#include "EditorTestSupport.h"
#include "base/Colour.h"
#include "editor/ColourSchemesPage.h"
#include "editor/ColourSchemesPageGrid.h"
#include "editor/DisplayLayoutPreview.h"
#include "image/ColourSchemes.h"
#include "widgets/MessageBoxes.h"
#include "widgets/RadioGroup.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>

using namespace mk;
using namespace mk::test;

namespace {

// Answers every message box with `answer` and remembers the texts asked.
struct Answers
{
    QStringList asked;
    QMessageBox::StandardButton answer = QMessageBox::No;
    DialogHook hook()
    {
        return [this](QDialog &d) {
            if (auto *box = qobject_cast<QMessageBox *>(&d))
                asked << box->text();
            return int(answer);
        };
    }
};

struct ColourPage : OpenEditor
{
    ColourPage() : OpenEditor(1, 1)
    {
        show();
        find<QTabWidget>(QStringLiteral("pcMain"))->setCurrentWidget(find<QWidget>(QStringLiteral("tsDisp")));
        find<QTabWidget>(QStringLiteral("pcDisp"))->setCurrentWidget(find<QWidget>(QStringLiteral("tsColor")));
    }
    Record &s9() { return tmk.record(9); }
    RadioGroup *schemes() { return find<RadioGroup>(QStringLiteral("rgActiveColorScheme")); }
    QSpinBox *spin(const char *name) { return find<QSpinBox>(QString::fromLatin1(name)); }
    ColourGrid *grid(const char *name) { return find<ColourGrid>(QString::fromLatin1(name)); }
    void clickScheme(int index) { QTest::mouseClick(schemes()->button(index), Qt::LeftButton); }
};

} // namespace

class ColourSchemesTest : public QObject
{
    Q_OBJECT
private slots:
    void paletteEditsPackAndStore();
    void roleGridsStoreAtTheirOffsets();
    void userSchemeAndBackAsksNothing();
    void anotherSchemeAsksAndNoKeepsAll();
    void copyAndResetAll();
    void variantGridsStore();
    void onlyTheVisiblePreviewsAreRedrawn();
    void cancelAfterColourEditsKeepsTheImage();
};

void ColourSchemesTest::paletteEditsPackAndStore()
{
    ColourPage p;
    QCOMPARE(p.schemes()->itemIndex(), 0); // factory: scheme 1 active
    ColourGrid *palette = p.grid("sgPalette");
    palette->setCurrentCell(9, 1); // F800 in every preset
    QCOMPARE(p.find<QLabel>(QStringLiteral("lColorTab"))->text(), palette->caption(9));
    QCOMPARE(p.spin("seR")->value(), 31);
    QCOMPARE(p.spin("seG")->value(), 0);
    QCOMPARE(p.spin("seB")->value(), 0);

    const int at = 248 + 2 * 9;
    const struct
    {
        int r, g, b;
        int word;
    } cases[] = {{31, 0, 0, 63488}, {0, 31, 0, 2016}, {0, 0, 31, 31}, {31, 31, 31, 65535}, {0, 1, 0, 96}};
    for (const auto &c : cases) {
        p.spin("seR")->setValue(c.r);
        p.spin("seG")->setValue(c.g);
        p.spin("seB")->setValue(c.b);
        QCOMPARE(int(p.s9().u16(at)), c.word);
        QCOMPARE(palette->rowColour(9), quint16(c.word));
    }
    // Selecting another row shows its values and stores nothing.
    const QByteArray before = p.s9().bytes();
    palette->setCurrentCell(2, 1);
    QCOMPARE(p.s9().bytes(), before);
    QCOMPARE(p.spin("seR")->value(), int(unpackColour(0xFB60).r));
}

void ColourSchemesTest::roleGridsStoreAtTheirOffsets()
{
    ColourPage p;
    // The pointer-display grid's rows are not in the record's order: row 8 is offset 46.
    const int rowOffsets[10] = {45, 47, 48, 49, 50, 51, 52, 54, 46, 53};
    ColourGrid *arrow = p.grid("sgArrow");
    for (int row = 0; row < 10; ++row) {
        arrow->setCurrentCell(row, 1);
        QCOMPARE(p.find<QLabel>(QStringLiteral("lArrow"))->text(), arrow->caption(row));
        QCOMPARE(p.spin("seArrow")->value(), p.s9().u8(248 + rowOffsets[row]) & 15);
        const int value = (row + 3) % 16;
        p.spin("seArrow")->setValue(value);
        QCOMPARE(int(p.s9().u8(248 + rowOffsets[row])), value);
        QCOMPARE(arrow->rowColour(row), paletteColour(p.s9(), 0, value));
    }
    p.grid("sgDigit")->setCurrentCell(4, 1);
    p.spin("seDigit")->setValue(7);
    QCOMPARE(int(p.s9().u8(248 + 36)), 7);
    p.grid("sgMenu")->setCurrentCell(2, 1);
    p.spin("seMenu")->setValue(6);
    QCOMPARE(int(p.s9().u8(248 + 39)), 6);
    p.grid("sgGraph")->setCurrentCell(0, 1);
    p.spin("seGraph")->setValue(5);
    QCOMPARE(int(p.s9().u8(248 + 40)), 5);
}

void ColourSchemesTest::userSchemeAndBackAsksNothing()
{
    ColourPage p;
    p.s9().setU8(kActiveColourSchemeOffset, 0x11);
    p.dialog->reloadAll();
    const QByteArray before = p.s9().bytes();
    Answers answers;
    ScopedDialogHook hook(answers.hook());
    p.clickScheme(3);
    QCOMPARE(int(p.s9().u8(kActiveColourSchemeOffset)), 0x14);
    // The user scheme's palette is what the grid now edits.
    p.grid("sgPalette")->setCurrentCell(0, 1);
    p.spin("seB")->setValue(5);
    QCOMPARE(int(p.s9().u16(304)), 5);
    p.spin("seB")->setValue(0);
    p.clickScheme(0);
    QVERIFY(answers.asked.isEmpty());
    QCOMPARE(p.s9().bytes(), before);
}

void ColourSchemesTest::anotherSchemeAsksAndNoKeepsAll()
{
    ColourPage p;
    const QByteArray before = p.s9().bytes();
    Answers answers;
    ScopedDialogHook hook(answers.hook());
    p.clickScheme(1);
    QCOMPARE(answers.asked, QStringList{QStringLiteral("Сменить цветовую схему?")});
    QCOMPARE(p.s9().bytes(), before);
    QCOMPARE(p.schemes()->itemIndex(), 0);

    answers.answer = QMessageBox::Yes;
    p.clickScheme(1);
    QCOMPARE(int(p.s9().u8(kActiveColourSchemeOffset)), 0x22);
    QCOMPARE(p.s9().raw(248, 56), TMK::colourPreset(2));
    QCOMPARE(p.s9().raw(304, 56), before.mid(304, 56));
}

void ColourSchemesTest::copyAndResetAll()
{
    ColourPage p;
    p.grid("sgPalette")->setCurrentCell(1, 1);
    p.spin("seG")->setValue(3);
    QTest::mouseClick(p.find<QPushButton>(QStringLiteral("bCopyToUser")), Qt::LeftButton);
    QCOMPARE(p.s9().raw(304, 56), p.s9().raw(248, 56));

    Answers answers;
    ScopedDialogHook hook(answers.hook());
    const QByteArray before = p.s9().bytes();
    QTest::mouseClick(p.find<QPushButton>(QStringLiteral("bPaletteInit")), Qt::LeftButton);
    QCOMPARE(answers.asked, QStringList{QStringLiteral("Привести все настройки цветовых схем в исходное состояние?")});
    QCOMPARE(p.s9().bytes(), before);

    p.clickScheme(3); // the user scheme, then reset
    answers.answer = QMessageBox::Yes;
    QTest::mouseClick(p.find<QPushButton>(QStringLiteral("bPaletteInit")), Qt::LeftButton);
    QCOMPARE(p.s9().raw(248, 56), TMK::colourPreset(1));
    QCOMPARE(p.s9().raw(304, 56), TMK::colourPreset(4));
    QCOMPARE(int(p.s9().u8(kActiveColourSchemeOffset)), 17);
    QCOMPARE(p.schemes()->itemIndex(), 0);
    p.grid("sgPalette")->setCurrentCell(1, 1);
    QCOMPARE(p.spin("seG")->value(), int(unpackColour(0x0269).g)); // set 0 is edited again
}

void ColourSchemesTest::variantGridsStore()
{
    ColourPage p;
    auto *var4 = p.find<QTableWidget>(QStringLiteral("sgDispVar4"));
    auto *var9 = p.find<QTableWidget>(QStringLiteral("sgDispVar9"));
    var4->selectRow(1);
    QCOMPARE(int(p.s9().u8(9)), 1);
    var9->selectRow(1);
    QCOMPARE(int(p.s9().u8(10)), 1);
    var4->selectRow(0);
    QCOMPARE(int(p.s9().u8(9)), 0);
}

void ColourSchemesTest::onlyTheVisiblePreviewsAreRedrawn()
{
    ColourPage p;
    auto *disp = p.find<QTabWidget>(QStringLiteral("pcColorDisp"));
    auto *dig = p.find<QTabWidget>(QStringLiteral("pcColorDig"));
    disp->setCurrentIndex(0);
    dig->setCurrentIndex(0);
    auto *x1 = p.find<DisplayPreview>(QStringLiteral("pbDigit1"));
    auto *x4 = p.find<DisplayPreview>(QStringLiteral("pbDigit4"));
    auto *menu = p.find<DisplayPreview>(QStringLiteral("pbMenu"));
    const int x1Before = x1->drawCount(), x4Before = x4->drawCount(), menuBefore = menu->drawCount();
    p.grid("sgDigit")->setCurrentCell(1, 1); // "Фон 1"
    p.spin("seDigit")->setValue(12);
    QCOMPARE(x1->drawCount(), x1Before + 1);
    QCOMPARE(x4->drawCount(), x4Before);
    QCOMPARE(menu->drawCount(), menuBefore);
    // The x1 preview shows the new background.
    QCOMPARE(x1->image().pixel(0, 0), colourToArgb(paletteColour(p.s9(), 0, 12)));
    dig->setCurrentIndex(1);
    QCOMPARE(x4->drawCount(), x4Before + 1);
    QCOMPARE(x4->image().pixel(1, 1), colourToArgb(paletteColour(p.s9(), 0, 12)));
    const char *pages[3][2] = {{"pbMenu", "pbMenu"}, {"pbGraph", "pbGraph"}, {"pbArrow", "pbArrowM"}};
    for (int i = 0; i < 3; ++i) {
        disp->setCurrentIndex(i + 1);
        for (const char *name : pages[i])
            QVERIFY2(p.find<DisplayPreview>(QString::fromLatin1(name))->drawCount() > 0, name);
    }
}

void ColourSchemesTest::cancelAfterColourEditsKeepsTheImage()
{
    ColourPage p;
    const QByteArray image = p.tmk.image();
    // The record as it was before the dialog opened (opening compacts the hot menus in it).
    TMK untouched;
    untouched.replaceImage(p.tmk.modelCode(), image);
    untouched.decodeSection(9);
    const Record before = untouched.record(9);
    p.grid("sgPalette")->setCurrentCell(4, 1);
    p.spin("seR")->setValue(17);
    p.grid("sgGraph")->setCurrentCell(3, 1);
    p.spin("seGraph")->setValue(2);
    QTest::mouseClick(p.find<QPushButton>(QStringLiteral("bCopyToUser")), Qt::LeftButton);
    QVERIFY(p.s9() != before);
    Answers answers;
    answers.answer = QMessageBox::Yes;
    ScopedDialogHook hook(answers.hook());
    p.dialog->reject();
    QCOMPARE(answers.asked.size(), 1); // "Отменить изменения (N)?"
    p.session->rollback();
    QCOMPARE(p.tmk.image(), image);
    QVERIFY(p.s9() == before);
}

QTEST_MAIN(ColourSchemesTest)
#include "colour_schemes_test.moc"
