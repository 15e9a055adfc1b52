// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The oscilloscope record in physical units, for the CSV export and the viewer's cursor.
//
// The scale is the record's own: the time base and volt/div choice held when the record is
// opened (the viewer may change them afterwards for the next capture) and the input-divider
// range the capture was taken with. At that scale a division is 32 samples across and 32
// pixels up, so
//   time of sample i  = (i − 32) × (ms per division) / 32, 0 at the trigger moment (sample 32);
//   volts of a sample = its height as drawn, in divisions, × (volts per division).

#include "journals/OscData.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace mk {

constexpr int kOscTriggerSample = 32; // the trigger moment mark sits under this sample

struct OscScale
{
    double msPerSample = 0;
    double voltsPerStep = 0;
};

OscScale oscScale(const OscSettings &settings);
double oscSampleMs(const OscScale &scale, double sampleIndex);
double oscSampleVolts(const OscScale &scale, double sampleValue);

// Header "Время, мс","Напряжение, В", then one line per sample.
QList<QStringList> oscCsvRows(const OscSettings &settings, const QByteArray &samples);

} // namespace mk
