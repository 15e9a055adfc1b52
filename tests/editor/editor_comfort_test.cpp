// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's search, change marks, per-setting reset and undo/redo, and the tool tips built from
// the field table: all on the real dialog.

#include "EditorTestSupport.h"
#include "GridAndMenuHelpers.h"
#include "app/DialogScript.h"
#include "base/Error.h"
#include "editor/ChangeMarker.h"
#include "editor/EditHistory.h"
#include "editor/EditorComfort.h"
#include "editor/SettingToolTip.h"
#include "image/TankCalibration.h"
#include "settings/FieldTable.h"
#include "settings/NamedSettings.h"
#include "settings/RecordSet.h"
#include "widgets/MessageBoxes.h"
#include "widgets/RadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QUndoStack>
#include <QtTest>

using namespace mk;
using namespace mk::test;

namespace {

constexpr quint16 kCanModel = 0x8002;   // additional systems, the CAN protocol, gas and parking
constexpr quint16 kPlainModel = 0x0C01; // no voice, no parking, no gas
constexpr quint16 kDemoModel = 1;       // what mkconf --demo simulates, with settings version 1

// The editor on a factory image whose tank table has `tableRows` rows.
struct Editor
{
    TMK tmk;
    std::unique_ptr<EditSession> session;
    std::unique_ptr<TMK_SetParamsDlg> dialog;

