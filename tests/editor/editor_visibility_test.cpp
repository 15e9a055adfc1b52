// SPDX-License-Identifier: GPL-3.0-or-later
// What the editor shows depends on the device model and the current protocol.

#include "EditorTestSupport.h"
#include "editor/SettingSearch.h"
#include "settings/NamedSettings.h"
#include "widgets/RadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>

using namespace mk;
using namespace mk::test;

namespace {

bool tabShown(const OpenEditor &ed, const char *sheet)
{
    auto *main = ed.find<QTabWidget>(QStringLiteral("pcMain"));
    return main->isTabVisible(main->indexOf(ed.find(QString::fromLatin1(sheet))));
}

// Shown as far as the widget itself decides (its page may be another than the current one).
bool shown(const OpenEditor &ed, const char *name)
{
    QWidget *w = ed.find(QString::fromLatin1(name));
    if (!w)
        qFatal("no control %s", name);
    return !w->isHidden();
}

// Whether the user can change the control: it and everything holding it shown (a tab sheet as a
// visible tab of its page control, whichever tab is current), and enabled.
bool editable(QWidget *w)
{
    if (!w->isEnabled())
        return false;
    for (; w && !w->isWindow(); w = w->parentWidget()) {
        auto *stack = qobject_cast<QStackedWidget *>(w->parentWidget());
        auto *tabs = stack ? qobject_cast<QTabWidget *>(stack->parentWidget()) : nullptr;
        if (tabs ? !tabs->isTabVisible(tabs->indexOf(w)) : w->isHidden())
            return false;
    }
    return true;
}

} // namespace

class EditorVisibilityTest : public QObject
{
    Q_OBJECT
private slots:
    // mktool and profiles accept a setting exactly when the editor lets it be changed: every row of
    // the field table on models with and without parking, voice, universal input, 24 V, systems;
    // and search finds every setting shown where its description says.
    void settingsLayerAcceptsWhatTheEditorShows()
    {
        const struct
        {
            quint16 code;
            quint32 version;
            int protocol;
        } models[] = {{0x0C01, 0, 0}, {0x8002, 0, 6}, {0x0A01, 10, 0}, {0x0302, 0, 0}, {0x0801, 1, 1}};
        QStringList differ;
        for (const auto &m : models) {
            OpenEditor ed(m.code, m.version, m.protocol);
            const SettingsContext ctx(ed.session->model());
            for (const FieldDef &def : fieldTable()) {
                QWidget *w = ed.find(def.control);
                QVERIFY2(w, qPrintable(def.control));
                const QString refusal = settingRefusal(*findNamedSetting(def.name), ed.session->model(), ctx);
                if (editable(w) != refusal.isEmpty())
                    differ << QStringLiteral("%1 on %2: %3").arg(def.name).arg(m.code, 0, 16).arg(refusal);
            }
            // Every setting shown, a special page's too, lives in the control it names, on its row,
            // on the page it names.
            for (const NamedSetting &s : namedSettings()) {
                if (!settingShown(s, ed.session->model(), ctx) || s.referenceOnly)
                    continue;
                int row = -1;
                QWidget *w = settingWidget(ed.dialog.get(), s, &row);
                auto *grid = qobject_cast<QTableWidget *>(w);
                QWidget *sheet = ed.find(pageTab(s.page));
                if (!w || !editable(w) || (row >= 0 && (!grid || row >= grid->rowCount())) || !sheet ||
                    !sheet->isAncestorOf(w))
                    differ << QStringLiteral("%1 on %2: no control %3, row %4")
                                  .arg(s.name)
                                  .arg(m.code, 0, 16)
                                  .arg(s.control)
                                  .arg(row);
            }
        }
        QCOMPARE(differ.join(QLatin1Char('\n')), QString());
    }

