// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The freeze frame of an error entry as rows of caption and value text.

#include "journals/JournalData.h"

#include <QList>
#include <QStringList>

namespace mk {

enum class FrameScale { Whole, Tenths, Hundredths, FuelSystem, SecondaryAir };

// One freeze-frame quantity: where it is stored in the entry and which bitmap bit announces it.
// The bit numbers are the OBD-II parameter numbers of the same quantities.
struct FrameValueDef
{
    // Where the value lies and its bit come from the record layout (image/RecordLayout.h).
    FrameValueDef(const FrameValueSlot &slot, const char *caption, const char *secondCaption, FrameScale scale);

    int entryOffset;
    int bit;
    const char *caption;
    const char *secondCaption; // non-empty for the fuel-system pair (high byte, low byte)
    FrameScale scale;
};

const QList<FrameValueDef> &frameValueDefs();

QString fuelSystemText(int state);
QString secondaryAirText(int state);

// Empty when the entry holds no freeze frame; otherwise "Код ошибки" with the freeze-frame code
// (OBD-II style) followed by every supported value, in the device's order.
QList<QStringList> freezeFrameRows(const Record &s12, int entryIndex);
// The same for an entry kept apart from its journal, with the supported-values bitmap of its read.
QList<QStringList> freezeFrameRows(const ErrorEntry &entry, const QByteArray &supported);

} // namespace mk
