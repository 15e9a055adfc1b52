// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Conversations with the trip computer: identify it, read its whole memory into an image,
// write an image's sections back. Each whole operation opens the link's port at 115200 baud
// and closes it on every way out; it runs on whatever thread calls it (the GUI uses a worker)
// and reports through Progress. Nothing held by the caller is changed: a read returns a new
// image, so a read that fails part-way leaves the caller's model exactly as it was.
//
//   std::optional<DeviceImage> got = readDevice(link, progress);   // nothing: cancelled
//   if (got) model.replaceImage(got->device.modelCode, got->image);
//
// Errors are thrown as Error with the text to show; a write that fails part-way throws
// WriteFailure, which names the section and the backup taken before writing.

#include "base/Error.h"
#include "image/RecordSync.h"
#include "link/Progress.h"

#include <QByteArray>
#include <QList>
#include <array>
#include <functional>
#include <optional>
#include <set>

namespace mk {

class TKW_RS;
class TMK;

struct DeviceCandidate
{
    quint8 address;
    int memorySize;
};
// Tried in this order, round and round, until one answers.
constexpr std::array<DeviceCandidate, 3> kDeviceCandidates = {{{0xFC, 8192}, {0xFD, 8192}, {0xFE, 32768}}};

constexpr int kIdentifyTimeoutMs = 100;
constexpr int kSectionWriteTimeoutMs = 2000;
// Times a section is sent before a write is called interrupted.
constexpr int kSectionWriteTries = 2;
// Read-backs of a write before it is called unverified or wrong.
constexpr int kVerifyReadings = 2;

struct DeviceIdentity
{
    quint8 address = 0;
    int memorySize = 0;
    quint16 modelCode = 0;
};

struct DeviceImage
{
    DeviceIdentity device;
    QByteArray image; // memorySize - 64 bytes
};

struct WriteOutcome
{
    DeviceIdentity device;
    QString backupPath; // the device's memory as it was before the write
    // What the device now holds: its fresh image with the written records merged in.
    QByteArray image;
    // Sections not written: they hold what the device records and nothing in them was to change.
    QList<int> sectionsLeft;
    // What the device recorded while the write ran (a newer record of its own), kept.
    bool recordedMeanwhile = false;
};

// A write that did not end verified: interrupted at a section by the link, refused by the
// read-back (the device holds other bytes than were sent), or not verifiable (the read-back
// failed). Every kind names the backup of the memory as it was before the write.
class WriteFailure : public Error
{
public:
    enum Stage { Interrupted, Mismatch, Unverified };
    // Interrupted at the section by the link's error (its kind and context are kept);
    // someWritten: sections before it were.
    WriteFailure(const Error &linkError, int section, const QString &backupPath, bool someWritten);
    // The read-back of the section differs at this device address.
    static WriteFailure mismatch(int section, int deviceAddress, const QString &backupPath);
    // The read-back failed with the link's error.
    static WriteFailure unverified(const Error &linkError, const QString &backupPath);

    Stage stage() const { return m_stage; }
    int section() const { return m_section; } // -1 for Unverified
    const QString &backupPath() const { return m_backupPath; }

private:
    WriteFailure(Stage stage, const Error &error, int section, const QString &backupPath);
    Stage m_stage;
    int m_section;
    QString m_backupPath;
};

// The steps, on a port the caller has opened.
// Tries the candidates until one answers identify; nothing when cancelled meanwhile.
std::optional<DeviceIdentity> connectDevice(TKW_RS &link, Progress &progress);
// Reads blocks 1 .. S/64 - 1 and S/64 + 1 .. S/32 - 1; nothing when cancelled between blocks.
std::optional<QByteArray> readImage(TKW_RS &link, const DeviceIdentity &device, Progress &progress);
// Whole operations. Nothing when cancelled.
std::optional<DeviceIdentity> identifyDevice(TKW_RS &link, Progress &progress);
std::optional<DeviceImage> readDevice(TKW_RS &link, Progress &progress);
// Writes the model's records 0..10 and 12 (nothing when cancelled before the first section is
// sent; once the sections go out, the write runs to its end):
//  - identifies the device (its model code must be the model's) and reads its memory afresh;
//  - reads the blocks the write depends on (the header and every section) a second time: a
//    block whose two readings differ is read until two readings in a row agree, so a read error
//    the frame checksum cannot see never goes back to the device; the backup is this memory;
//  - merges the records in (the settings versions must match); what the device records follows
//    `recorded` (RecordSync.h): by default the device's own, but for what the user changed;
//  - saves the backup in backupDir, then writes every section of the header; a section that
//    holds what the device records is read again right before: what the device recorded since
//    is merged in, and the section is not written at all when nothing in it is to change;
//  - reads back the written sections and compares every byte: only a verified write returns.
//    Where the device may have recorded meanwhile, a difference is taken only as its own newer
//    record (DeviceRecorded.h: onlyDeviceRecorded), and only once two readings agree.
// `confirm`, when given, is asked after the merge, before the backup and the first byte written,
// with the device's memory as read and what would be written (both decoded); false writes
// nothing and returns nothing, as a cancel does. `backupSaved` hears the backup's path before
// the first section is written.
using WriteConfirmation = std::function<bool(const TMK &device, const TMK &toWrite)>;
struct WriteOptions
{
    QString backupDir;
    RecordedData recorded = RecordedData::FollowDevice;
    // Units of what the device records that the user chose to write from the settings although
    // they are as read or loaded (a counter set in a file, a profile's change).
    std::set<RecordedUnitId> take;
    WriteConfirmation confirm;
    // Asked once `confirm` said yes: the units the user chose in the preview to write from the
    // settings (they replace `take`, and the write merges again with them).
    std::function<std::set<RecordedUnitId>()> chosenTake;
    std::function<void(const QString &backupPath)> backupSaved;
};
std::optional<WriteOutcome> writeDevice(TKW_RS &link, const TMK &model, Progress &progress,
                                        const WriteOptions &options);
std::optional<WriteOutcome> writeDevice(TKW_RS &link, const TMK &model, Progress &progress, const QString &backupDir,
                                        const WriteConfirmation &confirm = {});

} // namespace mk