    explicit Editor(quint16 model, int tableRows = 2, quint32 version = 0)
    {
        makeModel(tmk, model, version);
        tmk.record(3).setU8(tank::kTarirLeng, quint8(tableRows));
        tmk.encodeSection(3);
        session = std::make_unique<EditSession>(tmk);
        dialog = std::make_unique<TMK_SetParamsDlg>(*session);
    }
    template<class W = QWidget>
    W *find(const QString &name) const
    {
        W *w = dialog->findChild<W *>(name);
        if (!w)
            qFatal("no %s", qPrintable(name));
        return w;
    }
    EditorComfort &comfort() const { return *dialog->findChild<EditorComfort *>(); }
    EditHistory &history() const { return comfort().history(); }
    bool show()
    {
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        dialog->activateWindow();
        return QTest::qWaitForWindowActive(dialog.get());
    }
    void showPage(const QString &tabs, const QString &sheet) const
    {
        find<QTabWidget>(tabs)->setCurrentWidget(find(sheet));
        QApplication::processEvents();
    }
    // A number typed into a spin edit, stored when the focus leaves it.
    void enter(const QString &spin, double value) const
    {
        auto *box = find<QDoubleSpinBox>(spin);
        box->setFocus();
        box->setValue(value);
        find(QStringLiteral("bOk"))->setFocus();
        QApplication::processEvents();
    }
    QString tabText(const QString &tabs, const QString &sheet) const
    {
        auto *t = find<QTabWidget>(tabs);
        return t->tabText(t->indexOf(find(sheet)));
    }
};

// Typing any text, Cyrillic too, as key presses.
void typeText(QWidget *w, const QString &text)
{
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

QStringList hitNames(const std::vector<SearchHit> &hits)
{
    QStringList names;
    for (const SearchHit &h : hits)
        names << h.setting->name;
    return names;
}

// The bytes of every record but the bits `def` owns.
RecordSet without(RecordSet set, const FieldDef &def)
{
    for (const FieldByte &b : fieldBytes(def))
        set[size_t(def.section)][b.offset] = char(quint8(set[size_t(def.section)][b.offset]) & ~b.bits);
    return set;
}

QString line(const QString &toolTip, const QString &head)
{
    for (const QString &l : toolTip.split(QLatin1Char('\n')))
        if (l.startsWith(head))
            return l.mid(head.size());
    return {};
}

} // namespace

class EditorComfortTest : public QObject
{
    Q_OBJECT

private slots:
    // Enter commits the field it is pressed in and leaves the editor open, wherever the focus is;
    // only Ctrl+Enter or the OK button itself closes it. Esc with changes asks, and Enter in the
    // question keeps the edits.
    void noKeyboardTrap()
    {
        Editor ed(kCanModel);
        QVERIFY(ed.show());
        const RecordSet opened = takeRecords(ed.tmk);
        auto *ok = ed.find<QPushButton>(QStringLiteral("bOk"));
        QVERIFY(!ok->isDefault());
        QVERIFY(!ok->autoDefault());

        ed.showPage(QStringLiteral("pcMain"), QStringLiteral("TabSheet1"));
        auto *spin = ed.find<QDoubleSpinBox>(QStringLiteral("seVelocityLimit"));
        const double other = spin->value() == 200 ? 150 : 200;
        spin->setFocus();
        spin->selectAll();
        QTest::keyClicks(spin, QString::number(other));
        QTest::keyClick(spin, Qt::Key_Return);
        QVERIFY(ed.dialog->isVisible());
        QCOMPARE(QApplication::focusWidget(), spin);
        QVERIFY(takeRecords(ed.tmk) != opened); // committed by the Enter, the focus still there
        QTest::keyClick(spin, Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(ed.dialog->isVisible());

        ed.showPage(QStringLiteral("pcMain"), QStringLiteral("tsTO"));
        auto *name = ed.find<QLineEdit>(QStringLiteral("eCandleCntK"));
        name->setFocus();
        QTest::keyClick(name, Qt::Key_Return);
        QVERIFY(ed.dialog->isVisible());

        ed.showPage(QStringLiteral("pcMain"), QStringLiteral("tsBlocks"));
        auto *systems = ed.find<QTableWidget>(QStringLiteral("sgAllBlocks"));
        systems->setFocus();
        systems->setCurrentCell(0, 0);
        const QString tick = systems->item(0, 1)->text();
        QTest::keyClick(systems, Qt::Key_Return);
        QVERIFY(ed.dialog->isVisible());
        QVERIFY(systems->item(0, 1)->text() != tick);
        QTest::keyClick(systems, Qt::Key_Space);
        QCOMPARE(systems->item(0, 1)->text(), tick);

        // Esc, then Enter in the question: the default answer keeps the edits.
        QStringList asked;
        {
            ScopedDialogHook answerByEnter([&asked](QDialog &d) {
                auto *box = qobject_cast<QMessageBox *>(&d);
                if (!box)
                    return int(QDialog::Rejected);
                asked << box->text();
                box->show();
                QTest::keyClick(box, Qt::Key_Return);
                return int(box->standardButton(box->clickedButton()));
            });
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        }
        QCOMPARE(asked, QStringList{QStringLiteral("Отменить изменения (1)?")});
        QVERIFY(ed.dialog->isVisible());
        QVERIFY(takeRecords(ed.tmk) != opened);

        // Enter on the focused Cancel button is its click; on OK, its click too.
        {
            DialogScript script;
            script.answers << QMessageBox::No;
            ed.find(QStringLiteral("bCancel"))->setFocus();
            QTest::keyClick(ed.find(QStringLiteral("bCancel")), Qt::Key_Return);
            QCOMPARE(script.texts(QMessageBox::Question), QStringList{QStringLiteral("Отменить изменения (1)?")});
            QVERIFY(ed.dialog->isVisible());
        }
        ok->setFocus();
        QTest::keyClick(ok, Qt::Key_Return);
        QVERIFY(!ed.dialog->isVisible());
        QCOMPARE(ed.dialog->result(), int(QDialog::Accepted));
    }

    // Ctrl+Enter closes with OK from any field, storing what the field still holds.
    void ctrlEnterIsOk()
    {
        Editor ed(kCanModel);
        QVERIFY(ed.show());
        ed.showPage(QStringLiteral("pcMain"), QStringLiteral("tsTO"));
        auto *name = ed.find<QLineEdit>(QStringLiteral("eCandleCntK"));
        name->setFocus();
        name->selectAll();
        QTest::keyClicks(name, QStringLiteral("Svechi"));
        QTest::keyClick(name, Qt::Key_Return, Qt::ControlModifier);
        QVERIFY(!ed.dialog->isVisible());
        QCOMPARE(ed.dialog->result(), int(QDialog::Accepted));
        QCOMPARE(ed.tmk.record(4).raw(100, 7), QByteArray("Svechi\0", 7));
    }

    void searchFindsSettingsOnEveryKindOfPage()
    {
        Editor ed(kCanModel, 2);
        const struct
        {
            const char *query;
            const char *name; // expected among the hits
            const char *page;
        } cases[] = {
            {"ОСАГО", "OSAGO", "ТО"},                               // a simple page, by caption
            {"velocitylimit", "VelocityLimit", "Границы"},          // by name, case ignored
            {"Параметры, пункт 0", "hmParams.0", "Горячие меню"},   // hot menus
            {"Цвет #9", "ColorScheme0.Palette9", "Цветовые схемы"}, // colour schemes
            {"Тарировка, точка 2", "Tarir.2", "Бак"},               // tank table
            {"ABS 5.3", "Blocks.ABS 5.3", "Допсистемы"},            // additional systems
            {"Дисплей 6, место 3", "Digit4_6.3", "Дисплеи х4"},     // display layouts
            {"Схема 1", "ActiveColorScheme", "Цветовые схемы"},     // by the value it shows
        };
        for (const auto &c : cases) {
            const std::vector<SearchHit> hits = ed.comfort().find(QString::fromUtf8(c.query));
            const QStringList names = hitNames(hits);
            QVERIFY2(names.contains(QString::fromUtf8(c.name)), c.query);
            const SearchHit &hit = hits[size_t(names.indexOf(QString::fromUtf8(c.name)))];
            QCOMPARE(hit.page, QString::fromUtf8(c.page));
            QVERIFY2(hitText(hit).startsWith(QString::fromUtf8(c.page) + QStringLiteral(" — ")), c.query);
        }
        // Table rows beyond the table's length are no settings of this image.
        QVERIFY(!hitNames(ed.comfort().find(QStringLiteral("Тарировка, точка 3"))).contains(QStringLiteral("Tarir.3")));
        QVERIFY(ed.comfort().find(QStringLiteral("   ")).empty());

        // Settings of one caption on one page are told apart by the group they sit in.
        auto *field = ed.find<QLineEdit>(QStringLiteral("eSearch"));
        emit field->textEdited(QStringLiteral("Отключать при скорости"));
        QStringList listed;
        for (int i = 0; i < ed.find<QListWidget>(QStringLiteral("lbSearchResults"))->count(); ++i)
            listed << ed.find<QListWidget>(QStringLiteral("lbSearchResults"))->item(i)->text();
        QCOMPARE(listed,
                 (QStringList{QStringLiteral("Парковка — Задние датчики — Отключать при скорости от, км/ч"),
                              QStringLiteral("Парковка — Передние датчики — Отключать при скорости от, км/ч")}));
    }

    void hiddenSettingsAreNotOffered()
    {
        Editor ed(kPlainModel);
        const struct
        {
            const char *query;
            const char *name;
        } hidden[] = {
            {"Объем газ. баллона", "GazContFull"}, // no gas
            {"ParkSense0", "ParkSense0"},          // no parking page
            {"ABS 5.3", "Blocks.ABS 5.3"},         // no additional systems
            {"SoundVolume", "SoundVolume"},        // no voice
        };
        for (const auto &h : hidden)
            QVERIFY2(!hitNames(ed.comfort().find(QString::fromUtf8(h.query))).contains(QString::fromUtf8(h.name)),
                     h.query);
        QVERIFY(hitNames(ed.comfort().find(QStringLiteral("Объем бака"))).contains(QStringLiteral("TankContFull")));
    }

    void ctrlFJumpsToTheControl()
    {
        Editor ed(kDemoModel, 2, 1);
        QVERIFY(ed.show());
        QTest::keyClick(ed.dialog.get(), Qt::Key_F, Qt::ControlModifier);
        auto *search = ed.find<QLineEdit>(QStringLiteral("eSearch"));
        QCOMPARE(QApplication::focusWidget(), search);
        typeText(search, QStringLiteral("ОСАГО"));
        auto *results = ed.find<QListWidget>(QStringLiteral("lbSearchResults"));
        QVERIFY(results->isVisible());
        QCOMPARE(results->item(0)->text(), QStringLiteral("ТО — Окончание ОСАГО"));
        QTest::keyClick(search, Qt::Key_Return); // chooses, and does not close the editor
        QVERIFY(ed.dialog->isVisible());
        QVERIFY(!results->isVisible());
        QCOMPARE(ed.find<QTabWidget>(QStringLiteral("pcMain"))->currentWidget(), ed.find(QStringLiteral("tsTO")));
        QWidget *osago = ed.find(QStringLiteral("deOSAGO"));
        QVERIFY(osago == QApplication::focusWidget() || osago->isAncestorOf(QApplication::focusWidget()));
        QVERIFY(ed.find<ChangeMarker>(QStringLiteral("deOSAGO_mark"))->flashing());
        QVERIFY(ed.find<ChangeMarker>(QStringLiteral("deOSAGO_mark"))->isVisible());

        // A special page: the grid row of the hot-menu place.
        search->setFocus();
        search->clear();
        typeText(search, QStringLiteral("Таксометр, пункт 4"));
        QTest::keyClick(search, Qt::Key_Return);
        auto *grid = ed.find<QTableWidget>(QStringLiteral("sghmTax"));
        QCOMPARE(ed.find<QTabWidget>(QStringLiteral("pcDisp"))->currentWidget(), ed.find(QStringLiteral("tsHotMenu")));
        QCOMPARE(grid->currentRow(), 4);
        // The tank table's point 2 is its second row.
        search->setFocus();
        search->clear();
        typeText(search, QStringLiteral("Тарировка, точка 2"));
        QTest::keyClick(search, Qt::Key_Return);
        QCOMPARE(ed.find<QTableWidget>(QStringLiteral("sgTarir"))->currentRow(), 1);
        // A number field chosen from the search has its text selected: typing replaces it.
        search->setFocus();
        search->clear();
        typeText(search, QStringLiteral("Превышение скорости"));
        QTest::keyClick(search, Qt::Key_Return);
        auto *speed = ed.find<QAbstractSpinBox>(QStringLiteral("seVelocityLimit"));
        QCOMPARE(QApplication::focusWidget(), speed);
        QTest::keyClicks(speed, QStringLiteral("110"));
        QCOMPARE(speed->text(), QStringLiteral("110"));
        // Escape leaves the search, never the editor.
        search->setFocus();
        QTest::keyClick(search, Qt::Key_Escape);
        QVERIFY(ed.dialog->isVisible());
    }

    void marksAndCountsFollowAnEditAndItsUndo()
    {
        Editor ed(kCanModel);
        QVERIFY(ed.show());
        ed.showPage(QStringLiteral("pcMain"), QStringLiteral("TabSheet1"));
        auto *label = ed.find<QLabel>(QStringLiteral("lVelocityLimit"));
        const SettingMark atStart = ed.comfort().markOf(QStringLiteral("VelocityLimit"));
        QVERIFY(!has(atStart, SettingMark::Changed));
        QVERIFY(!label->font().bold());
        QCOMPARE(ed.tabText(QStringLiteral("pcMain"), QStringLiteral("TabSheet1")), QStringLiteral("Границы"));

        const double shown = ed.find<QDoubleSpinBox>(QStringLiteral("seVelocityLimit"))->value();
        ed.enter(QStringLiteral("seVelocityLimit"), shown == 200 ? 150 : 200);
        QVERIFY(has(ed.comfort().markOf(QStringLiteral("VelocityLimit")), SettingMark::Changed));
        QVERIFY(has(ed.comfort().markOf(QStringLiteral("VelocityLimit")), SettingMark::NotFactory));
        QVERIFY(label->font().bold() && label->font().italic());
        QVERIFY(ed.find(QStringLiteral("seVelocityLimit_mark"))->isVisible());
        QCOMPARE(ed.tabText(QStringLiteral("pcMain"), QStringLiteral("TabSheet1")), QStringLiteral("Границы (1)"));
        QCOMPARE(ed.find<QAbstractButton>(QStringLiteral("bUndo"))->toolTip(),
                 QStringLiteral("Отменить: «Превышение скорости, км/ч» (Ctrl+Z)"));

        // "Только изменённые" dims every unchanged simple control, not the changed one.
        ed.find<QCheckBox>(QStringLiteral("cbOnlyChanged"))->setChecked(true);
        QVERIFY(!ed.find(QStringLiteral("seVelocityLimit"))->graphicsEffect());
        QVERIFY(ed.find(QStringLiteral("seTankLimit"))->graphicsEffect());
        QVERIFY(ed.find(QStringLiteral("lTankLimit"))->graphicsEffect());

        ed.comfort().undo();
        QCOMPARE(ed.comfort().markOf(QStringLiteral("VelocityLimit")), atStart);
        QVERIFY(!label->font().bold());
        QCOMPARE(ed.find<QDoubleSpinBox>(QStringLiteral("seVelocityLimit"))->value(), shown);
        QCOMPARE(ed.tabText(QStringLiteral("pcMain"), QStringLiteral("TabSheet1")), QStringLiteral("Границы"));
        QVERIFY(ed.find(QStringLiteral("seVelocityLimit"))->graphicsEffect());
        ed.find<QCheckBox>(QStringLiteral("cbOnlyChanged"))->setChecked(false);
        QVERIFY(!ed.find(QStringLiteral("seTankLimit"))->graphicsEffect());

        // A special page counts on its tab and on the tab that holds it.
        ed.showPage(QStringLiteral("pcMain"), QStringLiteral("tsDisp"));
        ed.showPage(QStringLiteral("pcDisp"), QStringLiteral("tsHotMenu"));
        auto *grid = ed.find<QTableWidget>(QStringLiteral("sghmParams"));
        rightClick(grid, 0);
        ed.find<QMenu>(QStringLiteral("pmHotMenu"))->actions().at(2)->trigger(); // clear the list
        QVERIFY(ed.history().checkpoint());
        QVERIFY(ed.tabText(QStringLiteral("pcDisp"), QStringLiteral("tsHotMenu"))
                    .startsWith(QStringLiteral("Горячие меню (")));
        QVERIFY(ed.tabText(QStringLiteral("pcMain"), QStringLiteral("tsDisp")).startsWith(QStringLiteral("Дисплей (")));
    }

    // Every setting's reset puts back exactly its own bits and touches no other byte.
    void resetStoresExactlyTheSettingsBytes()
    {
        Editor ed(kCanModel);
        const RecordSet factory = takeRecords(factoryModel());
        int checked = 0;
        for (const FieldDef &def : fieldTable()) {
            if (!ed.dialog->findChild<QWidget *>(def.control) || def.conversion == Conversion::ProtocolIndex)
                continue;
            for (const auto source : {EditorComfort::Source::Factory, EditorComfort::Source::Opened}) {
                const RecordSet &target = source == EditorComfort::Source::Factory ? factory : ed.history().opened();
                // Every bit of the setting flipped away from the target value.
                for (const FieldByte &b : fieldBytes(def)) {
                    QByteArray &rec = ed.tmk.record(def.section).bytes();
                    rec[b.offset] = char(quint8(rec[b.offset]) ^ b.bits);
                    if (def.conversion == Conversion::Scaled && def.partner)
                        rec[b.offset] = char(quint8(target[size_t(def.section)][b.offset]) ^ (b.bits & 0x01));
                }
                ed.dialog->followRecords();
                const RecordSet before = takeRecords(ed.tmk);
                ed.comfort().reset(def, source);
                const RecordSet after = takeRecords(ed.tmk);
                QVERIFY2(!settingDiffers(def.section, fieldBytes(def), after, target), qPrintable(def.name));
                QVERIFY2(without(after, def) == without(before, def), qPrintable(def.name));
                ++checked;
            }
        }
        QVERIFY(checked > 400);
    }

    void resetOfOneAdcPointKeepsThePairApart()
    {
        Editor ed(kCanModel);
        DialogScript script;
        const FieldDef &adc0 = *findField(QStringLiteral("UniMeasADC0"));
        const FieldDef &adc1 = *findField(QStringLiteral("UniMeasADC1"));
        // Point 1 now holds what point 0 had at the factory: putting point 0 back would make them equal.
        ed.tmk.record(4).setU16(adc1.offset, factoryModel().record(4).u16(adc0.offset));
        ed.tmk.record(4).setU16(adc0.offset, quint16(factoryModel().record(4).u16(adc0.offset) + 7));
        ed.dialog->followRecords();
        const RecordSet before = takeRecords(ed.tmk);
        ed.comfort().reset(adc0, EditorComfort::Source::Factory);
        QVERIFY(takeRecords(ed.tmk) == before);
        QCOMPARE(script.boxes.size(), 1);
        QVERIFY(script.boxes.first().text.contains(QStringLiteral("Значения АЦП Мин и Макс должны различаться.")));
    }

    void contextMenuOffersBothResets()
    {
        Editor ed(kCanModel);
        QVERIFY(ed.show());
        const FieldDef &def = *findField(QStringLiteral("TankLimit"));
        std::unique_ptr<QMenu> menu(ed.comfort().settingMenu(def));
        QAction *opened = findAction(menu.get(), QStringLiteral("miResetOpened"));
        QAction *factory = findAction(menu.get(), QStringLiteral("miResetFactory"));
        QVERIFY(opened && factory);
        QCOMPARE(opened->text(), QStringLiteral("Вернуть исходное значение"));
        QCOMPARE(factory->text(), QStringLiteral("Заводское значение"));
        QVERIFY(!opened->isEnabled()); // nothing changed yet
        ed.enter(QStringLiteral("seTankLimit"), 61);
        menu.reset(ed.comfort().settingMenu(def));
        findAction(menu.get(), QStringLiteral("miResetOpened"))->trigger();
        QVERIFY(takeRecords(ed.tmk) == ed.history().opened());
        QCOMPARE(ed.history().stack()->undoText(), QStringLiteral("«Остаток топлива в баке, л»: исходное значение"));

        // A right click on a spin edit opens the setting's menu, with the text field's own entries.
        auto *edit = ed.find(QStringLiteral("seTankLimit"))->findChild<QLineEdit *>();
        QStringList offered;
        QTimer::singleShot(0, [&offered] {
            auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            if (!popup)
                return;
            for (QAction *a : popup->actions())
                offered << a->objectName();
            offered << QString::number(popup->actions().size());
            popup->close();
        });
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5), edit->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(edit, &click);
        QVERIFY(offered.contains(QStringLiteral("miResetOpened")) &&
                offered.contains(QStringLiteral("miResetFactory")));
        QVERIFY(offered.last().toInt() > 8);
        // One undo and one redo: the editor's, not the text field's as well.
        QVERIFY2(!offered.contains(QStringLiteral("edit-undo")) && !offered.contains(QStringLiteral("edit-redo")),
                 qPrintable(offered.join(u',')));
    }

