// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Feature flags of a device model: which areas of the editor a model has.
//
// SelectDeviceModel (DeviceModel.h) sets them from the model table; everything else only reads
// them. A default-constructed FeatureFlags has every flag clear, which is what a model type
// without a table row gets.
//
//     if (device.Flags.NoVoice) hideSpeechControls();
//     for (const QString &name : device.Flags.names()) ...   // "NoVoice", "AddSystems", ...

#include <QStringList>

#include <array>
#include <cstddef>

// Every feature flag, one line each, in the order names() lists them. A line here gives
// FeatureFlags its member and the field table's Flag its enumerator (settings/FieldTable.h);
// the model table (ModelTable.cpp) sets it on the rows that have it.
#define MK_FEATURE_FLAGS(X)                                                                                            \
    X(NoParkType)         /* no parking-type choice (rgParkType) */                                                    \
    X(NoVoice)            /* no speech: voice controls hidden, two hot-menu items fewer */                             \
    X(NoAirTempInput)     /* no air-temperature input; measured code 11 is lamp control */                             \
    X(LightsControl)      /* the device switches the dipped beam (cbLightsOn) */                                       \
    X(NoDSSwitch)         /* gas/petrol switch source lacks its " ДС" item */                                        \
    X(SecondTank)         /* a second fuel tank (cbUseTank2, "Бк2") */                                               \
    X(UniversalInput)     /* the universal input page (tsUniMeas) */                                                   \
    X(NoParking)          /* no parking-sensor page (tsPark) */                                                        \
    X(NoGas)              /* no gas controls */                                                                        \
    X(NoVagAuto)          /* no automatic VAG protocol search, no VAG protocols */                                     \
    X(AltEngineSet)       /* the alternative OBD-II protocol set ("OBD2E" only) */                                     \
    X(ExtendedSystems)    /* extended J1939 definition and additional system 93 */                                     \
    X(Supply24V)          /* 24-volt vehicle */                                                                        \
    X(AddSystems)         /* the additional-systems page (tsBlocks) */                                                 \
    X(Taximeter)          /* the taximeter averages screen */                                                          \
    X(Oscilloscope)       /* the device records oscilloscope data */                                                   \
    X(ServiceInThousands) /* service intervals in thousands of km */

namespace mk {

struct FeatureFlags
{
#define MK_FEATURE_FLAG_MEMBER(name) bool name = false;
    MK_FEATURE_FLAGS(MK_FEATURE_FLAG_MEMBER)
#undef MK_FEATURE_FLAG_MEMBER

    bool operator==(const FeatureFlags &) const = default;

    // Names of the flags that are set, in the order of the list above.
    QStringList names() const;
    // Every flag's name with its member, in the order of the list above.
    struct Entry
    {
        const char *name;
        bool FeatureFlags::*flag;
    };
#define MK_FEATURE_FLAG_COUNT(name) +1
    static constexpr std::size_t kCount = 0 MK_FEATURE_FLAGS(MK_FEATURE_FLAG_COUNT);
#undef MK_FEATURE_FLAG_COUNT
    static const std::array<Entry, kCount> &all();
};

} // namespace mk
