// SPDX-License-Identifier: GPL-3.0-or-later
#include "journals/OscData.h"

#include "base/DecimalText.h"
#include "image/TMK.h"

#include <cmath>

namespace mk {

namespace {

const char *const kTimeDivLabels[kOscTimeDivCount] = {"0.5", "1", "2", "5", "10", "20", "50", "100", "200", "500"};
const int kTimeDivisors[kOscTimeDivCount] = {2000, 1000, 500, 200, 100, 50, 20, 10, 5, 2};
const double kVoltScales[kOscVoltDivCount] = {0.2, 0.5, 1.0};
const int kGains[kOscVoltDivCount] = {1, 2, 4};
const char *const kVoltLabels[kOscDividerCount][kOscVoltDivCount] = {
    {"0.2", "0.5", "  1"}, {"  2", "  5", " 10"}, {" 20", " 50", "100"}};
const double kDividerFactors[kOscDividerCount] = {1.0, 0.1, 0.01};
const char *const kDividerLabels[kOscDividerCount] = {"1 : 1", "1 : 10", "1 : 100"};

// Volts per sample step at gain 1 and 0.2 V/div: the trace divisor is S / G over this.
constexpr double kVoltsPerStep = 0.0012096774193548388;

int clampIndex(int value, int count) { return qBound(0, value, count - 1); }

} // namespace

OscSettings oscSettings(const Record &s10, const QByteArray &header0)
{
    Record header(int(header0.size()));
    header.bytes() = header0;
    OscSettings s;
    s.timeDiv = clampIndex(s10.u8(kOscTimeDivOffset), kOscTimeDivCount);
    s.voltDiv = clampIndex(s10.u8(kOscVoltDivOffset), kOscVoltDivCount);
    s.inDivider = clampIndex(s10.u8(kOscInDividerOffset), kOscDividerCount);
    s.trigLevel = s10.s16(kOscTrigLevelOffset);
    s.levelValue = header.s16(kOscHeaderLevelOffset);
    s.dividerRange = clampIndex(header.u8(kOscHeaderRangeOffset), kOscDividerCount);
    return s;
}

void storeOscTimeDiv(Record &s10, int index)
{
    s10.setU8(kOscTimeDivOffset, quint8(clampIndex(index, kOscTimeDivCount)));
}
void storeOscVoltDiv(Record &s10, int index)
{
    s10.setU8(kOscVoltDivOffset, quint8(clampIndex(index, kOscVoltDivCount)));
}
void storeOscInDivider(Record &s10, int index)
{
    s10.setU8(kOscInDividerOffset, quint8(clampIndex(index, kOscDividerCount)));
}

QByteArray oscSamples(const TMK &tmk) { return tmk.osc(0).samples + tmk.osc(1).samples; }

QStringList oscTimeDivLabels()
{
    QStringList labels;
    for (const char *l : kTimeDivLabels)
        labels << QString::fromLatin1(l);
    return labels;
}

QStringList oscVoltDivLabels(int dividerRange)
{
    QStringList labels;
    for (const char *l : kVoltLabels[clampIndex(dividerRange, kOscDividerCount)])
        labels << QString::fromLatin1(l);
    return labels;
}

QStringList oscDividerLabels()
{
    QStringList labels;
    for (const char *l : kDividerLabels)
        labels << QString::fromLatin1(l);
    return labels;
}

int oscTimeDivisor(int timeDiv) { return kTimeDivisors[clampIndex(timeDiv, kOscTimeDivCount)]; }
double oscVoltScale(int voltDiv) { return kVoltScales[clampIndex(voltDiv, kOscVoltDivCount)]; }
int oscGain(int voltDiv) { return kGains[clampIndex(voltDiv, kOscVoltDivCount)]; }
double oscDividerFactor(int dividerRange) { return kDividerFactors[clampIndex(dividerRange, kOscDividerCount)]; }

int roundEven(double value) { return int(std::nearbyint(value)); }

OscGeometry::OscGeometry(const OscSettings &settings, double showScale, int offset, double zoom)
    : m_s(settings), m_showScale(showScale), m_offset(offset)
{
    const double currentScale = 1.0 / oscTimeDivisor(m_s.timeDiv);
    m_h = m_showScale / currentScale * zoom;
    m_v = oscVoltScale(m_s.voltDiv) / oscGain(m_s.voltDiv) / kVoltsPerStep;
}

QPoint OscGeometry::samplePoint(int index, quint8 sample) const
{
    return {roundEven((index - 32 - m_offset) * m_h + 64),
            roundEven(kOscTraceHeight - sample * double(kOscTraceHeight) / m_v)};
}

int OscGeometry::triggerLevelY() const
{
    return roundEven(kOscTraceHeight - m_s.trigLevel * double(kOscTraceHeight) / oscVoltScale(m_s.voltDiv) / 80.0);
}

int OscGeometry::triggerMomentX() const { return roundEven(64 - m_offset * m_h); }

double OscGeometry::timeAtX(double x) const
{
    const double triggerX = 64 - m_offset * m_h;
    return (x - triggerX) / m_h * m_showScale * 1000.0 / kOscDivision;
}

double OscGeometry::voltsAtY(double y) const
{
    return (kOscTraceHeight - y) / kOscDivision * oscVoltScale(m_s.voltDiv) / oscDividerFactor(m_s.dividerRange);
}

double OscGeometry::sampleAtX(double x) const { return (x - 64) / m_h + 32 + m_offset; }

QString OscGeometry::voltText() const
{
    return oscVoltDivLabels(m_s.dividerRange).at(m_s.voltDiv) + QStringLiteral("В/д");
}

double OscGeometry::msPerDivision() const { return 1000.0 * m_showScale / m_h; }

// What a division of the grid spans as drawn, so that the text follows every stretch of the
// trace; at the time base's own scale it is that time base's label.
QString OscGeometry::timeText() const { return QString::number(msPerDivision(), 'g', 4) + QStringLiteral("мс/д"); }

// The time from the trigger moment to the first sample shown, at the capture's time base: a
// division of 32 samples spans the time base's milliseconds, as the grid says.
QString OscGeometry::offsetText() const
{
    return decimalText(m_offset * 1000.0 * m_showScale / kOscDivision, 1) + QStringLiteral("мс");
}

QString OscGeometry::levelText() const
{
    return decimalText(m_s.levelValue / 10.0 / oscDividerFactor(m_s.dividerRange), 1) + QStringLiteral("В");
}

} // namespace mk
