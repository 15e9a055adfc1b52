// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The measured-parameter catalog: what each one-byte quantity code on the device's screens means.
//
// Build it for the feature flags of the current model (SelectDeviceModel, DeviceModel.h), then
// resolve codes with FindMeasPar:
//
//     MeasParCatalog pars(device.Flags);
//     if (const TMeasParBase *p = pars.FindMeasPar(code)) {   // nullptr: unknown code, skip it
//         TMeasParBase shown = *p;      // or prepare the catalog's own entry
//         shown.PrepareData();          // MinText/MaxText (and the wide scale of code 14)
//         draw(shown.SampleText, shown.CellName, shown.CellUnit);
//     }
//
// Which codes a protocol offers is TProtBase::ParamCodes (Prots.h); the editor lists those, in
// that order, resolving each here. Code 11 is air temperature or lamp control depending on the
// model; code 34 exists only on models with LightsControl and an air-temperature input.

#include "catalogs/FeatureFlags.h"

#include <QString>
#include <vector>

namespace mk {

// One catalog entry. ClassName is the entry's identifier ("TVelocity", "TMomentaryExpenseK" ...).
struct TMeasParBase
{
    QString ClassName;
    quint8 Code = 0;
    int RangeFlag = 0; // 1 for sensor/ECU quantities with a meaningful range
    int GaugeKind = 0; // 0 no pointer gauge, 1 first gauge position, 2 second
    int Graphable = 0; // 1 when it may be put on a graph
    qint32 SampleValue = 0;
    qint32 MinValue = 0; // raw = displayed × 10^Decimals
    qint32 MaxValue = 100;
    qint32 AxisMin = 0; // gauge and graph scale, displayed units
    qint32 AxisMax = 100;
    int Width = 3; // field width of the sample text
    int Decimals = 0;
    QString Name;       // menu items and check-box captions
    QString SampleText; // sample value drawn in the screen previews
    QString LongCaption;
    QString MinText; // empty until PrepareData
    QString MaxText;
    QString CellName, CellUnit;   // four-value screen
    QString LineName, LineUnit;   // screens with smaller cells
    QString GridLabel;            // nine-value screen
    QString GaugeName, GaugeUnit; // pointer-gauge screen
    QString GraphCaption;         // graph screen
    bool GaugeMark = false;       // the gauge preview draws an extra marker (code 14)
    bool WideScale = false;       // code 14 after PrepareData: wide range, marker colour

    // Recomputes MinText and MaxText; the momentary consumption per 100 km (code 14) first
    // switches itself to its wide range 0..80.
    void PrepareData();
};

class MeasParCatalog
{
public:
    // Builds the entries for a model with these flags (default: every flag clear).
    explicit MeasParCatalog(const FeatureFlags &flags = {});
    // Clears the list and creates the entries again, in the fixed catalog order.
    void rebuild(const FeatureFlags &flags);

    // First entry whose Code equals code, or nullptr.
    const TMeasParBase *FindMeasPar(quint8 code) const;
    TMeasParBase *FindMeasPar(quint8 code);

    const std::vector<TMeasParBase> &entries() const { return m_entries; }

private:
    std::vector<TMeasParBase> m_entries;
};

// All 54 table rows in catalog order, before the code-11/code-34 selection (both code-11
// entries and the code-34 entry included).
const std::vector<TMeasParBase> &allMeasParEntries();

} // namespace mk
