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

namespace mk {

struct FeatureFlags
{
    bool NoParkType = false;         // no parking-type choice (rgParkType)
    bool NoVoice = false;            // no speech: voice controls hidden, two hot-menu items fewer
    bool NoAirTempInput = false;     // no air-temperature input; measured code 11 is lamp control
    bool LightsControl = false;      // the device switches the dipped beam (cbLightsOn)
    bool NoDSSwitch = false;         // gas/petrol switch source lacks its " ДС" item
    bool SecondTank = false;         // a second fuel tank (cbUseTank2, "Бк2")
    bool UniversalInput = false;     // the universal input page (tsUniMeas)
    bool NoParking = false;          // no parking-sensor page (tsPark)
    bool NoGas = false;              // no gas controls
    bool NoVagAuto = false;          // no automatic VAG protocol search, no VAG protocols
    bool AltEngineSet = false;       // the alternative OBD-II protocol set ("OBD2E" only)
    bool ExtendedSystems = false;    // extended J1939 definition and additional system 93
    bool Supply24V = false;          // 24-volt vehicle
    bool AddSystems = false;         // the additional-systems page (tsBlocks)
    bool Taximeter = false;          // the taximeter averages screen
    bool Oscilloscope = false;       // the device records oscilloscope data
    bool ServiceInThousands = false; // service intervals in thousands of km

    bool operator==(const FeatureFlags &) const = default;

    // Names of the flags that are set, in the order of the declarations above.
    QStringList names() const;
    // Every flag's name with its member, in declaration order.
    struct Entry
    {
        const char *name;
        bool FeatureFlags::*flag;
    };
    static const std::array<Entry, 17> &all();
};

} // namespace mk
