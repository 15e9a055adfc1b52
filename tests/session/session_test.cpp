// SPDX-License-Identifier: GPL-3.0-or-later
// The session's rules for settings written and the data of a write's preview, which mkconf and
// mktool both decide by.

#include "base/Error.h"
#include "image/FactoryImage.h"
#include "image/RecordSync.h"
#include "image/TMK.h"
#include "session/DeviceSession.h"

#include <gtest/gtest.h>

namespace mk {
namespace {

TMK factoryModel()
{
    TMK m;
    m.replaceImage(0x0101, makeFactoryImage(0x0101, 1));
    return m;
}

// Refused before any port is searched: no settings at all, or settings cut short.
TEST(DeviceSession, OnlyHeldAndCompleteSettingsAreWritable)
{
    TMK none;
    EXPECT_THROW(WritableSettings::check(none), Error);
    TMK cut;
    cut.replaceImage(0x0101, makeFactoryImage(0x0101, 1).left(1500));
    EXPECT_THROW(WritableSettings::check(cut), Error);
    TMK whole = factoryModel();
    EXPECT_EQ(&WritableSettings::check(whole).model(), &whole);
}

// "Nothing to write" only when neither a setting nor anything the device records would change.
TEST(DeviceSession, PreviewSaysWhetherAnythingWouldChange)
{
    const TMK device = factoryModel();
    EXPECT_TRUE(writePreviewData(device, device, device, RecordedData::FollowDevice).nothingToWrite());
    TMK edited = device;
    edited.record(2).setU16(0, 4321);
    const TMK toWrite = mergeRecords(edited, 0x0101, device.image());
    const WritePreviewData data = writePreviewData(device, edited, toWrite, RecordedData::FollowDevice);
    EXPECT_FALSE(data.nothingToWrite());
    EXPECT_FALSE(data.diff.identical());
    EXPECT_TRUE(data.restoreReplaces.isEmpty());
}

} // namespace
} // namespace mk
