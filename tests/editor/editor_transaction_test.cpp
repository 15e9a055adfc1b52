// SPDX-License-Identifier: GPL-3.0-or-later
// The edit transaction: OK encodes the records into the image, Cancel leaves image and records as
// they were whatever was touched, and a lookup key above 255 stops before the dialog opens.

#include "EditorTestSupport.h"
#include "app/DialogScript.h"
#include "base/Error.h"
#include "editor/EditTransaction.h"
#include "settings/HotMenuList.h"
#include "widgets/RadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>

using namespace mk;
using namespace mk::test;

namespace {

void showPageOf(QWidget *w)
{
    for (QWidget *p = w; p; p = p->parentWidget())
        if (auto *tabs = qobject_cast<QTabWidget *>(p->parentWidget() ? p->parentWidget()->parentWidget() : nullptr))
            if (tabs->indexOf(p) >= 0)
                tabs->setCurrentWidget(p);
}

// Changes a control the way a user would and moves the focus away from it.
void touch(QWidget *c, QWidget *elsewhere)
{
    showPageOf(c);
    c->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    if (auto *spin = qobject_cast<QDoubleSpinBox *>(c)) {
        spin->setValue(spin->value() == spin->minimum() ? spin->maximum() : spin->minimum());
    } else if (auto *group = qobject_cast<RadioGroup *>(c)) {
        for (int i = group->count() - 1; i >= 0; --i)
            if (i != group->itemIndex() && group->button(i)->isEnabled()) {
                QTest::mouseClick(group->button(i), Qt::LeftButton);
                break;
            }
    } else if (auto *combo = qobject_cast<QComboBox *>(c)) {
        if (combo->count() > 1) {
            const int i = combo->currentIndex() == combo->count() - 1 ? 0 : combo->count() - 1;
            combo->setCurrentIndex(i);
            emit combo->activated(i);
        }
    } else if (auto *check = qobject_cast<QCheckBox *>(c)) {
        QTest::mouseClick(check, Qt::LeftButton);
    } else if (auto *date = qobject_cast<QDateEdit *>(c)) {
        date->setDate(date->date().addDays(40));
    } else if (auto *edit = qobject_cast<QLineEdit *>(c)) {
        edit->setText(edit->inputMask().isEmpty() ? QStringLiteral("xyz") : QStringLiteral("12:34"));
    }
    elsewhere->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
}

int touchEverything(QDialog &dialog)
{
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    dialog.activateWindow();
    if (!QTest::qWaitForWindowActive(&dialog))
        return -1;
    int touched = 0;
    QWidget *ok = dialog.findChild<QWidget *>(QStringLiteral("bOk"));
    for (const FieldDef &def : fieldTable()) {
        QWidget *c = dialog.findChild<QWidget *>(def.control);
        if (!c)
            continue;
        showPageOf(c);
        if (c->isVisibleTo(&dialog) && c->isEnabled()) {
            touch(c, ok);
            ++touched;
        }
    }
    return touched;
}

} // namespace

class EditorTransactionTest : public QObject
{
    Q_OBJECT
private slots:
    void cancelAfterTouchingEverythingChangesNothing_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<int>("version");
        QTest::addColumn<int>("protocol");
        QTest::newRow("8002 CAN") << 0x8002 << 0 << 6;
        QTest::newRow("0C01-0") << 0x0C01 << 0 << 0;
        QTest::newRow("0A01-10") << 0x0A01 << 10 << 0;
    }
    void cancelAfterTouchingEverythingChangesNothing()
    {
        QFETCH(int, model);
        QFETCH(int, version);
        QFETCH(int, protocol);
        TMK tmk;
        makeModel(tmk, quint16(model), quint32(version), protocol);
        const Snapshot before(tmk);
        int touched = 0;
        Snapshot during(tmk);
        DialogScript script;
        script.other = [&](QDialog &dialog) {
            touched = touchEverything(dialog);
            during = Snapshot(tmk);
            dialog.reject();
            return dialog.result();
        };
        QVERIFY(!runEditTransaction(nullptr, tmk));
        QVERIFY2(touched > 100, qPrintable(QString::number(touched)));
        QVERIFY(!(during == before)); // the touches did reach the working records
        QVERIFY(Snapshot(tmk) == before);
    }

    void okEncodesTheRecords()
    {
        TMK tmk;
        makeModel(tmk, 0x8002, 0, 6);
        // Opening the editor compacts the hot-menu lists into their record; start from compacted
        // lists so that only the edited setting differs.
        compactHotMenus(tmk.record(9));
        tmk.encodeSection(9);
        const QByteArray before = tmk.image();
        const int pos5 = tmk.header().sections[5].contentPos();
        DialogScript script;
        script.other = [&](QDialog &dialog) {
            dialog.show();
            auto *spin = dialog.findChild<QDoubleSpinBox *>(QStringLiteral("seVelocityLimit"));
            spin->setValue(200);
            dialog.accept(); // the focused control is stored on OK
            return dialog.result();
        };
        QVERIFY(runEditTransaction(nullptr, tmk));
        QCOMPARE(quint8(tmk.image().at(pos5)), quint8(100));
        QByteArray expected = before;
        expected[pos5] = char(100);
        QCOMPARE(tmk.image(), expected);
    }

    void keyAbove255StopsBeforeTheDialog_data()
    {
        QTest::addColumn<int>("protocol");
        QTest::addColumn<int>("version");
        QTest::newRow("protocol 256") << 256 << 0;
        QTest::newRow("version 256") << 0 << 256;
    }
    void keyAbove255StopsBeforeTheDialog()
    {
        QFETCH(int, protocol);
        QFETCH(int, version);
        TMK tmk;
        makeModel(tmk, 0x8002, quint32(version), protocol);
        tmk.record(5).setU8(0, 77); // a record that differs from the image
        const Snapshot before(tmk);
        DialogScript script;
        bool opened = false;
        script.other = [&](QDialog &) {
            opened = true;
            return int(QDialog::Rejected);
        };
        QVERIFY_THROWS_EXCEPTION(RangeError, runEditTransaction(nullptr, tmk));
        QVERIFY(!opened);
        QVERIFY(Snapshot(tmk) == before);
    }
};

QTEST_MAIN(EditorTransactionTest)
#include "editor_transaction_test.moc"