    // Edits on simple and special pages, undone and redone: each step returns every record byte
    // for byte to the state it had.
    void undoRedoThroughMixedEdits()
    {
        Editor ed(kCanModel, 3);
        QVERIFY(ed.show());
        std::vector<RecordSet> states{takeRecords(ed.tmk)};
        const auto step = [&](const char *what) {
            QApplication::processEvents();
            ed.history().checkpoint();
            const RecordSet now = takeRecords(ed.tmk);
            QVERIFY2(now != states.back(), what);
            QCOMPARE(ed.history().stack()->count(), int(states.size()));
            states.push_back(now);
        };

        ed.showPage(QStringLiteral("pcMain"), QStringLiteral("TabSheet1"));
        ed.enter(QStringLiteral("seVelocityLimit"), 150);
        step("spin edit");
        ed.showPage(QStringLiteral("pcMain"), QStringLiteral("tsAver"));
        QTest::mouseClick(ed.find(QStringLiteral("cbTripShowFlag")), Qt::LeftButton);
        step("check box");
        ed.showPage(QStringLiteral("pcMain"), QStringLiteral("tsDisp"));
        ed.showPage(QStringLiteral("pcDisp"), QStringLiteral("tsHotMenu"));
        rightClick(ed.find<QTableWidget>(QStringLiteral("sghmParams")), 0);
        ed.find<QMenu>(QStringLiteral("pmHotMenu"))->actions().at(0)->trigger();
        findAction(ed.find<QMenu>(QStringLiteral("pmHotMenuAdd")), QStringLiteral("FullTankMenu"))->trigger();
        step("hot-menu insert");
        ed.showPage(QStringLiteral("pcDisp"), QStringLiteral("tsColor"));
        ed.find<QTableWidget>(QStringLiteral("sgPalette"))->setCurrentCell(9, 1);
        auto *red = ed.find<QSpinBox>(QStringLiteral("seR"));
        red->setValue(red->value() == 3 ? 4 : 3);
        step("colour");
        ed.showPage(QStringLiteral("pcMain"), QStringLiteral("tsOil"));
        auto *table = ed.find<QTableWidget>(QStringLiteral("sgTarir"));
        table->setFocus();
        table->item(1, 2)->setText(QStringLiteral("777"));
        ed.find(QStringLiteral("bOk"))->setFocus();
        step("tank table cell");
        ed.showPage(QStringLiteral("pcMain"), QStringLiteral("tsBlocks"));
        doubleClick(ed.find<QTableWidget>(QStringLiteral("sgAllBlocks")), 1);
        step("system choice");
        ed.showPage(QStringLiteral("pcMain"), QStringLiteral("tsCorr"));
        auto *protocol = ed.find<QComboBox>(QStringLiteral("cbProtocol"));
        QVERIFY(protocol->count() > 1);
        protocol->setCurrentIndex(protocol->currentIndex() == 1 ? 0 : 1);
        emit protocol->activated(protocol->currentIndex());
        step("protocol");

        for (size_t i = states.size() - 1; i > 0; --i) {
            ed.comfort().undo();
            QVERIFY2(takeRecords(ed.tmk) == states[i - 1], qPrintable(QString::number(i)));
        }
        QVERIFY(!ed.history().stack()->canUndo());
        QCOMPARE(ed.find<QComboBox>(QStringLiteral("cbProtocol"))->currentIndex(),
                 currentProtocolIndex(ed.session->device()));
        for (size_t i = 1; i < states.size(); ++i) {
            ed.comfort().redo();
            QVERIFY2(takeRecords(ed.tmk) == states[i], qPrintable(QString::number(i)));
        }
        // OK keeps the last state; the image gets exactly those records.
        QTest::mouseClick(ed.find(QStringLiteral("bOk")), Qt::LeftButton);
        ed.session->commit();
        QVERIFY(takeRecords(ed.tmk) == states.back());
    }

