// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// ECU protocol descriptions: what each protocol the device can speak offers to the editor.
//
// The protocols of a model come from SelectDeviceModel (DeviceModel.h) as
// DeviceModel::ProtocolList; the editor works on DeviceModel::CurrentProtocol(), which is
// nullptr when no protocol is selected (an empty list, or a stored index past its end).
//
//     const TProtBase *p = CurrentProtocol(device);
//     if (!p) { /* nothing selected: offer no parameters, hide protocol-dependent controls */ }
//     for (quint8 code : p->ParamCodes) ...                 // measured codes, display order
//     for (int s = 0; s < kSubTypeSelectorCount; ++s)
//         label[s] = p->SubTypeCaption[s], items[s] = p->offeredItems(s);
//     cbTankMeth items: TankMethItems(p)                     // accepts nullptr

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace mk {

constexpr int kSubTypeSelectorCount = 8; // selector 0 = cbProtTypeMain, 1..7 = cbProtTypeAdd1..7
constexpr int kMaxProtocolCodes = 101;   // capacity of ParamCodes and SystemCodes

// ErrorCodeFormat of protocols whose error journal entries carry no code text.
constexpr int kNoErrorCodeText = 1000;

class TProtBase
{
public:
    // Name, code and error format as the device knows them; ParamCodes become 1..16 followed by
    // extraParams (zeros skipped); SystemCodes a copy of systems. Defaults: CoolantAlarms and
    // ErrorAlarm set, the other flags clear, no selectors, no ECU tank channels.
    TProtBase(const QString &name, quint8 code, int errorCodeFormat, const std::vector<quint8> &extraParams = {},
              const std::vector<quint8> &systems = {});

    QString Name;
    quint8 Code = 0;
    std::vector<quint8> ParamCodes;  // measured-parameter codes offered, in display order
    std::vector<quint8> SystemCodes; // additional systems this protocol polls by default
    int ErrorCodeFormat = 0;         // 0..9, or kNoErrorCodeText
    std::array<QString, kSubTypeSelectorCount> SubTypeCaption;
    std::array<int, kSubTypeSelectorCount> SubTypeCount{};       // 0 = selector not used
    std::array<QStringList, kSubTypeSelectorCount> SubTypeItems; // defaults, overwritten from 0

    bool CoolantAlarms = true;
    bool ErrorAlarm = true;
    bool GearboxOilTemp = false;
    bool EngineOilTemp = false;
    bool FanControl = false;
    bool SideLights = false;
    bool BatterySource = false;
    bool Hybrid = false;

    int EcuTankChannels = 0; // fuel-level channels the ECU provides, 0..3

    int ParamCount() const { return int(ParamCodes.size()); }
    int SystemCount() const { return int(SystemCodes.size()); }

    // Appends one measured code unless it is 0 (or the list is full).
    void AddParam(quint8 code);
    // Sets selector s: caption and items; the count becomes the number of items.
    void setSelector(int s, const QString &caption, const QStringList &items);
    // The items selector s offers: the first SubTypeCount[s] of SubTypeItems[s].
    QStringList offeredItems(int s) const;
    // True when this protocol polls the additional system by default.
    bool IsProtocolSystem(quint8 systemCode) const;

    // The eight option flags with their names, in declaration order.
    struct Option
    {
        const char *name;
        bool TProtBase::*flag;
    };
    static const std::array<Option, 8> &options();
    // Names of the option flags that are set.
    QStringList optionNames() const;
};

// Items of the fuel-level source list cbTankMeth for a protocol (nullptr: no protocol).
QStringList TankMethItems(const TProtBase *protocol);

} // namespace mk
