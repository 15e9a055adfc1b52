// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogs/FeatureFlags.h"

namespace mk {

const std::array<FeatureFlags::Entry, FeatureFlags::kCount> &FeatureFlags::all()
{
#define MK_FEATURE_FLAG_ENTRY(name) Entry{#name, &FeatureFlags::name},
    static const std::array<Entry, kCount> entries = {MK_FEATURE_FLAGS(MK_FEATURE_FLAG_ENTRY)};
#undef MK_FEATURE_FLAG_ENTRY
    return entries;
}

QStringList FeatureFlags::names() const
{
    QStringList list;
    for (const Entry &e : all())
        if (this->*e.flag)
            list << QString::fromLatin1(e.name);
    return list;
}

} // namespace mk
