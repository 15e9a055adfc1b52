// SPDX-License-Identifier: GPL-3.0-or-later
// The hot-menu items in catalog order, with the codes they get when no feature flag is set.

#include "catalogs/CatalogTables.h"

namespace mk::catalog_data {

// clang-format off
const std::array<MenuItemRow, kMenuItemRowCount> kMenuItemRows = {{
    {"VirtLockMenu", "Вирт. замок Вкл/Откл", 0}, // 1
    {"FullTankMenu", "Заправка до полн.", 0}, // 2
    {"ToTankMenu", "Заправлено л", 0}, // 3
    {"InTankMenu", "Теперь в баке л", 0}, // 4
    {"VentOnMenu", "Вентилятор Вкл/Откл", 0}, // 5
    {"PrognozMenu", "Прогн.проб.Экон", 0}, // 6
    {"InjTimeHHMenu", "% на впрыск", 0}, // 7
    {"ExpenseHHMenu", "% Расход", 0}, // 8
    {"CorrUOZMenu", "Поправка УОЗ", 0}, // 9
    {"EBUResetMenu", "Сброс ЭБУ", 0}, // 10
    {"CandleDryMenu", "Сушка свечей", 0}, // 11
    {"TankMethMenu", "Бак тип Расчетный/ДУТ/ДУТ ЭБУ", 0}, // 12
    {"LiqTemperLimitMenu", "Граница ТОЖ", 0}, // 13
    {"RevolutionsLimitMenu", "Граница Обор.", 0}, // 14
    {"VelocityLimitMenu", "Граница Скор.", 0}, // 15
    {"TankLimitMenu", "Ост.бака", 0}, // 16
    {"VentTempLimitMenu", "T Вкл.вент.", 0}, // 17
    {"InjTimeLimitMenu", "Впрыск/Расх %", 0}, // 18
    {"LiqTemperReadyMenu", "Прогрев ДВС", 0}, // 19
    {"Vel100Menu", "Разгон до", 0}, // 20
    {"Vel100DownMenu", "Тормож. с", 0}, // 21
    {"Exp100ArrowLimMenu", "P/100 стрелки", 0}, // 22
    {"WakeTimeMenu", "Будильник", 0}, // 23
    {"WakeActiveMenu", "Будильник Акт./Пас.", 0}, // 24
    {"Intense0Menu", "Яркость/День", 0}, // 25
    {"Intense1Menu", "Яркость/Ночь", 0}, // 26
    {"DispShowArrowMethMenu", "Динамика Сглаживать/Данные", 0}, // 27
    {"MeasParamsHistoryFlagMenu", "Обратный отсчет", 0}, // 28
    {"AlarmPermJournMenu", "Журнал предупр.", 0}, // 29
    {"SoundVolumeMenu", "Громкость", 0}, // 30
    {"FlagSoundMenu", "Откл.звук", 0}, // 31
    {"SayParamPeriodMenu", "Автоповтор", 0}, // 32
    {"apVelMenu", "Превыш.скорость", 0}, // 33
    {"AlarmVelSecNoSayMaxMenu", "Скор.прореж.", 0}, // 34
    {"apRevMenu", "Превыш.обороты", 0}, // 35
    {"apTankMenu", "Остаток бака", 0}, // 36
    {"apHoloMenu", "Гололед", 0}, // 37
    {"apEconomMenu", "Эконометр", 0}, // 38
    {"apGabarMenu", "Габариты", 0}, // 39
    {"apLightsMenu", "Ближн.Свет", 0}, // 40
    {"apTankFullMenu", "Полный бак", 0}, // 41
    {"apInjTimeMenu", "%Впрыск/расход", 0}, // 42
    {"apErrorMenu", "Неисправность", 0}, // 43
    {"apLiqTempHighMenu", "Перегрев ОЖ", 0}, // 44
    {"apLiqTempReadyMenu", "Прогрев ДВС", 0}, // 45
    {"InitTripParamsMenu", "Сброс Поездка", 1}, // 46
    {"InitReset0ParamsMenu", "Сброс Сброс1", 1}, // 47
    {"InitReset1ParamsMenu", "Сброс Cброс2", 1}, // 48
    {"InitStopParamsMenu", "Сброс Пробки", 1}, // 49
    {"InitNoStopParamsMenu", "Сброс БезПробок", 1}, // 50
    {"TripMinStopMenu", "Непрер.Поездки", 1}, // 51
    {"TripJournMenu", "Журнал поездок", 1}, // 52
    {"ContinueTripMenu", "Продолжить", 1}, // 53
    {"WriteTripMenu", "Записать", 1}, // 54
    {"WriteTrip1Menu", "   1     ММ:ЧЧ ДД.ММ", 1}, // 55
    {"WriteTrip2Menu", "   2     ММ:ЧЧ ДД.ММ", 1}, // 56
    {"WriteTrip3Menu", "   3     ММ:ЧЧ ДД.ММ", 1}, // 57
    {"WriteTrip4Menu", "   4     ММ:ЧЧ ДД.ММ", 1}, // 58
    {"WriteTrip5Menu", "   5     ММ:ЧЧ ДД.ММ", 1}, // 59
    {"WriteTrip6Menu", "   6     ММ:ЧЧ ДД.ММ", 1}, // 60
    {"WriteTrip7Menu", "   7     ММ:ЧЧ ДД.ММ", 1}, // 61
    {"WriteTrip8Menu", "   8     ММ:ЧЧ ДД.ММ", 1}, // 62
    {"WriteTrip9Menu", "   9     ММ:ЧЧ ДД.ММ", 1}, // 63
    {"WriteTrip10Menu", "  10     ММ:ЧЧ ДД.ММ", 1}, // 64
    {"WriteTrip11Menu", "  11     ММ:ЧЧ ДД.ММ", 1}, // 65
    {"WriteTrip12Menu", "  12     ММ:ЧЧ ДД.ММ", 1}, // 66
    {"WriteTrip13Menu", "  13     ММ:ЧЧ ДД.ММ", 1}, // 67
    {"WriteTrip14Menu", "  14     ММ:ЧЧ ДД.ММ", 1}, // 68
    {"WriteTrip15Menu", "  15     ММ:ЧЧ ДД.ММ", 1}, // 69
    {"WriteTrip16Menu", "  16     ММ:ЧЧ ДД.ММ", 1}, // 70
    {"WriteTrip17Menu", "  17     ММ:ЧЧ ДД.ММ", 1}, // 71
    {"WriteTrip18Menu", "  18     ММ:ЧЧ ДД.ММ", 1}, // 72
    {"WriteTrip19Menu", "  19     ММ:ЧЧ ДД.ММ", 1}, // 73
    {"WriteTrip20Menu", "  20     ММ:ЧЧ ДД.ММ", 1}, // 74
    {"ViewTripMenu", "Просмотреть", 1}, // 75
    {"ViewTrip0Menu", "Пoс.     ММ:ЧЧ ДД.ММ", 1}, // 76
    {"ViewTrip1Menu", "   1     ММ:ЧЧ ДД.ММ", 1}, // 77
    {"ViewTrip2Menu", "   2     ММ:ЧЧ ДД.ММ", 1}, // 78
    {"ViewTrip3Menu", "   3     ММ:ЧЧ ДД.ММ", 1}, // 79
    {"ViewTrip4Menu", "   4     ММ:ЧЧ ДД.ММ", 1}, // 80
    {"ViewTrip5Menu", "   5     ММ:ЧЧ ДД.ММ", 1}, // 81
    {"ViewTrip6Menu", "   6     ММ:ЧЧ ДД.ММ", 1}, // 82
    {"ViewTrip7Menu", "   7     ММ:ЧЧ ДД.ММ", 1}, // 83
    {"ViewTrip8Menu", "   8     ММ:ЧЧ ДД.ММ", 1}, // 84
    {"ViewTrip9Menu", "   9     ММ:ЧЧ ДД.ММ", 1}, // 85
    {"ViewTrip10Menu", "  10     ММ:ЧЧ ДД.ММ", 1}, // 86
    {"ViewTrip11Menu", "  11     ММ:ЧЧ ДД.ММ", 1}, // 87
    {"ViewTrip12Menu", "  12     ММ:ЧЧ ДД.ММ", 1}, // 88
    {"ViewTrip13Menu", "  13     ММ:ЧЧ ДД.ММ", 1}, // 89
    {"ViewTrip14Menu", "  14     ММ:ЧЧ ДД.ММ", 1}, // 90
    {"ViewTrip15Menu", "  15     ММ:ЧЧ ДД.ММ", 1}, // 91
    {"ViewTrip16Menu", "  16     ММ:ЧЧ ДД.ММ", 1}, // 92
    {"ViewTrip17Menu", "  17     ММ:ЧЧ ДД.ММ", 1}, // 93
    {"ViewTrip18Menu", "  18     ММ:ЧЧ ДД.ММ", 1}, // 94
    {"ViewTrip19Menu", "  19     ММ:ЧЧ ДД.ММ", 1}, // 95
    {"ViewTrip20Menu", "  20     ММ:ЧЧ ДД.ММ", 1}, // 96
    {"TankJournMenu", "Журнал заправок", 1}, // 97
    {"ViewTank0Menu", "Пoс.     ММ:ЧЧ ДД.ММ", 1}, // 98
    {"ViewTank1Menu", "   1     ММ:ЧЧ ДД.ММ", 1}, // 99
    {"ViewTank2Menu", "   2     ММ:ЧЧ ДД.ММ", 1}, // 100
    {"ViewTank3Menu", "   3     ММ:ЧЧ ДД.ММ", 1}, // 101
    {"ViewTank4Menu", "   4     ММ:ЧЧ ДД.ММ", 1}, // 102
    {"ViewTank5Menu", "   5     ММ:ЧЧ ДД.ММ", 1}, // 103
    {"ViewTank6Menu", "   6     ММ:ЧЧ ДД.ММ", 1}, // 104
    {"ViewTank7Menu", "   7     ММ:ЧЧ ДД.ММ", 1}, // 105
    {"ViewTank8Menu", "   8     ММ:ЧЧ ДД.ММ", 1}, // 106
    {"ViewTank9Menu", "   9     ММ:ЧЧ ДД.ММ", 1}, // 107
    {"ViewTank0Menu", "  10     ММ:ЧЧ ДД.ММ", 1}, // 108: the device names slot 10 like slot 0
    {"ViewTank11Menu", "  11     ММ:ЧЧ ДД.ММ", 1}, // 109
    {"ViewTank12Menu", "  12     ММ:ЧЧ ДД.ММ", 1}, // 110
    {"ViewTank13Menu", "  13     ММ:ЧЧ ДД.ММ", 1}, // 111
    {"ViewTank14Menu", "  14     ММ:ЧЧ ДД.ММ", 1}, // 112
    {"ViewTank15Menu", "  15     ММ:ЧЧ ДД.ММ", 1}, // 113
    {"ViewTank16Menu", "  16     ММ:ЧЧ ДД.ММ", 1}, // 114
    {"ViewTank17Menu", "  17     ММ:ЧЧ ДД.ММ", 1}, // 115
    {"ViewTank18Menu", "  18     ММ:ЧЧ ДД.ММ", 1}, // 116
    {"ViewTank19Menu", "  19     ММ:ЧЧ ДД.ММ", 1}, // 117
    {"ViewTank20Menu", "  20     ММ:ЧЧ ДД.ММ", 1}, // 118
    {"TaxStartFinishMenu", "Включить/Выключить такс-р", 2}, // 119
    {"TaxTarifDNMenu", "Тариф День/Ночь", 2}, // 120
    {"TaxTarifNumMenu", "Тариф 1/2/3/4/5", 2}, // 121
    {"TaxClearAllSumMenu", "Всего", 2}, // 122
    {"TaxFlagMinMenu", "Подача/Минималка", 2}, // 123
    {"TaxTarifStartMenu", "Стоим.подачи", 2}, // 124
    {"TaxTarifSumMinMenu", "Стоим.миним.", 2}, // 125
    {"TaxTimeTarif0DayMenu", "Тар.1.Д 1мин", 2}, // 126
    {"TaxPathTarif0DayMenu", "Тар.1 Д 1км", 2}, // 127
    {"TaxTimeTarif0NightMenu", "Тар.1 Н 1мин", 2}, // 128
    {"TaxPathTarif0NightMenu", "Тар.1 Н 1км", 2}, // 129
    {"TaxTimeTarif1DayMenu", "Тар.2.Д 1мин", 2}, // 130
    {"TaxPathTarif1DayMenu", "Тар.2 Д 1км", 2}, // 131
    {"TaxTimeTarif1NightMenu", "Тар.2 Н 1мин", 2}, // 132
    {"TaxPathTarif1NightMenu", "Тар.2 Н 1км", 2}, // 133
    {"TaxTimeTarif2DayMenu", "Тар.3.Д 1мин", 2}, // 134
    {"TaxPathTarif2DayMenu", "Тар.3 Д 1км", 2}, // 135
    {"TaxTimeTarif2NightMenu", "Тар.3 Н 1мин", 2}, // 136
    {"TaxPathTarif2NightMenu", "Тар.3 Н 1км", 2}, // 137
    {"TaxTimeTarif3DayMenu", "Тар.4.Д 1мин", 2}, // 138
    {"TaxPathTarif3DayMenu", "Тар.4 Д 1км", 2}, // 139
    {"TaxTimeTarif3NightMenu", "Тар.4 Н 1мин", 2}, // 140
    {"TaxPathTarif3NightMenu", "Тар.4 Н 1км", 2}, // 141
    {"TaxTimeTarif4DayMenu", "Тар.5.Д 1мин", 2}, // 142
    {"TaxPathTarif4DayMenu", "Тар.5 Д 1км", 2}, // 143
    {"TaxTimeTarif4NightMenu", "Тар.5 Н 1мин", 2}, // 144
    {"TaxPathTarif4NightMenu", "Тар.5 Н 1км", 2}, // 145
    {"ParkOffMenu", "Кратковр.откл.", 3}, // 146
    {"ParkUseMenu_0", "Парктроник Вкл/Откл", 3}, // 147
    {"ParkSenseMenu_0", "Чувствит.", 3}, // 148
    {"ParkSpeedMenu_0", "Быстродействие", 3}, // 149
    {"ParkBeepTypeMenu", "Тип озвуч.", 3}, // 150
    {"ParkAlwaysOnMenu", "Отключать Авто/Нет", 3}, // 151
    {"ParkUseMenu_1", "П.Парктроник Вкл/Откл", 3}, // 152
    {"ParkForwConstOffMenu", "Режим работы Вкл/Вкл3с/ДвЗад", 3}, // 153
    {"ParkSenseMenu_1", "П.Чувствит.", 3}, // 154
    {"ParkSpeedMenu_1", "П.Быстродействие", 3}, // 155
    {"InitResetOnlyGasParamsMenu", "Сброс Газ", 0}, // 156
    {"IntenseDayTimeMenu", "День", 0}, // 157
    {"IntenseNightTimeMenu", "Ночь", 0}, // 158
    {"ErrorsMenu", "Ошибки ЭБУ", 0}, // 159
    {"BlocksABS9Menu", "ABS 8/9", 0}, // 160
    {"BlocksElPakNMenu", "Электропак.Норма", 0}, // 161
    {"BlocksElPakUAZMenu", "Электропакет УАЗ", 0}, // 162
    {"BlocksClimatUAZMenu", "Пульт клим.уст.УАЗ", 0}, // 163
    {"EBUInitMenu", "Инициализация ЭБУ", 0}, // 164
    {"BlocksABS9UMenu", "ABS 9У", 0}, // 165
    {"InitResetOnlyOilParamsMenu", "Сброс Бенз", 0}, // 166
    {"BlocksBoschESP9Menu", "Bosch ESP9", 0}, // 167
    {"BlocksBoschESP91Menu", "Bosch ABS/ESP9", 0}, // 168
    {"BlocksBoschABSESP9Menu", "Bosch ESP9.1", 0}, // 169
}};
// clang-format on

} // namespace mk::catalog_data