    // Three edits on two pages, then Ctrl+Z three times from the keyboard while a spin edit has
    // the focus: the records are as the editor opened them.
    void ctrlZThreeTimesRestoresTheOpeningState()
    {
        Editor ed(kDemoModel, 2, 1);
        QVERIFY(ed.show());
        const RecordSet opened = takeRecords(ed.tmk);
        const QByteArray image = ed.tmk.image();
        ed.showPage(QStringLiteral("pcMain"), QStringLiteral("TabSheet1"));
        ed.enter(QStringLiteral("seVelocityLimit"), 150);
        ed.enter(QStringLiteral("seTankLimit"), 61);
        ed.showPage(QStringLiteral("pcMain"), QStringLiteral("tsTO"));
        auto *name = ed.find<QLineEdit>(QStringLiteral("eCandleCntK"));
        name->setFocus();
        typeText(name, QStringLiteral("Свечи"));
        // The third edit is still in the text field: Ctrl+Z stores it, then undoes it.
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
            QApplication::processEvents();
        }
        QVERIFY(takeRecords(ed.tmk) == opened);
        QVERIFY(!ed.history().stack()->canUndo());
        QCOMPARE(ed.history().stack()->count(), 3);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(ed.find<QDoubleSpinBox>(QStringLiteral("seVelocityLimit"))->value(), 150.0);
        // Cancel still throws everything away, once the user agrees to.
        DialogScript script;
        script.answers << QMessageBox::No << QMessageBox::Yes;
        QTest::mouseClick(ed.find(QStringLiteral("bCancel")), Qt::LeftButton);
        QVERIFY(ed.dialog->isVisible());
        QCOMPARE(ed.find<QDoubleSpinBox>(QStringLiteral("seVelocityLimit"))->value(), 150.0);
        QTest::mouseClick(ed.find(QStringLiteral("bCancel")), Qt::LeftButton);
        QCOMPARE(script.texts(QMessageBox::Question), QStringList(2, QStringLiteral("Отменить изменения (1)?")));
        QCOMPARE(ed.dialog->result(), int(QDialog::Rejected));
        ed.session->rollback();
        QCOMPARE(ed.tmk.image(), image);
    }