    void singleCounterModelWithoutVoiceParkingAndGas()
    {
        OpenEditor ed(0x0C01, 0); // "QZ-71B_WS"
        QVERIFY(!tabShown(ed, "tsPark"));
        QVERIFY(!tabShown(ed, "tsServiceInfo"));
        QVERIFY(!tabShown(ed, "tsBlocks"));
        QVERIFY(!tabShown(ed, "tsUniMeas"));
        QVERIFY(tabShown(ed, "tsTO"));
        for (const char *gas : {"rgGasMeth", "seGazContFull", "lGazContFull", "cbGasOil", "rgGasOilMeth"})
            QVERIFY2(!shown(ed, gas), gas);
        for (const char *voice :
             {"seSoundVolume", "lSoundVolume", "rgSayHelloMode", "seSayParamPeriod", "lSayParamPeriod"})
            QVERIFY2(!shown(ed, voice), voice);
        auto *vel = ed.find<RadioGroup>(QStringLiteral("rgapVel_F"));
        QVERIFY(vel->button(2)->isEnabled());
        QVERIFY(!vel->button(3)->isEnabled());
        QVERIFY(!vel->button(4)->isEnabled());
        // One maintenance counter in tenths of thousands of km.
        QCOMPARE(ed.find<QLabel>(QStringLiteral("lAirFiltCntK"))->text(), QStringLiteral("ТО тыс.км"));
        auto *counter = ed.find<QDoubleSpinBox>(QStringLiteral("seAirFiltCntK"));
        QCOMPARE(counter->maximum(), 9.9);
        QCOMPARE(counter->decimals(), 1);
        QCOMPARE(counter->value(), 1.5); // the factory 15
        for (const char *other :
             {"seKPPOilCntK", "cbKPPOilCntK", "lCandleCntK", "eCandleCntK", "cbAirFiltCntK", "cbTO"})
            QVERIFY2(!shown(ed, other), other);
        QVERIFY(shown(ed, "deTO"));
        QVERIFY(!shown(ed, "rg24VMode"));
        QVERIFY(!shown(ed, "cbUseTank2"));
        QVERIFY(!shown(ed, "cbShowDisp_S_6"));
        QCOMPARE(ed.find<QDoubleSpinBox>(QStringLiteral("seUaccLowLimit"))->maximum(), 13.9);
    }

    void fullModelWith24Volts()
    {
        OpenEditor ed(0x8002, 0, 6); // "CAN"
        QVERIFY(tabShown(ed, "tsPark"));
        QVERIFY(tabShown(ed, "tsBlocks"));
        QVERIFY(!tabShown(ed, "tsUniMeas"));
        QVERIFY(shown(ed, "rg24VMode"));
        QVERIFY(!ed.find(QStringLiteral("rg24VMode"))->isEnabled());
        QVERIFY(shown(ed, "cbUseTank2"));
        QVERIFY(!shown(ed, "cbLightsOn"));
        QVERIFY(shown(ed, "cbShowDisp_S_6"));
        auto *low = ed.find<QDoubleSpinBox>(QStringLiteral("seUaccLowLimit"));
        QCOMPARE(low->minimum(), 18.0);
        QCOMPARE(low->maximum(), 27.8);
        QCOMPARE(ed.find<QDoubleSpinBox>(QStringLiteral("seUaccHighLimit"))->maximum(), 32.0);
        QCOMPARE(ed.find<RadioGroup>(QStringLiteral("rgGasOilMeth"))->items().last(), QStringLiteral("Бк2"));
        QVERIFY(ed.find<RadioGroup>(QStringLiteral("rgapVel_F"))->button(4)->isEnabled());
        // "CAN": wear of the gearbox oil, gearbox oil temperature; no hybrid, no soot filter.
        QVERIFY(shown(ed, "seCVTFDeteriorLim"));
        QVERIFY(shown(ed, "rgapCVTFDeterior_F"));
        QVERIFY(shown(ed, "seOilAKPPTemperLimit"));
        QVERIFY(!shown(ed, "seOilEngTemperLimit"));
        QVERIFY(!shown(ed, "seInvTemperLimit"));
        QVERIFY(!shown(ed, "lapHVBTemperHigh"));
        QVERIFY(!shown(ed, "seVAGSFilterLimit"));
        QVERIFY(!shown(ed, "seVentTempLimit"));
        QVERIFY(!shown(ed, "rgGabarType"));
        QVERIFY(!shown(ed, "rgUaccMeth"));
        QVERIFY(shown(ed, "seLiqTemperLimit"));
        QVERIFY(shown(ed, "rgapError_F"));
        // The x1 boxes carry the protocol's parameter names; the rest are hidden and unchecked.
        const TProtBase *can = CurrentProtocol(ed.session->device());
        QCOMPARE(can->Name, QStringLiteral("CAN"));
        const int count = can->ParamCount();
        QCOMPARE(ed.find<QCheckBox>(QStringLiteral("cbShowDisp_1_0"))->text(),
                 ed.session->measPars().FindMeasPar(can->ParamCodes[0])->Name);
        QVERIFY(shown(ed, qPrintable(QStringLiteral("cbShowDisp_1_%1").arg(count - 1))));
        auto *beyond = ed.find<QCheckBox>(QStringLiteral("cbShowDisp_1_%1").arg(count));
        QVERIFY(beyond->isHidden());
        QVERIFY(!beyond->isChecked());
        QVERIFY(ed.tmk.record(9).u64(392) & (quint64(1) << count)); // its bit is still set
    }

