// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/RecordSet.h"

#include "image/TMK.h"
#include "settings/FieldTable.h"
#include "settings/NamedSettings.h"

namespace mk {

RecordSet takeRecords(const TMK &model)
{
    RecordSet set;
    for (int k = 0; k < kEditedSections; ++k)
        set[size_t(k)] = model.record(k).bytes();
    return set;
}

void putRecords(TMK &model, const RecordSet &records)
{
    for (int k = 0; k < kEditedSections; ++k)
        model.record(k).bytes() = records[size_t(k)];
}

const TMK &factoryModel()
{
    static const TMK factory; // a new model holds the default records
    return factory;
}

bool settingDiffers(int section, const std::vector<FieldByte> &bytes, const RecordSet &a, const RecordSet &b)
{
    return fieldBitsDiffer(a[size_t(section)], b[size_t(section)], bytes);
}

bool settingDiffers(const NamedSetting &s, const RecordSet &a, const RecordSet &b)
{
    return settingDiffers(s.section, s.bytes, a, b);
}

void copySettingBits(TMK &model, int section, const std::vector<FieldByte> &bytes, const RecordSet &from)
{
    copyFieldBits(model.record(section).bytes(), from[size_t(section)], bytes);
}

} // namespace mk