    // Esc and Cancel ask only when something was changed, and count what was: an edit still in
    // its control counts, one undone does not.
    void escAsksOnlyWithChanges()
    {
        DialogScript script;
        script.answers << QMessageBox::No << QMessageBox::No;
        for (int edits = 0; edits <= 2; ++edits) {
            Editor ed(kCanModel);
            QVERIFY(ed.show());
            ed.showPage(QStringLiteral("pcMain"), QStringLiteral("TabSheet1"));
            if (edits >= 1)
                ed.enter(QStringLiteral("seVelocityLimit"),
                         ed.find<QDoubleSpinBox>(QStringLiteral("seVelocityLimit"))->value() == 200 ? 150 : 200);
            if (edits == 2) { // typed, not yet stored
                auto *box = ed.find<QDoubleSpinBox>(QStringLiteral("seTankLimit"));
                box->setFocus();
                box->setValue(box->value() == 5 ? 6 : 5);
            }
            script.boxes.clear();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            if (edits == 0) {
                QVERIFY(script.boxes.isEmpty());
                QCOMPARE(ed.dialog->result(), int(QDialog::Rejected));
                QVERIFY(!ed.dialog->isVisible());
                continue;
            }
            QCOMPARE(script.texts(QMessageBox::Question),
                     QStringList{QStringLiteral("Отменить изменения (%1)?").arg(edits)});
            QVERIFY(ed.dialog->isVisible()); // No: the editor stays with its edits
            if (edits == 1) {
                ed.comfort().undo();
                script.boxes.clear();
                QTest::keyClick(ed.dialog.get(), Qt::Key_Escape);
                QVERIFY(script.boxes.isEmpty());
                QVERIFY(!ed.dialog->isVisible());
            }
        }
    }

