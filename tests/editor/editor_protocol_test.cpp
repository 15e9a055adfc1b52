// SPDX-License-Identifier: GPL-3.0-or-later
// The protocol controls of "Источники": choosing the method and the protocol, the sub-types, and how
// a change of protocol reconfigures the editor.

#include "EditorTestSupport.h"
#include "image/ImageDeviceModel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QtTest>

using namespace mk;
using namespace mk::test;

namespace {

constexpr int kSubTypeOffsets[] = {12, 13, 14, 15, 52, 53, 54, 55};

void choose(QComboBox *combo, int index)
{
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

int indexOf(QComboBox *combo, const char *text) { return combo->findText(QString::fromUtf8(text)); }

} // namespace

class EditorProtocolTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<OpenEditor> m_ed;
    QComboBox *combo(const char *name) { return m_ed->find<QComboBox>(QString::fromLatin1(name)); }
    Record &rec10() { return m_ed->tmk.record(10); }

private slots:
    void init() { m_ed = std::make_unique<OpenEditor>(0x8002, 0, 6); } // "CAN"
    void cleanup() { m_ed.reset(); }

    void manualMethodShowsTheProtocolList()
    {
        QComboBox *meth = combo("cbProtocolSelectMeth");
        QCOMPARE(meth->itemText(0), QStringLiteral("Авт."));
        QCOMPARE(meth->itemText(meth->count() - 1), QStringLiteral("Руч."));
        QCOMPARE(meth->currentIndex(), 0);
        QVERIFY(combo("cbProtocol")->isHidden());
        QVERIFY(m_ed->find(QStringLiteral("lProtocol"))->isHidden());
        choose(meth, meth->count() - 1);
        QCOMPARE(rec10().s8(8), qint8(meth->count() - 1));
        QVERIFY(!combo("cbProtocol")->isHidden());
        QVERIFY(!m_ed->find(QStringLiteral("lProtocol"))->isHidden());
        choose(meth, 1);
        QCOMPARE(rec10().s8(8), qint8(1));
        QVERIFY(combo("cbProtocol")->isHidden());
    }

    void sameProtocolStoresNothing()
    {
        for (int off : kSubTypeOffsets)
            rec10().setU8(off, 1);
        rec10().setU16(6, 3);
        m_ed->dialog->reloadAll();
        QCOMPARE(combo("cbProtTypeAdd1")->currentIndex(), 1);
        const QByteArray before = rec10().bytes();
        choose(combo("cbProtocol"), 6);
        QCOMPARE(rec10().bytes(), before);
        QCOMPARE(combo("cbProtTypeAdd1")->currentIndex(), 1);
    }

