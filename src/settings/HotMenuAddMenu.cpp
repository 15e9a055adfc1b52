// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/HotMenuAddMenu.h"

#include <QStringList>

namespace mk {

namespace {

HotMenuAddEntry item(const QString &ident) { return {ident, {}, {}}; }

HotMenuAddEntry subMenu(const QString &caption, std::vector<HotMenuAddEntry> children)
{
    return {QString(), caption, std::move(children)};
}

std::vector<HotMenuAddEntry> items(const QStringList &idents)
{
    std::vector<HotMenuAddEntry> result;
    for (const QString &ident : idents)
        result.push_back(item(ident));
    return result;
}

void append(std::vector<HotMenuAddEntry> &to, const std::vector<HotMenuAddEntry> &more)
{
    to.insert(to.end(), more.begin(), more.end());
}

// prefix + n + suffix for n = first..last: the numbered journal slots.
std::vector<HotMenuAddEntry> numbered(const QString &prefix, int first, int last, const QString &suffix)
{
    std::vector<HotMenuAddEntry> result;
    for (int n = first; n <= last; ++n)
        result.push_back(item(prefix + QString::number(n) + suffix));
    return result;
}

std::vector<HotMenuAddEntry> parameterEntries(bool noAirTempInput)
{
    std::vector<HotMenuAddEntry> sources = items({QStringLiteral("TankMethMenu")});
    if (noAirTempInput)
        sources.push_back(item(QStringLiteral("LightsOnMenu")));
    append(sources, items({QStringLiteral("IntenseDayTimeMenu"), QStringLiteral("IntenseNightTimeMenu")}));

    std::vector<HotMenuAddEntry> display = items({QStringLiteral("Intense0Menu"), QStringLiteral("Intense1Menu")});
    display.push_back(subMenu(QStringLiteral("Стрелочные"), items({QStringLiteral("DispShowArrowMethMenu")})));
    display.push_back(subMenu(QStringLiteral("Графические"), items({QStringLiteral("MeasParamsHistoryFlagMenu")})));

    std::vector<HotMenuAddEntry> voice = items({
        QStringLiteral("AlarmPermJournMenu"),
        QStringLiteral("SoundVolumeMenu"),
        QStringLiteral("FlagSoundMenu"),
        QStringLiteral("SayParamPeriodMenu"),
        QStringLiteral("apVelMenu"),
        QStringLiteral("AlarmVelSecNoSayMaxMenu"),
        QStringLiteral("apRevMenu"),
        QStringLiteral("apTankMenu"),
    });
    if (!noAirTempInput)
        voice.push_back(item(QStringLiteral("apHoloMenu")));
    append(voice, items({
                      QStringLiteral("apEconomMenu"),
                      QStringLiteral("apGabarMenu"),
                      QStringLiteral("apLightsMenu"),
                      QStringLiteral("apTankFullMenu"),
                      QStringLiteral("apInjTimeMenu"),
                      QStringLiteral("apErrorMenu"),
                      QStringLiteral("apLiqTempHighMenu"),
                      QStringLiteral("apLiqTempReadyMenu"),
                  }));

    return {
        subMenu(
            QStringLiteral("Управление"),
            items({QStringLiteral("VirtLockMenu"), QStringLiteral("FullTankMenu"), QStringLiteral("ToTankMenu"),
                   QStringLiteral("InTankMenu"), QStringLiteral("VentOnMenu"), QStringLiteral("PrognozMenu"),
                   QStringLiteral("InjTimeHHMenu"), QStringLiteral("ExpenseHHMenu"), QStringLiteral("CorrUOZMenu"),
                   QStringLiteral("CandleDryMenu"), QStringLiteral("EBUInitMenu"), QStringLiteral("EBUResetMenu")})),
        subMenu(QStringLiteral("Источники"), sources),
        subMenu(QStringLiteral("Границы"),
                items({QStringLiteral("LiqTemperLimitMenu"), QStringLiteral("RevolutionsLimitMenu"),
                       QStringLiteral("VelocityLimitMenu"), QStringLiteral("TankLimitMenu"),
                       QStringLiteral("VentTempLimitMenu"), QStringLiteral("InjTimeLimitMenu"),
                       QStringLiteral("LiqTemperReadyMenu"), QStringLiteral("Vel100Menu"),
                       QStringLiteral("Vel100DownMenu"), QStringLiteral("Exp100ArrowLimMenu")})),
        subMenu(QStringLiteral("Время"), items({QStringLiteral("WakeTimeMenu"), QStringLiteral("WakeActiveMenu")})),
        subMenu(QStringLiteral("Дисплей"), display),
        subMenu(QStringLiteral("Озвуч.сообщения"), voice),
        subMenu(QStringLiteral("TO"),
                items({QStringLiteral("ErrorsMenu"), QStringLiteral("BlocksABS9Menu"),
                       QStringLiteral("BlocksElPakNMenu"), QStringLiteral("BlocksElPakUAZMenu"),
                       QStringLiteral("BlocksClimatUAZMenu"), QStringLiteral("BlocksABS9UMenu")})),
    };
}

std::vector<HotMenuAddEntry> averagesEntries()
{
    std::vector<HotMenuAddEntry> result = items({
        QStringLiteral("InitTripParamsMenu"),
        QStringLiteral("InitReset0ParamsMenu"),
        QStringLiteral("InitReset1ParamsMenu"),
        QStringLiteral("InitStopParamsMenu"),
        QStringLiteral("InitNoStopParamsMenu"),
        QStringLiteral("InitResetOnlyParamsMenu"),
        QStringLiteral("TripMinStopMenu"),
        QStringLiteral("TripJournMenu"),
    });
    std::vector<HotMenuAddEntry> trips = items({QStringLiteral("ContinueTripMenu"), QStringLiteral("WriteTripMenu")});
    trips.push_back(
        subMenu(QStringLiteral("Записать"), numbered(QStringLiteral("WriteTrip"), 1, 20, QStringLiteral("Menu"))));
    trips.push_back(item(QStringLiteral("ViewTripMenu")));
    trips.push_back(
        subMenu(QStringLiteral("Просмотреть"), numbered(QStringLiteral("ViewTrip"), 0, 20, QStringLiteral("Menu"))));
    result.push_back(subMenu(QStringLiteral("Журнал поездок"), trips));
    result.push_back(item(QStringLiteral("TankJournMenu")));
    result.push_back(subMenu(QStringLiteral("Журнал заправок"),
                             numbered(QStringLiteral("ViewTank"), 0, 20, QStringLiteral("Menu"))));
    return result;
}

std::vector<HotMenuAddEntry> taximeterEntries()
{
    std::vector<HotMenuAddEntry> result = items({
        QStringLiteral("TaxStartFinishMenu"),
        QStringLiteral("TaxTarifDNMenu"),
        QStringLiteral("TaxTarifNumMenu"),
        QStringLiteral("TaxClearAllSumMenu"),
        QStringLiteral("TaxFlagMinMenu"),
        QStringLiteral("TaxTarifStartMenu"),
        QStringLiteral("TaxTarifSumMinMenu"),
    });
    for (int tariff = 0; tariff <= 4; ++tariff) {
        const QString n = QString::number(tariff);
        append(result,
               items({QStringLiteral("TaxTimeTarif%1DayMenu").arg(n), QStringLiteral("TaxPathTarif%1DayMenu").arg(n),
                      QStringLiteral("TaxTimeTarif%1NightMenu").arg(n),
                      QStringLiteral("TaxPathTarif%1NightMenu").arg(n)}));
    }
    return result;
}

std::vector<HotMenuAddEntry> parkingEntries()
{
    return {
        subMenu(QStringLiteral("Парковка"),
                items({QStringLiteral("ParkOffMenu"), QStringLiteral("ParkUseMenu_0"),
                       QStringLiteral("ParkSenseMenu_0"), QStringLiteral("ParkSpeedMenu_0"),
                       QStringLiteral("ParkBeepTypeMenu"), QStringLiteral("ParkAlwaysOnMenu")})),
        subMenu(QStringLiteral("Парковка вперед"),
                items({QStringLiteral("ParkUseMenu_1"), QStringLiteral("ParkForwConstOffMenu"),
                       QStringLiteral("ParkSenseMenu_1"), QStringLiteral("ParkSpeedMenu_1")})),
    };
}

} // namespace

std::vector<HotMenuAddEntry> hotMenuAddEntries(int list, bool noAirTempInput)
{
    switch (list) {
    case 0: return parameterEntries(noAirTempInput);
    case 1: return averagesEntries();
    case 2: return taximeterEntries();
    case 3: return parkingEntries();
    default: return {};
    }
}

} // namespace mk
