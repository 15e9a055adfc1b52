// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogs/MeasPars.h"

#include "catalogs/CatalogTables.h"

#include <utility>

namespace mk {

namespace {

QString fixed(double value, int decimals, int width = 0)
{
    return QStringLiteral("%1").arg(value, width, 'f', decimals);
}

TMeasParBase fromRow(const catalog_data::MeasParRow &r)
{
    TMeasParBase p;
    p.ClassName = QString::fromLatin1(r.className);
    p.Code = quint8(r.code);
    p.RangeFlag = r.rangeFlag;
    p.GaugeKind = r.gaugeKind;
    p.Graphable = r.graphable;
    p.MinValue = r.minValue;
    p.MaxValue = r.maxValue;
    p.AxisMin = r.axisMin;
    p.AxisMax = r.axisMax;
    p.Width = r.width;
    p.Decimals = r.decimals;
    p.Name = QString::fromUtf8(r.name);
    p.LongCaption = QString::fromUtf8(r.longCaption);
    p.CellName = QString::fromUtf8(r.cellName);
    p.CellUnit = QString::fromUtf8(r.cellUnit);
    p.LineName = QString::fromUtf8(r.lineName);
    p.LineUnit = QString::fromUtf8(r.lineUnit);
    p.GridLabel = QString::fromUtf8(r.gridLabel);
    p.GaugeName = QString::fromUtf8(r.gaugeName);
    p.GaugeUnit = QString::fromUtf8(r.gaugeUnit);
    p.GraphCaption = QString::fromUtf8(r.graphCaption);
    // The gauge preview marks the momentary consumption per 100 km.
    p.GaugeMark = p.Code == 14;
    if (r.literalSample) {
        p.SampleText = QString::fromUtf8(r.literalSample);
    } else {
        p.SampleValue = r.sampleValue;
        // Right-aligned, padded with spaces, never cut.
        p.SampleText = r.sampleDivisor == 1 ? QStringLiteral("%1").arg(r.sampleValue, r.sampleWidth)
                                            : fixed(double(r.sampleValue) / r.sampleDivisor, p.Decimals, r.sampleWidth);
    }
    return p;
}

bool isMomentaryExpenseK(const TMeasParBase &p) { return p.ClassName == QLatin1String("TMomentaryExpenseK"); }

} // namespace

void TMeasParBase::PrepareData()
{
    if (isMomentaryExpenseK(*this)) {
        WideScale = true;
        MaxValue = 800;
        AxisMin = 0;
        AxisMax = 80;
    }
    if (Decimals == 0) {
        MinText = QString::number(MinValue);
        MaxText = QString::number(MaxValue);
        return;
    }
    double divisor = 1.0;
    for (int i = 0; i < Decimals; ++i)
        divisor *= 10.0;
    MinText = fixed(MinValue / divisor, Decimals);
    MaxText = fixed(MaxValue / divisor, Decimals);
}

const std::vector<TMeasParBase> &allMeasParEntries()
{
    static const std::vector<TMeasParBase> entries = [] {
        std::vector<TMeasParBase> list;
        for (const catalog_data::MeasParRow &r : catalog_data::kMeasParRows)
            list.push_back(fromRow(r));
        return list;
    }();
    return entries;
}

MeasParCatalog::MeasParCatalog(const FeatureFlags &flags) { rebuild(flags); }

// Code 11 is air temperature on models with an air-temperature input and lamp control on models
// without one that switch the lamps; the lamp-control entry with code 34 exists only on models
// that have both, and stands right after the wide-band lambda entry (TDDK).
void MeasParCatalog::rebuild(const FeatureFlags &flags)
{
    const bool airTemperature = !flags.NoAirTempInput;
    const bool lightsOnCode11 = flags.NoAirTempInput && flags.LightsControl;
    const bool lightsOnCode34 = !flags.NoAirTempInput && flags.LightsControl;
    const std::vector<TMeasParBase> &all = allMeasParEntries();
    const TMeasParBase *lights34 = nullptr;
    m_entries.clear();
    for (const TMeasParBase &p : all) {
        if (p.ClassName == QLatin1String("TLightsFlag1")) {
            lights34 = &p;
            continue;
        }
        if (p.ClassName == QLatin1String("TTemperAir") && !airTemperature)
            continue;
        if (p.ClassName == QLatin1String("TLightsFlag") && !lightsOnCode11)
            continue;
        m_entries.push_back(p);
        if (p.ClassName == QLatin1String("TDDK") && lightsOnCode34 && lights34)
            m_entries.push_back(*lights34);
    }
}

const TMeasParBase *MeasParCatalog::FindMeasPar(quint8 code) const
{
    for (const TMeasParBase &p : m_entries)
        if (p.Code == code)
            return &p;
    return nullptr;
}

TMeasParBase *MeasParCatalog::FindMeasPar(quint8 code)
{
    return const_cast<TMeasParBase *>(std::as_const(*this).FindMeasPar(code));
}

} // namespace mk