    void anotherProtocolResetsAndReconfigures()
    {
        for (int off : kSubTypeOffsets)
            rec10().setU8(off, 1);
        m_ed->dialog->reloadAll();
        QComboBox *prot = combo("cbProtocol");
        const int j1939 = indexOf(prot, "J1939");
        QVERIFY(j1939 > 0);
        QVERIFY(m_ed->find(QStringLiteral("seRetarderOilTemperLimit"))->isHidden());
        const QString firstX1 = m_ed->find<QCheckBox>(QStringLiteral("cbShowDisp_1_17"))->text();

        choose(prot, j1939);
        QCOMPARE(int(rec10().u16(4)), j1939);
        QCOMPARE(int(rec10().u16(6)), j1939);
        for (int off : kSubTypeOffsets)
            QCOMPARE(rec10().u8(off), quint8(0));
        QCOMPARE(CurrentProtocol(m_ed->session->device())->Name, QStringLiteral("J1939"));
        // Selector 2 "Расчет расхода" with three items; the unused ones are hidden.
        QCOMPARE(m_ed->find<QLabel>(QStringLiteral("lProtTypeAdd2"))->text(), QStringLiteral("Расчет расхода"));
        QCOMPARE(combo("cbProtTypeAdd2")->count(), 3);
        QCOMPARE(combo("cbProtTypeAdd2")->currentIndex(), 0);
        QVERIFY(combo("cbProtTypeAdd1")->isHidden());
        QVERIFY(!combo("cbProtTypeAdd2")->isHidden());
        // Extended J1939 on this model: retarder controls and the battery source appear.
        QVERIFY(!m_ed->find(QStringLiteral("seRetarderOilTemperLimit"))->isHidden());
        QVERIFY(!m_ed->find(QStringLiteral("lapRetarderOilTemperHigh"))->isHidden());
        QVERIFY(!m_ed->find(QStringLiteral("rgUaccMeth"))->isHidden());
        QVERIFY(m_ed->find(QStringLiteral("seCVTFDeteriorLim"))->isHidden());
        QVERIFY(!m_ed->find(QStringLiteral("rgapCVTFDeterior_F"))->isHidden());
        // x1 boxes follow the new parameter list.
        QVERIFY(m_ed->find<QCheckBox>(QStringLiteral("cbShowDisp_1_17"))->text() != firstX1);
        const int count = CurrentProtocol(m_ed->session->device())->ParamCount();
        QVERIFY(m_ed->find(QStringLiteral("cbShowDisp_1_%1").arg(count))->isHidden());
        QCOMPARE(combo("cbTankMeth")->count(), 3);

        // A sub-type choice is stored at its offset.
        choose(combo("cbProtTypeAdd2"), 2);
        QCOMPARE(rec10().u8(14), quint8(2));
    }

    void shorterFuelSourceListStartsAtItsFirstItem()
    {
        m_ed = std::make_unique<OpenEditor>(0x8002, 0, indexOfCode(0x8002, 16)); // "M86", three ECU channels
        QComboBox *tank = combo("cbTankMeth");
        QCOMPARE(tank->count(), 5);
        m_ed->tmk.record(2).setU8(38, 4);
        m_ed->dialog->reloadAll();
        QCOMPARE(tank->currentIndex(), 4);
        choose(combo("cbProtocol"), indexOf(combo("cbProtocol"), "УАЗ 17971E5")); // no ECU channel
        QCOMPARE(tank->count(), 2);
        QCOMPARE(tank->currentIndex(), 0);
        QCOMPARE(m_ed->tmk.record(2).s8(38), qint8(0));
        QCOMPARE(tank->itemText(1), QStringLiteral("ДУТ"));
    }

    void noCurrentProtocolShowsNothingSelected()
    {
        m_ed = std::make_unique<OpenEditor>(0x0C01, 0, 200); // two protocols only
        QVERIFY(!CurrentProtocol(m_ed->session->device()));
        QComboBox *prot = combo("cbProtocol");
        QCOMPARE(prot->count(), 2);
        QCOMPARE(prot->currentIndex(), -1);
        QCOMPARE(combo("cbProtocolSelectMeth")->count(), 2);
        for (const char *sub : {"cbProtTypeMain", "cbProtTypeAdd1", "cbProtTypeAdd7"})
            QVERIFY(combo(sub)->isHidden());
        QVERIFY(m_ed->find(QStringLiteral("seLiqTemperLimit"))->isHidden());
        QVERIFY(m_ed->find(QStringLiteral("cbShowDisp_1_0"))->isHidden());
        choose(prot, 1);
        QCOMPARE(rec10().u16(4), quint16(1));
        QCOMPARE(CurrentProtocol(m_ed->session->device())->Name, QStringLiteral("Delphi"));
        QVERIFY(!m_ed->find(QStringLiteral("seLiqTemperLimit"))->isHidden());
        QVERIFY(!m_ed->find(QStringLiteral("cbShowDisp_1_0"))->isHidden());
    }

private:
    static int indexOfCode(quint16 model, int code)
    {
        const DeviceModel device = SelectDeviceModel(model, 0, 0);
        for (size_t i = 0; i < device.ProtocolList.size(); ++i)
            if (device.ProtocolList[i].Code == code)
                return int(i);
        return -1;
    }
};

QTEST_MAIN(EditorProtocolTest)
#include "editor_protocol_test.moc"
