// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The bytes of the records the editor edits (sections 0..10), as one value: what the editor opened
// with, each step of its undo history and the factory settings are all record sets.

#include "settings/EditSession.h"

#include <QByteArray>
#include <array>
#include <vector>

namespace mk {

class TMK;
struct FieldDef;
struct FieldByte;
struct NamedSetting;

using RecordSet = std::array<QByteArray, kEditedSections>;

RecordSet takeRecords(const TMK &model);
void putRecords(TMK &model, const RecordSet &records);

// A model holding the settings a freshly set-up device holds: the factory value of every setting.
const TMK &factoryModel();

// Whether the bits a setting stores differ between two record sets.
bool settingDiffers(int section, const std::vector<FieldByte> &bytes, const RecordSet &a, const RecordSet &b);
bool settingDiffers(const NamedSetting &s, const RecordSet &a, const RecordSet &b);

// Copies the bits of `bytes` of one section from `from` into the model; every other bit stays.
void copySettingBits(TMK &model, int section, const std::vector<FieldByte> &bytes, const RecordSet &from);

} // namespace mk