    // One check over every row: the tool tip names the setting, says its range, step and unit as
    // the control has them, and its factory value, read back, is the factory bytes.
    void toolTipsFromTheTable()
    {
        for (quint16 model : {kCanModel, kPlainModel}) {
            Editor ed(model);
            const FieldContext &ctx = ed.dialog->context();
            int rows = 0;
            for (const FieldDef &def : fieldTable()) {
                QWidget *c = ed.dialog->findChild<QWidget *>(def.control);
                if (!c)
                    continue;
                ++rows;
                const QString tip = c->toolTip();
                QCOMPARE(line(tip, QStringLiteral("Имя: ")), def.name);
                if (auto *spin = qobject_cast<QDoubleSpinBox *>(c)) {
                    QLocale locale = spin->locale();
                    QCOMPARE(line(tip, QStringLiteral("Допустимые значения: ")),
                             QStringLiteral("от %1 до %2")
                                 .arg(locale.toString(spin->minimum(), 'f', spin->decimals()),
                                      locale.toString(spin->maximum(), 'f', spin->decimals()))
                                 .remove(locale.groupSeparator()));
                    QCOMPARE(locale.toDouble(line(tip, QStringLiteral("Шаг: "))), spin->singleStep());
                }
                const QString unit = unitOf(captionOf(def, ctx));
                QCOMPARE(line(tip, QStringLiteral("Единица: ")), unit);
                if (def.caption.contains(QStringLiteral(", км/ч")))
                    QCOMPARE(unit, QStringLiteral("км/ч"));

                // The factory value as shown stores the factory bytes.
                QString shown = line(tip, QStringLiteral("Заводское значение: "));
                QVERIFY2(!shown.isEmpty(), qPrintable(def.name));
                // A factory value the control cannot show says what is stored, as comparisons do.
                static const QRegularExpression note(
                    QStringLiteral(" \\(хранится (.+), страница «.+» показывает .+\\)$"));
                if (const QRegularExpressionMatch m = note.match(shown); m.hasMatch()) {
                    QCOMPARE(QLocale().toDouble(m.captured(1)), loadField(def, factoryModel(), ctx).toDouble());
                    continue;
                }
                QVariant value;
                if (def.kind == ControlKind::CheckBox)
                    value = shown == QStringLiteral("да");
                else if (def.kind == ControlKind::Edit)
                    value = shown;
                else if (def.kind == ControlKind::SpinEdit)
                    value = QLocale().toDouble(shown);
                else if (def.kind == ControlKind::ComboBox &&
                         itemsOf(def, ctx).isEmpty()) // a list with nothing to choose shows the index
                    value = shown.toInt();
                else
                    try {
                        value = parseFieldText(def, shown, ctx);
                    } catch (const Error &e) {
                        QFAIL(qPrintable(def.name + QStringLiteral(": ") + shown + QStringLiteral(": ") + e.text()));
                    }
                TMK trial = ed.tmk;
                try {
                    storeField(def, trial, value, ctx);
                } catch (const Error &e) {
                    QFAIL(qPrintable(def.name + QStringLiteral(": ") + shown + QStringLiteral(": ") + e.text()));
                }
                QVERIFY2(!settingDiffers(def.section, fieldBytes(def), takeRecords(trial), takeRecords(factoryModel())),
                         qPrintable(def.name + QStringLiteral(": ") + shown));
            }
            QVERIFY(rows > 200);
        }
    }