    void lightsAndSecondTankWithoutVoice()
    {
        OpenEditor ed(0x0801, 1, 1); // "QZ-61B_R", protocol "CAN"
        QVERIFY(shown(ed, "cbLightsOn"));
        QVERIFY(shown(ed, "cbUseTank2"));
        QVERIFY(!shown(ed, "seSoundVolume"));
        QVERIFY(shown(ed, "rgapHolo_F"));
        QVERIFY(shown(ed, "seAirTemperCorr"));
        // Lights control with an air-temperature input: the parameter list ends with lamp control.
        const TProtBase *p = CurrentProtocol(ed.session->device());
        QCOMPARE(int(p->ParamCodes.back()), 34);
        QCOMPARE(ed.find<QCheckBox>(QStringLiteral("cbShowDisp_1_%1").arg(p->ParamCount() - 1))->text(),
                 ed.session->measPars().FindMeasPar(34)->Name);
        // NoDSSwitch and SecondTank: no " ДС", but "Бк2".
        const QStringList gasOil = ed.find<RadioGroup>(QStringLiteral("rgGasOilMeth"))->items();
        QCOMPARE(gasOil.size(), 3);
        QVERIFY(!gasOil.contains(QStringLiteral(" ДС")));
    }

    void noAirTemperatureInput()
    {
        OpenEditor ed(0x0701, 0); // lights control instead of air temperature
        for (const char *air :
             {"seAirTemperCorr", "lAirTemperCorr", "rgAirTemperMeth", "rgapHolo_F", "rgapHolo_N", "lapHolo"})
            QVERIFY2(!shown(ed, air), air);
    }

    void injectorControlsFollowTheMethods()
    {
        OpenEditor ed(0x8002, 0, 6);
        ed.show();
        QVERIFY(QTest::qWaitForWindowExposed(ed.dialog.get()));
        QVERIFY(!shown(ed, "rgForsCoef"));
        QVERIFY(!shown(ed, "rgForsPosFlag"));
        auto *exp = ed.find<RadioGroup>(QStringLiteral("rgExpenseMeth"));
        ed.find<QTabWidget>(QStringLiteral("pcMain"))->setCurrentIndex(1);
        QTest::mouseClick(exp->button(1), Qt::LeftButton);
        QCOMPARE(ed.tmk.record(5).s8(18), qint8(1));
        QVERIFY(shown(ed, "rgForsCoef"));
        QVERIFY(shown(ed, "rgForsPosFlag"));
        // The sidelight polarity counts only for physical sidelights.
        ed.tmk.record(10).setU32(0, 1u << 5);
        ed.dialog->reloadAll();
        QVERIFY(!shown(ed, "rgGabarInvPol"));
    }

    void hybridProtocol()
    {
        OpenEditor ed(0x0105, 6, 1); // "Estima"
        QVERIFY(shown(ed, "seInvTemperLimit"));
        QVERIFY(shown(ed, "rgapHVBTemperHigh_N"));
        QVERIFY(shown(ed, "seVentTempLimit"));
        QCOMPARE(ed.find<QDoubleSpinBox>(QStringLiteral("seVentTempLimit"))->maximum(), 60.0);
    }
};

QTEST_MAIN(EditorVisibilityTest)
#include "editor_visibility_test.moc"
