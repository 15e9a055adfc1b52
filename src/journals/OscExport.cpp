// SPDX-License-Identifier: GPL-3.0-or-later
#include "journals/OscExport.h"

namespace mk {

namespace {

// The labels' values: ms per division 0.5 .. 500 is 1000 / T; volts per division is S over the
// divider factor of the range.
double msPerDivision(int timeDiv) { return 1000.0 / oscTimeDivisor(timeDiv); }
double voltsPerDivision(const OscSettings &s) { return oscVoltScale(s.voltDiv) / oscDividerFactor(s.dividerRange); }

} // namespace

OscScale oscScale(const OscSettings &settings)
{
    const OscGeometry g(settings, 1.0 / oscTimeDivisor(settings.timeDiv), 0);
    OscScale scale;
    scale.msPerSample = msPerDivision(settings.timeDiv) / kOscDivision;
    // A sample step is kOscTraceHeight / V pixels high, a division kOscDivision pixels.
    scale.voltsPerStep = double(kOscTraceHeight) / g.verticalDivisor() / kOscDivision * voltsPerDivision(settings);
    return scale;
}

double oscSampleMs(const OscScale &scale, double sampleIndex)
{
    return (sampleIndex - kOscTriggerSample) * scale.msPerSample;
}

double oscSampleVolts(const OscScale &scale, double sampleValue) { return sampleValue * scale.voltsPerStep; }

QList<QStringList> oscCsvRows(const OscSettings &settings, const QByteArray &samples)
{
    const OscScale scale = oscScale(settings);
    QList<QStringList> rows;
    rows.append({QStringLiteral("Время, мс"), QStringLiteral("Напряжение, В")});
    for (int i = 0; i < samples.size(); ++i)
        rows.append({QString::number(oscSampleMs(scale, i), 'f', 6),
                     QString::number(oscSampleVolts(scale, quint8(samples[i])), 'f', 5)});
    return rows;
}

} // namespace mk
