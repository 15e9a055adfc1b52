// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Fixed facts of the settings image: header positions, section record sizes, oscilloscope blocks.

#include <QByteArray>
#include <QtGlobal>
#include <array>

namespace mk {

constexpr int kSectionCount = 13;
constexpr int kHeaderSize = 64;
// Image position p holds device address p + 32.
constexpr int kAddressBase = 32;
// The last 4 bytes of every declared section length belong to the device.
constexpr int kSectionTrailer = 4;
constexpr int kVersionPos = 56;

// The sections, by what their records hold.
constexpr int kCountersSection = 0;   // running counters, averages, reset periods
constexpr int kParkingSection = 1;    // parking sensors
constexpr int kFuelSensorSection = 2; // fuel-level sensor calibration, tank sizes
constexpr int kTankTableSection = 3;  // the tank calibration table
constexpr int kServiceSection = 4;    // service reminders, universal input, additional systems
constexpr int kLimitsSection = 5;     // limits, corrections, measuring methods
constexpr int kTripsSection = 6;      // prices, trip settings, trip and refuelling journals
constexpr int kMoreLimitsSection = 7; // further limits
constexpr int kVoiceSection = 8;      // voice and alarms
constexpr int kDisplaySection = 9;    // screen layouts, hot menus, colour schemes, sound, brightness
constexpr int kVehicleSection = 10;   // protocol and vehicle options
constexpr int kUndecodedSection = 11; // never decoded: its bytes pass through unchanged
constexpr int kErrorsSection = 12;    // error journal and freeze frames

// Record sizes this program knows, by section (section 11 is never decoded).
constexpr std::array<int, kSectionCount> kRecordSizes = {164, 28, 64, 420, 124, 69, 860, 80, 32, 412, 60, 0, 664};

// The oscilloscope blocks lie at fixed image positions, outside the section table.
constexpr int kOscBlockPos[2] = {3542, 7606};
constexpr int kOscHeaderSize = 8;
constexpr int kOscSampleCount = 512;

struct SectionEntry
{
    quint16 address = 0;
    quint16 length = 0; // declared length, including the device's 4 trailing bytes

    // Image position of the content; negative when the address lies inside the header area.
    int contentPos() const { return int(address) - kAddressBase; }
    int contentLength() const { return int(length) - kSectionTrailer; }
    // A section whose content can be placed in the image at all.
    bool usable() const { return address >= kAddressBase && length >= kSectionTrailer; }
};

struct ImageHeader
{
    quint32 count = 0; // N: table entries the device uses
    std::array<SectionEntry, kSectionCount> sections{};
    quint32 version = 0;

    // Reads what the image holds of the 64 header bytes; missing bytes read as 0.
    static ImageHeader parse(const QByteArray &image);
    void writeTo(QByteArray &image) const;
};

} // namespace mk
