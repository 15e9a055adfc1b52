// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The device exchange as mkconf and mktool both run it, on the port the caller chose: reading the
// settings, the rules for settings that go to a device, what a write's preview shows, and the
// write itself (fresh read, merge, backup, sections, read-back: link/DeviceExchange.h). Runs on
// the calling thread (the window's on a worker) and reports through Progress; errors are
// mk::Error, a write that fails part-way WriteFailure.
//
//     const WritableSettings settings = WritableSettings::check(model);   // before any port is searched
//     ... the port is chosen ...
//     const std::optional<WriteOutcome> done = writeSettings(link, settings, progress, options);

#include "image/RecordSync.h"
#include "link/DeviceExchange.h"
#include "settings/SettingsDiff.h"

#include <QStringList>
#include <optional>
#include <vector>

namespace mk {

class Progress;
class TKW_RS;
class TMK;

// Reads the device's whole memory into `model` (its image and model code); the model changes
// only once all of it has arrived. false: cancelled.
bool readSettings(TKW_RS &link, TMK &model, Progress &progress);

// Settings held that passed the rules for a write, checked once per write, before any port is
// searched: there are settings, no section their header names is missing, their section table
// is sound and their image is whole. Such settings alone reach a device.
class WritableSettings
{
public:
    // Throws Error naming what is wrong.
    static WritableSettings check(TMK &model);
    TMK &model() const { return *m_model; }

private:
    explicit WritableSettings(TMK &model) : m_model(&model) {}
    TMK *m_model;
};

// What the preview of a write shows, from the device's memory as read, the settings held and
// what the write would send.
struct WritePreviewData
{
    SettingsDiff diff; // the pages' settings as the write changes them
    RecordedPlan plan; // whose copy of what the device records goes into the device
    // What the device records that differs between the device and the settings, with whose copy
    // is written.
    std::vector<RecordedDifference> recorded;
    // A restore (RecordedData::FromSettings): the device's newer records it puts back.
    QStringList restoreReplaces;
    // Nothing would change in the device: no write is needed.
    bool nothingToWrite() const { return diff.identical() && recorded.empty(); }
};
WritePreviewData writePreviewData(const TMK &device, const TMK &held, const TMK &toWrite, RecordedData recorded);

// Writes the checked settings (DeviceExchange.h: writeDevice); once written and read back, the
// settings held are what the device holds: its fresh memory with their records merged in.
// Nothing when cancelled or refused by `options.confirm`.
std::optional<WriteOutcome> writeSettings(TKW_RS &link, const WritableSettings &settings, Progress &progress,
                                          const WriteOptions &options);

} // namespace mk
