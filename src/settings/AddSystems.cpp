// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/AddSystems.h"

#include <iterator>

namespace mk {

namespace {

const AddSystem kSystemsCanExtended[] = {
    {93, QStringLiteral("Доп.устройства")},
};
const AddSystem kSystemsAlways[] = {
    {8, QStringLiteral("Иммо АПС-4")},
    {10, QStringLiteral("Иммо АПС-6")},
    {11, QStringLiteral("Иммо АПС-6.1Люкс")},
    {12, QStringLiteral("Отопитель/Климат")},
    {13, QStringLiteral("ЭМУР Калуга")},
    {14, QStringLiteral("ЭМУР Махачкала")},
    {15, QStringLiteral("ЭМУР Mando")},
    {16, QStringLiteral("СНПБ (подушки)")},
    {17, QStringLiteral("Электропак.Приора")},
    {18, QStringLiteral("Электропак.Норма")},
    {19, QStringLiteral("Электропак.Люкс")},
    {20, QStringLiteral("МДВ Калина Люкс")},
    {21, QStringLiteral("ABS 5.3")},
    {22, QStringLiteral("ABS 8/9")},
    {23, QStringLiteral("ABS 9У")},
    {24, QStringLiteral("Бл.Упр.Стеклоочист.")},
    {26, QStringLiteral("СНПБ Ш-Н(подушки)")},
    {31, QStringLiteral("Электропакет УАЗ")},
    {32, QStringLiteral("Пульт клим.уст.УАЗ")},
    {34, QStringLiteral("UAZ AWD Dymos")},
    {35, QStringLiteral("UAZ AWD Dymos2")},
    {51, QStringLiteral("ABS Largus")},
    {52, QStringLiteral("ЭП Largus")},
    {66, QStringLiteral("Электропак. УАЗ 1")},
    {67, QStringLiteral("Под.Нива TRW")},
    {68, QStringLiteral("Под.Нива Siemens")},
    {116, QStringLiteral("Duster ABS 1")},
    {117, QStringLiteral("Duster подушки 1")},
    {118, QStringLiteral("Duster ЭМУР 1")},
};
const AddSystem kSystemsCan[] = {
    {25, QStringLiteral("Таката (подушки)")},    {27, QStringLiteral("Bosch ESP9")},
    {28, QStringLiteral("Bosch ABS/ESP9")},      {29, QStringLiteral("АКПП Jatco AY-K3")},
    {30, QStringLiteral("Электропакет Гранта")}, {36, QStringLiteral("Клим.уст. Visteon")},
    {37, QStringLiteral("АКПП AMT ZF 2180")},    {38, QStringLiteral("ABS Ford")},
    {39, QStringLiteral("АКПП Ford")},           {40, QStringLiteral("HEC (приборка) Ford")},
    {41, QStringLiteral("ЭГУР Ford")},           {42, QStringLiteral("HCM (фары) Ford")},
    {43, QStringLiteral("FACM (впрыск) Ford")},  {44, QStringLiteral("AWD Ford")},
    {45, QStringLiteral("АКПП Niss2")},          {46, QStringLiteral("CVT Outlander")},
    {47, QStringLiteral("АКПП Pajero")},         {48, QStringLiteral("АКПП Captiva")},
    {49, QStringLiteral("АКПП SsangYong")},      {50, QStringLiteral("АКПП Hover H5")},
    {53, QStringLiteral("АКПП Niss3")},          {54, QStringLiteral("АКПП Outl 3.0")},
    {55, QStringLiteral("Веста ABS9")},          {56, QStringLiteral("Веста под.Takata")},
    {57, QStringLiteral("Веста приб.панель")},   {58, QStringLiteral("Веста ЭМУР")},
    {59, QStringLiteral("Веста ЭП BCM")},        {60, QStringLiteral("Веста ЭП EMM")},
    {61, QStringLiteral("X-Ray ABS 9.1")},       {62, QStringLiteral("X-Ray EPS")},
    {63, QStringLiteral("X-Ray приб.панель")},   {64, QStringLiteral("X-Ray ЭП BCM")},
    {65, QStringLiteral("X-Ray подушки")},       {69, QStringLiteral("АКПП Hyund/Kia")},
    {71, QStringLiteral("АКПП Mazda1")},         {72, QStringLiteral("АКПП Mazda23")},
    {73, QStringLiteral("АКПП Suzuki1")},        {74, QStringLiteral("CVT Outlander16")},
    {75, QStringLiteral("АКПП Astra")},          {76, QStringLiteral("Климат.Valeo")},
    {77, QStringLiteral("Bosch ESP9.1")},
};
const AddSystem kSystemsHybrid[] = {
    {78, QStringLiteral("HV ECU Estima")},   {79, QStringLiteral("HV Battery Prius2")},
    {80, QStringLiteral("HV ECU Prius3")},   {81, QStringLiteral("Климат Тойота")},
    {82, QStringLiteral("HV ECU Aqua")},     {84, QStringLiteral("HV ECU RX450H")},
    {85, QStringLiteral("HV ECU ES300H")},   {115, QStringLiteral("HV ECU RX400H")},
    {119, QStringLiteral("HV ECU Camry")},   {120, QStringLiteral("HV ECU Sai")},
    {121, QStringLiteral("HV ECU Harrier")}, {130, QStringLiteral("Сист.рекупер.1")},
    {131, QStringLiteral("Сист.рекупер.2")},
};
const AddSystem kSystemsCanLate[] = {
    {83, QStringLiteral("Веста Эра-Глонас")},
    {86, QStringLiteral("АКПП Niss4")},
    {87, QStringLiteral("АКПП Niss1")},
    {88, QStringLiteral("АКПП Chery QR019")},
    {89, QStringLiteral("АКПП Kuga")},
    {90, QStringLiteral("АКПП Niss5")},
    {91, QStringLiteral("АКПП Suzuki2")},
    {92, QStringLiteral("АКПП Suzuki3")},
    {94, QStringLiteral("Duster Упр.впрыском")},
    {95, QStringLiteral("Duster ABS")},
    {96, QStringLiteral("Duster приборка")},
    {97, QStringLiteral("Duster ЦЭКБС")},
    {98, QStringLiteral("Duster подушки")},
    {99, QStringLiteral("Duster климат")},
    {100, QStringLiteral("Duster АКПП")},
    {101, QStringLiteral("Duster ЭМУР")},
    {102, QStringLiteral("Duster коммутация")},
    {103, QStringLiteral("Duster полн.привод")},
    {104, QStringLiteral("Duster Радио")},
    {105, QStringLiteral("Duster телематика")},
    {106, QStringLiteral("Duster HandsFree")},
    {107, QStringLiteral("Duster Multimedia")},
    {108, QStringLiteral("CVT Patriot")},
    {109, QStringLiteral("АКПП Hund Creta 15")},
    {110, QStringLiteral("АКПП A13 Bonus/Very")},
    {111, QStringLiteral("АКПП Chery A16 Arr 3")},
    {112, QStringLiteral("CVT Geely Emgr EC7")},
    {113, QStringLiteral("CVT Punch VT2")},
    {114, QStringLiteral("CVT TCU")},
    {122, QStringLiteral("Creta конд.")},
    {123, QStringLiteral("Creta ус.руля")},
    {124, QStringLiteral("Creta ABS")},
    {125, QStringLiteral("Creta подушки")},
    {126, QStringLiteral("Creta ЭП BCM")},
    {127, QStringLiteral("Creta приборка")},
    {128, QStringLiteral("Creta смарт-ключ")},
    {129, QStringLiteral("Creta соед.блок")},
};

template<size_t N>
void appendSystems(std::vector<AddSystem> &to, const AddSystem (&group)[N])
{
    to.insert(to.end(), std::begin(group), std::end(group));
}

int bitmapByte(quint8 code) { return kSystemBitmapOffset + code / 8; }
quint8 bitMask(quint8 code) { return quint8(1u << (code % 8)); }

constexpr quint8 kShowMask = 0x03;
constexpr quint8 kShowListBit = 0x80;

} // namespace

std::vector<AddSystem> buildAddSystemList(const AddSystemsScope &scope)
{
    std::vector<AddSystem> list;
    if (scope.hasCanProtocol && scope.extendedSystems)
        appendSystems(list, kSystemsCanExtended);
    appendSystems(list, kSystemsAlways);
    if (scope.hasCanProtocol) {
        appendSystems(list, kSystemsCan);
        if (scope.hybridProtocol)
            appendSystems(list, kSystemsHybrid);
        appendSystems(list, kSystemsCanLate);
    }
    return list;
}

bool isSystemSelected(const Record &s4, quint8 code) { return (s4.u8(bitmapByte(code)) & bitMask(code)) != 0; }

void setSystemSelected(Record &s4, quint8 code, bool selected)
{
    const quint8 byte = s4.u8(bitmapByte(code));
    s4.setU8(bitmapByte(code), selected ? quint8(byte | bitMask(code)) : quint8(byte & ~bitMask(code)));
}

void toggleSystem(Record &s4, quint8 code) { setSystemSelected(s4, code, !isSystemSelected(s4, code)); }

int blocksShow(const Record &s4) { return s4.u8(kSystemBitmapOffset) & kShowMask; }

int blocksShowList(const Record &s4) { return s4.u8(kSystemBitmapOffset) >> 7; }

void setBlocksShow(Record &s4, int item)
{
    const quint8 byte = s4.u8(kSystemBitmapOffset);
    s4.setU8(kSystemBitmapOffset, quint8((byte & kShowListBit) | (item & kShowMask)));
}

void setBlocksShowList(Record &s4, int item)
{
    const quint8 byte = s4.u8(kSystemBitmapOffset);
    s4.setU8(kSystemBitmapOffset, quint8(((item & 1) << 7) | (byte & kShowMask)));
}

void selectAllSystems(Record &s4, const std::vector<AddSystem> &list)
{
    for (const AddSystem &system : list)
        setSystemSelected(s4, system.code, true);
}

void selectProtocolSystems(Record &s4, const std::vector<AddSystem> &list,
                           const std::function<bool(quint8)> &protocolPolls)
{
    for (const AddSystem &system : list)
        setSystemSelected(s4, system.code, protocolPolls && protocolPolls(system.code));
}

void chooseBlocksShow(Record &s4, int item, const std::vector<AddSystem> &list,
                      const std::function<bool(quint8)> &protocolPolls)
{
    if (item == 0)
        selectAllSystems(s4, list);
    else if (item == 1)
        selectProtocolSystems(s4, list, protocolPolls);
    setBlocksShow(s4, item);
}

} // namespace mk
