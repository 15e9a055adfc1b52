// SPDX-License-Identifier: GPL-3.0-or-later
// The generic binder through the real dialog: values reach the records on the right event, refused
// values are reported and put back, and controls the user did not change are never stored.

#include "EditorTestSupport.h"
#include "app/DialogScript.h"
#include "base/Text.h"
#include "editor/FieldBinder.h"
#include "widgets/RadioGroup.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <QtTest>

using namespace mk;
using namespace mk::test;

namespace {

// Gives a control the focus, as a click or Tab would.
void focus(QWidget *w)
{
    w->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
}

// Makes the page holding w current, so the control can take the focus.
void showPageOf(TMK_SetParamsDlg &dlg, QWidget *w)
{
    for (QWidget *p = w; p; p = p->parentWidget())
        if (auto *tabs = qobject_cast<QTabWidget *>(p->parentWidget() ? p->parentWidget()->parentWidget() : nullptr))
            if (tabs->indexOf(p) >= 0)
                tabs->setCurrentWidget(p);
    Q_UNUSED(dlg);
    QApplication::processEvents();
}

void typeInto(QWidget *w, const QString &text)
{
    QLineEdit *edit = qobject_cast<QLineEdit *>(w) ? static_cast<QLineEdit *>(w) : w->findChild<QLineEdit *>();
    edit->selectAll();
    bool ascii = true;
    for (QChar c : text)
        ascii = ascii && c.unicode() < 0x80;
    if (ascii)
        QTest::keyClicks(edit, text);
    else
        edit->insert(text); // QTest types ASCII only
}

void clickItem(RadioGroup *group, int item)
{
    QTest::mouseClick(group->button(item), Qt::LeftButton);
    QApplication::processEvents();
}

// A click on the box itself, where the style draws it (a box without a caption may be wider
// than what it draws, and its middle then takes no click).
void clickCheckBox(QCheckBox *box)
{
    QStyleOptionButton option;
    option.initFrom(box);
    option.text = box->text();
    const QRect drawn = box->style()->subElementRect(QStyle::SE_CheckBoxClickRect, &option, box);
    QTest::mouseClick(box, Qt::LeftButton, {}, drawn.center());
}

} // namespace

class EditorFieldsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<OpenEditor> m_ed;
    std::unique_ptr<DialogScript> m_script;

    TMK_SetParamsDlg &dlg() { return *m_ed->dialog; }
    Record &rec(int k) { return m_ed->tmk.record(k); }
    QWidget *w(const char *name) { return m_ed->find(QString::fromLatin1(name)); }
    template<class W>
    W *w(const char *name)
    {
        return m_ed->find<W>(QString::fromLatin1(name));
    }

    // The control takes the focus, gets the text, and the focus moves on to `next`.
    void edit(const char *name, const QString &text, const char *next = "bOk")
    {
        QWidget *c = w(name);
        QVERIFY2(c, name);
        showPageOf(dlg(), c);
        focus(c);
        typeInto(c, text);
        focus(w(next));
    }

    void open(quint16 model, quint32 version, int protocol = 0)
    {
        m_ed = std::make_unique<OpenEditor>(model, version, protocol);
        m_ed->show();
        QVERIFY(QTest::qWaitForWindowActive(m_ed->dialog.get()));
    }

