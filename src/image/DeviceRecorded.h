// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the device records and advances by itself in its memory, beside the settings: the trip,
// refuelling and error journals, the accumulated averages with the overall distance, and the
// service counters it counts down. A write keeps the device's own copy of these unless the user
// changed them since the settings were read or loaded (or restores a backup as a whole): a file
// or a read from last week must not take back the trips recorded since.
//
// Each part is cut into units, the bytes that are kept or written together: a journal is one
// unit (clearing it marks every entry), a set of averages is its time, distance and fuel fields,
// a service counter is its byte. A unit the user changed is written as the user left it; every
// other unit of the part is the device's.

#include "image/ImageLayout.h"
#include "image/Record.h"
#include "image/RecordLayout.h"

#include <QString>
#include <vector>

namespace mk {

// A field of the entry at `entry` (its first byte in the record), 1, 2 or 4 bytes wide.
quint32 entryField(const Record &record, int entry, EntryField field);
void setEntryField(Record &record, int entry, EntryField field, quint32 value);

struct ByteSpan
{
    int begin, end; // record bytes [begin, end)
};

// What a unit holds, which decides how the device moves it by itself.
enum class RecordedKind {
    TripJournal,    // entries come in at the front, the oldest drops off the end
    TankJournal,    // the same for refuellings
    ErrorJournal,   // the same for errors, with the supported-values bitmap
    Averages,       // one set: time, distance and fuel only grow, or all start again from 0
    OtherCounters,  // the rest of section 0 but for its settings: move only while the sets do
    Odometer,       // AllPathStart, whole kilometres: only grows
    ServiceCounter, // thousands of kilometres left: counts down
};

// A unit's place in deviceRecordedUnits(): how a write names the unit the user chose to take.
struct RecordedUnitId
{
    int value = -1;
    auto operator<=>(const RecordedUnitId &) const = default;
};

struct RecordedUnit
{
    int section;
    std::vector<ByteSpan> spans;
    RecordedKind kind = RecordedKind::OtherCounters;
    int index = 0; // the set of averages, the service counter
    RecordedUnitId id;
    int part = 0; // in deviceRecordedParts()
};

struct RecordedPart
{
    QString caption; // "Журнал поездок"
    std::vector<RecordedUnit> units;
};

const std::vector<RecordedPart> &deviceRecordedParts();
// Every unit of every part, in order; unit.id is its index here.
const std::vector<RecordedUnit> &deviceRecordedUnits();
// Whether any part lies in the section.
bool holdsDeviceRecorded(int section);

// The unit's bytes of a record (as far as the record reaches), back to back.
QByteArray unitBytes(const QByteArray &record, const RecordedUnit &unit);
// Puts `from`'s bytes of the unit into `to`.
void copyUnit(QByteArray &to, const QByteArray &from, const RecordedUnit &unit);

// Journals whose entries of `was` stand in `now` behind `newer` new ones (0 when nothing moved);
// -1 when `now` is not `was` with entries put in front.
int journalEntriesAdded(const RecordedUnit &unit, const QByteArray &was, const QByteArray &now);

// Puts the entries the user changed between `base` and `edited` into `merged` (the device's
// journal, holding `added` entries newer than `base` in front): each lands where the device
// moved it, so that clearing the entries the user saw leaves the trips recorded since.
void moveJournalChanges(const RecordedUnit &unit, const QByteArray &base, const QByteArray &edited, QByteArray &merged,
                        int added);

// Whether a section's record `now` holds only what the device may have recorded by itself in
// `elapsedMs` since it held `was`: its settings bytes as they were, and each unit the same or the
// device's own newer record (new journal entries in front of the old ones, a set of averages
// grown or started again, the odometer on, a service counter down by one). Anything else is not
// the device's doing: a byte stored or read wrong. `moved`, when given, hears whether any unit moved.
bool onlyDeviceRecorded(int section, const QByteArray &was, const QByteArray &now, qint64 elapsedMs,
                        bool *moved = nullptr);

} // namespace mk
