// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The oscilloscope record and the scales it is drawn with.
//
// Where the values live:
//  - the three choices the viewer offers, and the trigger level, are device settings in
//    section 10 (they reach the device with the next write of the settings; rows kOscTimeDiv,
//    kOscVoltDiv, kOscInDivider and kOscTrigLevel of image/RecordLayout.h);
//  - what the capture itself recorded is in the header of oscilloscope block 0, which the
//    viewer only reads: +4 the level the capture triggered at, in tenths of a volt (s16), +7
//    the input-divider range the samples were taken with (0..2, it names the volt/div labels).
// The samples are the 512 bytes of block 0 followed by the 512 bytes of block 1.

#include "image/Record.h"
#include "image/RecordLayout.h"

#include <QByteArray>
#include <QPoint>
#include <QString>
#include <QStringList>

namespace mk {

class TMK;

constexpr int kOscHeaderLevelOffset = kOscHeaderLayout.level.offset;
constexpr int kOscHeaderRangeOffset = kOscHeaderLayout.range.offset;

constexpr int kOscTimeDivCount = 10;
constexpr int kOscVoltDivCount = 3;
constexpr int kOscDividerCount = 3;
constexpr int kOscTotalSamples = 1024;

// Trace area and scroll range of the viewer.
constexpr int kOscTraceHeight = 256;
constexpr int kOscDivision = 32; // pixels per division both ways
constexpr int kOscOffsetMin = -32;
constexpr int kOscOffsetMax = 992;

struct OscSettings
{
    int timeDiv = 0;       // index 0..9
    int voltDiv = 0;       // index 0..2
    int inDivider = 0;     // index 0..2 of the divider choice
    int dividerRange = 0;  // 0..2, of the capture
    qint16 trigLevel = 0;  // device units
    qint16 levelValue = 0; // tenths of a volt, of the capture
};

// Reads the settings; indices outside their tables are brought to the nearest valid one.
OscSettings oscSettings(const Record &s10, const QByteArray &header0);
void storeOscTimeDiv(Record &s10, int index);
void storeOscVoltDiv(Record &s10, int index);
void storeOscInDivider(Record &s10, int index);

QByteArray oscSamples(const TMK &tmk);

QStringList oscTimeDivLabels();
QStringList oscVoltDivLabels(int dividerRange);
QStringList oscDividerLabels();
int oscTimeDivisor(int timeDiv);  // T
double oscVoltScale(int voltDiv); // S
int oscGain(int voltDiv);         // G
double oscDividerFactor(int dividerRange);

// Rounding as the device's tools do it: halves to the even neighbour.
int roundEven(double value);

// Pixel geometry of one drawing of the trace.
class OscGeometry
{
public:
    // zoom stretches the time axis about the trigger moment; 1 draws as the device's tools do.
    OscGeometry(const OscSettings &settings, double showScale, int offset, double zoom = 1.0);

    double horizontalFactor() const { return m_h; } // pixels per sample, zoom included
    double verticalDivisor() const { return m_v; }
    QPoint samplePoint(int index, quint8 sample) const;
    int triggerLevelY() const;
    int triggerMomentX() const;
    // Where the mouse points, in the units of the scale texts shown: milliseconds from the
    // trigger moment and volts above the bottom line.
    double timeAtX(double x) const;
    double voltsAtY(double y) const;
    // The sample drawn at x (fractional).
    double sampleAtX(double x) const;

    QString voltText() const; // "0.5В/д"
    // Milliseconds one division of the grid spans as the trace is drawn.
    double msPerDivision() const;
    QString timeText() const;   // "10мс/д"
    QString offsetText() const; // "0.0мс"
    QString levelText() const;  // "12.8В"

private:
    OscSettings m_s;
    double m_showScale;
    int m_offset;
    double m_h;
    double m_v;
};

} // namespace mk
