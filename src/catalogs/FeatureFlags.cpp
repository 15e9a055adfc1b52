#include "catalogs/FeatureFlags.h"

namespace mk {

const std::array<FeatureFlags::Entry, 17> &FeatureFlags::all()
{
    using F = FeatureFlags;
    static const std::array<Entry, 17> entries = {{
        {"NoParkType", &F::NoParkType},
        {"NoVoice", &F::NoVoice},
        {"NoAirTempInput", &F::NoAirTempInput},
        {"LightsControl", &F::LightsControl},
        {"NoDSSwitch", &F::NoDSSwitch},
        {"SecondTank", &F::SecondTank},
        {"UniversalInput", &F::UniversalInput},
        {"NoParking", &F::NoParking},
        {"NoGas", &F::NoGas},
        {"NoVagAuto", &F::NoVagAuto},
        {"AltEngineSet", &F::AltEngineSet},
        {"ExtendedSystems", &F::ExtendedSystems},
        {"Supply24V", &F::Supply24V},
        {"AddSystems", &F::AddSystems},
        {"Taximeter", &F::Taximeter},
        {"Oscilloscope", &F::Oscilloscope},
        {"ServiceInThousands", &F::ServiceInThousands},
    }};
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