private slots:
    void init()
    {
        m_script = std::make_unique<DialogScript>();
        open(0x8002, 0, 6); // "CAN"
    }
    void cleanup()
    {
        m_ed.reset();
        m_script.reset();
    }

    void spinEditStoresWhenItLosesFocus()
    {
        QWidget *spin = w("seVelocityLimit");
        showPageOf(dlg(), spin);
        focus(spin);
        typeInto(spin, QStringLiteral("41"));
        QCOMPARE(rec(5).u8(0), quint8(40)); // nothing stored while typing
        focus(w("seTankLimit"));
        QCOMPARE(rec(5).u8(0), quint8(20)); // 41 / 2 rounds to the even 20
        QCOMPARE(w<QDoubleSpinBox>("seVelocityLimit")->value(), 40.0);
        QTRY_COMPARE(m_script->texts(QMessageBox::Information),
                     QStringList{QStringLiteral("«Превышение скорости, км/ч»: введено 41, сохранено "
                                                "40 (ближайшее значение, которое хранит МК, шаг 2).")});

        edit("seTripMinStop", QStringLiteral("995"));
        QCOMPARE(rec(6).u16(10), quint16(199));
        edit("seParkStopLeng1", QStringLiteral("250"));
        QCOMPARE(rec(1).u8(11), quint8(25));
        edit("seVelocityCorr", QStringLiteral("0"));
        QCOMPARE(rec(5).f32(36), 1.0f);
        edit("meIntenseDayTime", QStringLiteral("0730"));
        QCOMPARE(rec(9).s16(376), qint16(450));
    }

    void clicksStoreAtOnce()
    {
        rec(10).setU32(0, 0x80000000u);
        dlg().reloadAll();
        auto *lock = w<RadioGroup>("rgLockType");
        showPageOf(dlg(), lock);
        QVERIFY(!w("seLockTypeLevel")->isVisible());
        clickItem(lock, 1);
        QCOMPARE(rec(10).u32(0), 0x80000001u);
        QVERIFY(w("seLockTypeLevel")->isVisible());
        QVERIFY(w("lLockTypeLevel")->isVisible());

        auto *box = w<QCheckBox>("cbShowDisp_1_5");
        showPageOf(dlg(), box);
        const quint64 before = rec(9).u64(392);
        clickCheckBox(box);
        QCOMPARE(rec(9).u64(392), before ^ (quint64(1) << 5));

        auto *combo = w<QComboBox>("cbTankMode");
        combo->setCurrentIndex(2); // a change, as choosing from the list
        QCOMPARE(rec(2).s8(37), qint8(2));
    }

    void exitDrivenCombosAndChecks()
    {
        // "Средние" combo boxes and "ТО" check boxes store on focus loss only.
        auto *reset = w<QComboBox>("cbResetPeriod1");
        showPageOf(dlg(), reset);
        focus(reset);
        reset->setCurrentIndex(0);
        QCOMPARE(rec(0).u8(105), quint8(255)); // the default already "Запр."
        reset->setCurrentIndex(8);
        QCOMPARE(rec(0).u8(105), quint8(255));
        focus(w("sePriceTime"));
        QCOMPARE(rec(0).u8(105), quint8(7));

        rec(4).setU16(116, 0xFFFF);
        auto *use = w<QCheckBox>("cbOSAGO");
        showPageOf(dlg(), use);
        focus(use);
        use->setChecked(false);
        QCOMPARE(rec(4).u16(116), quint16(0xFFFF));
        focus(w("seEngOilCntK"));
        QCOMPARE(rec(4).u16(116), quint16(0x0EFF));
    }

    void alarmPairsStoreTogether()
    {
        auto *f = w<RadioGroup>("rgapVel_F");
        auto *n = w<RadioGroup>("rgapVel_N");
        showPageOf(dlg(), f);
        rec(8).setU8(2, 0);
        clickItem(f, 1);
        clickItem(n, 4);
        focus(w("seSoundVolume"));
        QCOMPARE(rec(8).u8(2), quint8(33));
        clickItem(w<RadioGroup>("rgapTO_F"), 2);
        focus(w("seSoundVolume"));
        QCOMPARE(rec(8).u8(6), quint8(18));
    }

    void refusedValuesAreReportedAndPutBack()
    {
        open(0x0A01, 10); // the universal input page
        rec(4).setU16(52, 0);
        rec(4).setU16(54, 1023);
        dlg().reloadAll();
        auto *adc = w<QDoubleSpinBox>("seUniMeasADC0");
        showPageOf(dlg(), adc);
        focus(adc);
        typeInto(adc, QStringLiteral("1023"));
        focus(w("seUniMeasDat0"));
        QTRY_COMPARE(m_script->boxes.size(), 1);
        QCOMPARE(m_script->boxes[0].text, QStringLiteral("Значения АЦП Мин и Макс должны различаться."));
        QCOMPARE(m_script->boxes[0].icon, QMessageBox::Critical);
        QCOMPARE(adc->value(), 0.0);
        QCOMPARE(rec(4).s16(52), qint16(0));

        // A time with mask placeholders left fails its conversion; the field keeps its value.
        const qint16 before = rec(9).s16(378);
        auto *time = w<QLineEdit>("meIntenseNightTime");
        showPageOf(dlg(), time);
        focus(time);
        time->setText(QStringLiteral("2"));
        focus(w("meIntenseDayTime"));
        QTRY_COMPARE(m_script->boxes.size(), 2);
        QCOMPARE(rec(9).s16(378), before);
        QCOMPARE(time->text(), minutesToText(before));
    }

    // A number outside the setting's range keeps its digits while typed, is refused with the
    // setting's name and range, and the box shows the stored value again.
    void outOfRangeNumbersNameTheirRange_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Общий пробег") << QStringLiteral("seAllPathStart") << QStringLiteral("2000000")
                                      << QStringLiteral("Ошибка проверки диапазона: «Общий пробег, км» принимает "
                                                        "значения от 0 до 999999 (введено 2000000).");
        QTest::newRow("Превышение скорости") << QStringLiteral("seVelocityLimit") << QStringLiteral("250")
                                             << QStringLiteral("Ошибка проверки диапазона: «Превышение скорости, км/ч» "
                                                               "принимает значения от 40 до 200 (введено 250).");
        QTest::newRow("below") << QStringLiteral("seVelocityLimit") << QStringLiteral("3")
                               << QStringLiteral("Ошибка проверки диапазона: «Превышение скорости, км/ч» принимает "
                                                 "значения от 40 до 200 (введено 3).");
    }

    void outOfRangeNumbersNameTheirRange()
    {
        QFETCH(QString, control);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        auto *spin = m_ed->find<QDoubleSpinBox>(control);
        std::vector<Record> before;
        for (int k = 0; k <= 10; ++k)
            before.push_back(rec(k));
        const double shown = spin->value();
        showPageOf(dlg(), spin);
        focus(spin);
        typeInto(spin, typed);
        QCOMPARE(spin->cleanText(), typed); // no digit cut off while typing
        focus(w("seTankLimit"));
        QTRY_COMPARE(m_script->boxes.size(), 1);
        QCOMPARE(m_script->boxes[0].text, expected);
        QCOMPARE(spin->value(), shown);
        QCOMPARE(spin->cleanText(), spin->textFromValue(shown));
        for (int k = 0; k <= 10; ++k)
            QVERIFY(rec(k) == before[size_t(k)]);
    }

    // The 100 reset periods open as a list of about 20 rows, not as a screen-high menu.
    void longListsOpenShort()
    {
        auto *combo = w<QComboBox>("cbResetPeriod0");
        QCOMPARE(combo->count(), 100);
        showPageOf(dlg(), combo);
        combo->showPopup();
        QAbstractItemView *list = combo->view();
        QTRY_VERIFY(list->isVisible());
        const int row = list->sizeHintForRow(0);
        QVERIFY2(list->height() <= 21 * row + 16,
                 qPrintable(QStringLiteral("%1 px for rows of %2 px").arg(list->height()).arg(row)));
        QVERIFY(list->height() >= 10 * row);
        combo->hidePopup();
    }

    // In the Russian locale the comma is the decimal sign; a point typed instead counts the same.
    void decimalPointOrComma()
    {
        auto *spin = w<QDoubleSpinBox>("seUaccLowLimit");
        spin->setLocale(QLocale(QLocale::Russian));
        for (const QString &typed : {QStringLiteral("20.5"), QStringLiteral("20,6")}) {
            showPageOf(dlg(), spin);
            focus(spin);
            typeInto(spin, typed);
            focus(w("seTankLimit"));
            QCOMPARE(spin->value(), typed == QLatin1String("20.5") ? 20.5 : 20.6);
        }
        QVERIFY(m_script->boxes.isEmpty());
    }

    void numericControlsShowTheirRange()
    {
        int spins = 0;
        for (auto *spin : dlg().findChildren<QDoubleSpinBox *>()) {
            if (!m_ed->dialog->binder().isBound(spin->objectName().mid(2)))
                continue;
            ++spins;
            QVERIFY2(spin->toolTip().startsWith(QStringLiteral("Допустимые значения: от ")),
                     qPrintable(spin->objectName()));
        }
        QVERIFY(spins > 50);
        // The range is the tool tip's first line; name, step, unit and factory value follow.
        QCOMPARE(w<QDoubleSpinBox>("seVelocityLimit")->toolTip().section(QLatin1Char('\n'), 0, 0),
                 QStringLiteral("Допустимые значения: от 40 до 200"));
    }

    void untouchedControlsStoreNothing()
    {
        // Stored values outside the control ranges stay as they are when the focus passes over.
        rec(1).setU8(2, 0);         // ParkSense0 0, shown clamped to 1
        rec(5).setF32(36, 0.9995f); // shows -0.1
        dlg().reloadAll();
        const std::array<Record, 13> before = [&] {
            std::array<Record, 13> r;
            for (int k = 0; k < 13; ++k)
                r[size_t(k)] = rec(k);
            return r;
        }();
        for (const FieldDef &def : fieldTable()) {
            QWidget *c = m_ed->find(def.control);
            if (!c || !c->isVisibleTo(&dlg()))
                continue;
            showPageOf(dlg(), c);
            focus(c);
        }
        focus(w("bOk"));
        dlg().accept();
        for (int k = 0; k < 13; ++k)
            QCOMPARE(rec(k).bytes(), before[size_t(k)].bytes());
    }

    void okByKeyboardStoresTheFocusedControl()
    {
        QWidget *spin = w("seTankContFull");
        showPageOf(dlg(), spin);
        focus(spin);
        typeInto(spin, QStringLiteral("77"));
        QTest::keyClick(spin, Qt::Key_Return, Qt::ControlModifier); // OK, without a focus change
        QVERIFY(!dlg().isVisible());
        QCOMPARE(dlg().result(), int(QDialog::Accepted));
        QCOMPARE(rec(2).s16(44), qint16(77));
    }

    void datesAndTexts()
    {
        auto *date = w<QDateEdit>("deOSAGO");
        showPageOf(dlg(), date);
        focus(date);
        date->setDate(QDate(2004, 3, 1));
        focus(w("seAirFiltCntK"));
        QCOMPARE(rec(4).u32(12), 1522u);
        edit("eCandleCntK", QStringLiteral("Свечи"));
        QCOMPARE(rec(4).raw(100, 6), QByteArray("\xD1\xE2\xE5\xF7\xE8\0", 6));
        QCOMPARE(w<QLineEdit>("eCandleCntK")->maxLength(), 15);
        // A character the device cannot show is refused by name, never stored as "?".
        edit("eCandleCntK", QStringLiteral("Свечи ☺"));
        QTRY_COMPARE(m_script->boxes.size(), 1);
        QVERIFY2(m_script->boxes[0].text.startsWith(QStringLiteral("Название: Символ «☺»")),
                 qPrintable(m_script->boxes[0].text));
        QCOMPARE(rec(4).raw(100, 6), QByteArray("\xD1\xE2\xE5\xF7\xE8\0", 6));
        QCOMPARE(w<QLineEdit>("eCandleCntK")->text(), QStringLiteral("Свечи"));

        // Erased memory: no date to show. The box says so and keeps the stored value until the
        // user picks a date.
        rec(4).setU32(8, 0xFFFFFFFF);
        dlg().reloadAll();
        auto *to = w<QDateEdit>("deTO");
        QCOMPARE(to->text(), QStringLiteral("--.--.--"));
        focus(to);
        focus(w("seAirFiltCntK"));
        QCOMPARE(rec(4).u32(8), 0xFFFFFFFFu);
        focus(to);
        to->setDate(QDate(2001, 1, 1));
        focus(w("seAirFiltCntK"));
        QCOMPARE(rec(4).u32(8), 367u);
    }
};

QTEST_MAIN(EditorFieldsTest)
#include "editor_fields_test.moc"