    // With MK_SCREENSHOT_DIR set: the search results, the marks and a setting's context menu.
    void screenshots()
    {
        const QString dir = qEnvironmentVariable("MK_SCREENSHOT_DIR");
        if (dir.isEmpty())
            QSKIP("MK_SCREENSHOT_DIR not set");
        Editor ed(kCanModel);
        QVERIFY(ed.show());
        ed.showPage(QStringLiteral("pcMain"), QStringLiteral("TabSheet1"));
        ed.enter(QStringLiteral("seVelocityLimit"), 150);
        ed.enter(QStringLiteral("seTankLimit"), 61);
        const RecordSet beforeClick = takeRecords(ed.tmk);
        QTest::mouseClick(ed.find<RadioGroup>(QStringLiteral("rgExp100ArrowLim"))->button(1), Qt::LeftButton, {},
                          QPoint(6, 10));
        QApplication::processEvents();
        QVERIFY(takeRecords(ed.tmk) != beforeClick);
        QVERIFY(ed.dialog->grab().save(dir + QStringLiteral("/editor_marks.png")));
        ed.find<QCheckBox>(QStringLiteral("cbOnlyChanged"))->setChecked(true);
        QVERIFY(ed.dialog->grab().save(dir + QStringLiteral("/editor_only_changed.png")));
        ed.find<QCheckBox>(QStringLiteral("cbOnlyChanged"))->setChecked(false);

        auto *search = ed.find<QLineEdit>(QStringLiteral("eSearch"));
        search->setFocus();
        typeText(search, QStringLiteral("скорост"));
        QVERIFY(ed.dialog->grab().save(dir + QStringLiteral("/editor_search.png")));
        QTest::keyClick(search, Qt::Key_Escape);

        std::unique_ptr<QMenu> menu(ed.comfort().settingMenu(*findField(QStringLiteral("VelocityLimit"))));
        menu->popup(ed.find(QStringLiteral("seVelocityLimit"))->mapToGlobal(QPoint(20, 10)));
        QApplication::processEvents();
        QVERIFY(menu->grab().save(dir + QStringLiteral("/editor_context_menu.png")));
        menu->hide();

        QTest::keyClick(search, Qt::Key_F, Qt::ControlModifier);
        typeText(search, QStringLiteral("ОСАГО"));
        QTest::keyClick(search, Qt::Key_Return);
        QVERIFY(ed.dialog->grab().save(dir + QStringLiteral("/editor_search_jump.png")));
    }
};

QTEST_MAIN(EditorComfortTest)
#include "editor_comfort_test.moc"
