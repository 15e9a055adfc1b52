// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogs/Prots.h"

#include "catalogs/CatalogTexts.h"

#include <algorithm>

namespace mk {

namespace {

// The measured quantities the trip computer derives itself come first with every protocol.
constexpr int kOwnParamCount = 16;

QStringList numbered(int first, int last)
{
    QStringList list;
    for (int i = first; i <= last; ++i)
        list << QString::number(i);
    return list;
}

} // namespace

TProtBase::TProtBase(const QString &name, quint8 code, int errorCodeFormat, const std::vector<quint8> &extraParams,
                     const std::vector<quint8> &systems)
    : Name(name), Code(code), ErrorCodeFormat(errorCodeFormat)
{
    for (int c = 1; c <= kOwnParamCount; ++c)
        AddParam(quint8(c));
    for (quint8 c : extraParams)
        AddParam(c);
    SystemCodes.assign(systems.begin(), systems.begin() + std::min<size_t>(systems.size(), kMaxProtocolCodes));
    for (int s = 0; s < kSubTypeSelectorCount; ++s) {
        if (s == 0)
            SubTypeItems[0] = QStringList{QString::fromUtf8(catalog_text::kSubTypeAuto)} + numbered(1, 9);
        else if (s == 4)
            SubTypeItems[4] = numbered(1, 13);
        else
            SubTypeItems[size_t(s)] = numbered(1, 10);
    }
}

void TProtBase::AddParam(quint8 code)
{
    if (code != 0 && ParamCodes.size() < size_t(kMaxProtocolCodes))
        ParamCodes.push_back(code);
}

void TProtBase::setSelector(int s, const QString &caption, const QStringList &items)
{
    if (s < 0 || s >= kSubTypeSelectorCount)
        return;
    const auto i = size_t(s);
    SubTypeCaption[i] = caption;
    QStringList &list = SubTypeItems[i];
    for (int k = 0; k < items.size(); ++k) {
        if (k < list.size())
            list[k] = items[k];
        else
            list << items[k];
    }
    SubTypeCount[i] = int(items.size());
}

QStringList TProtBase::offeredItems(int s) const
{
    if (s < 0 || s >= kSubTypeSelectorCount)
        return {};
    const auto i = size_t(s);
    return SubTypeItems[i].mid(0, SubTypeCount[i]);
}

bool TProtBase::IsProtocolSystem(quint8 systemCode) const
{
    return std::find(SystemCodes.begin(), SystemCodes.end(), systemCode) != SystemCodes.end();
}

const std::array<TProtBase::Option, 8> &TProtBase::options()
{
    using P = TProtBase;
    static const std::array<Option, 8> list = {{
        {"CoolantAlarms", &P::CoolantAlarms},
        {"ErrorAlarm", &P::ErrorAlarm},
        {"GearboxOilTemp", &P::GearboxOilTemp},
        {"EngineOilTemp", &P::EngineOilTemp},
        {"FanControl", &P::FanControl},
        {"SideLights", &P::SideLights},
        {"BatterySource", &P::BatterySource},
        {"Hybrid", &P::Hybrid},
    }};
    return list;
}

QStringList TProtBase::optionNames() const
{
    QStringList list;
    for (const Option &o : options())
        if (this->*o.flag)
            list << QString::fromLatin1(o.name);
    return list;
}

QStringList TankMethItems(const TProtBase *protocol)
{
    using namespace catalog_text;
    QStringList list{QString::fromUtf8(kTankComputed), QString::fromUtf8(kTankSensor)};
    const int channels = protocol ? protocol->EcuTankChannels : 0;
    if (channels >= 1)
        list << QString::fromUtf8(kTankEcu1);
    if (channels >= 2)
        list << QString::fromUtf8(kTankEcu2);
    if (channels >= 3)
        list << QString::fromUtf8(kTankEcu3);
    return list;
}

} // namespace mk
