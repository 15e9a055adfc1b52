// SPDX-License-Identifier: GPL-3.0-or-later
#include "journals/FreezeFrame.h"

#include "journals/ErrorCodeText.h"

namespace mk {

FrameValueDef::FrameValueDef(const FrameValueSlot &slot, const char *caption, const char *secondCaption,
                             FrameScale scale)
    : entryOffset(slot.entryOffset), bit(slot.bit), caption(caption), secondCaption(secondCaption), scale(scale)
{}

const QList<FrameValueDef> &frameValueDefs()
{
    static const QList<FrameValueDef> kDefs = {
        {frame::kFuelSystem, "Сост. топливной системы 1", "Сост. топливной системы 2", FrameScale::FuelSystem},
        {frame::kEngineLoad, "Нагрузка на двигатель, %", "", FrameScale::Whole},
        {frame::kCoolantTemp, "ТОЖ, С", "", FrameScale::Whole},
        {frame::kShortTrimB1, "Краткосрочная корр.подачи топл.Б1, %", "", FrameScale::Whole},
        {frame::kShortTrimB2, "Краткосрочная корр.подачи топл.Б2, %", "", FrameScale::Whole},
        {frame::kLongTrimB1, "Долгосрочная корр.продачи топл.Б1, %", "", FrameScale::Whole},
        {frame::kLongTrimB2, "Долгосрочная корр.продачи топл.Б2, %", "", FrameScale::Whole},
        {frame::kFuelPressure, "Давление топлива, кПа", "", FrameScale::Tenths},
        {frame::kIntakePressure, "Давление во впускном коллекторе, кПа", "", FrameScale::Whole},
        {frame::kRevolutions, "Обороты/мин", "", FrameScale::Whole},
        {frame::kSpeed, "Скорость, км/час", "", FrameScale::Whole},
        {frame::kIgnitionAdvance, "Угол опережения зажигания, ВМТ", "", FrameScale::Tenths},
        {frame::kIntakeAirTemp, "Температура всасываемого воздуха, С", "", FrameScale::Whole},
        {frame::kAirFlow, "Массовый расход воздуха, кг/час", "", FrameScale::Tenths},
        {frame::kThrottle, "Дроссель, %", "", FrameScale::Whole},
        {frame::kSecondaryAir, "Состояние вторичного воздуха", "", FrameScale::SecondaryAir},
        {frame::kOxygenSensor1, "Датчик кислорода 1, В", "", FrameScale::Hundredths},
        {frame::kOxygenSensor2, "Датчик кислорода 2, В", "", FrameScale::Hundredths},
        {frame::kRunTime, "Время с момента запуска двигателя, с", "", FrameScale::Whole},
        {frame::kDistanceWithLamp, "Пробег с вкл. лампой неиспр., км", "", FrameScale::Whole},
        {frame::kRailPressureVacuum, "Давление в топл.рампе отн.вакуума, кПа", "", FrameScale::Whole},
        {frame::kRailPressure, "Давление в топл.рампе (выс.диап.), кПа", "", FrameScale::Tenths},
        {frame::kEgrCommanded, "Желаемый расход системы EGR, %", "", FrameScale::Whole},
        {frame::kEgrError, "Ошибка регул.расхода сис.EGR, %", "", FrameScale::Whole},
        {frame::kEvapPurge, "Жел.уровень продувки паров топлива, %", "", FrameScale::Whole},
        {frame::kWarmUps, "Число прогревов двиг.с момента сброса ошибок", "", FrameScale::Whole},
        {frame::kDistanceSinceClear, "Пробег с момента сброса ошибок, км", "", FrameScale::Whole},
        {frame::kEvapPressure, "Давление паров топ.в системе продувки", "", FrameScale::Whole},
        {frame::kBarometricPressure, "Атмосферное давление, кПа", "", FrameScale::Whole},
        {frame::kCatalystB1S1, "Температура катализатора B1 S1, С", "", FrameScale::Whole},
        {frame::kCatalystB2S1, "Температура катализатора B2 S1, С", "", FrameScale::Whole},
        {frame::kCatalystB1S2, "Температура катализатора B1 S2, С", "", FrameScale::Whole},
        {frame::kCatalystB2S2, "Температура катализатора B2 S2, С", "", FrameScale::Whole},
        {frame::kModuleVoltage, "Напряжение питания БУ, В", "", FrameScale::Tenths},
        {frame::kLambdaCommanded, "Желаемое значение лямбда", "", FrameScale::Hundredths},
        {frame::kRelativeThrottle, "Отн.положение дросс.заслонки, %", "", FrameScale::Whole},
        {frame::kAmbientAirTemp, "Температура внешнего воздуха, C", "", FrameScale::Whole},
        {frame::kThrottleActuator, "Жел. положение привода дросселя, %", "", FrameScale::Whole},
        {frame::kTimeWithLamp, "Время с момента вкл.лампы неиспр., мин", "", FrameScale::Whole},
        {frame::kTimeSinceClear, "Время с момента сброса ошибок, мин", "", FrameScale::Whole},
    };
    return kDefs;
}

QString fuelSystemText(int state)
{
    switch (state) {
    case 1: return QStringLiteral("Разомкнута");
    case 2: return QStringLiteral("Замкнута");
    case 4: return QStringLiteral("Разомк.(Раз/Тор)");
    case 8: return QStringLiteral("Разомк.(Ошибка)");
    case 16: return QStringLiteral("Замкн.(Датчик)");
    default: return QStringLiteral("Неизвестно");
    }
}

QString secondaryAirText(int state)
{
    switch (state) {
    case 1: return QStringLiteral("В катализатор");
    case 2: return QStringLiteral("Из катализатора");
    case 4: return QStringLiteral("Выключено");
    default: return QStringLiteral("Неизвестно");
    }
}

namespace {

QString scaled(qint16 value, FrameScale scale)
{
    switch (scale) {
    case FrameScale::Tenths: return QString::number(value / 10.0, 'f', 1);
    case FrameScale::Hundredths: return QString::number(value / 100.0, 'f', 2);
    default: return QString::number(value);
    }
}

} // namespace

QList<QStringList> freezeFrameRows(const Record &s12, int entryIndex)
{
    return freezeFrameRows(errorEntry(s12, entryIndex), s12.raw(kSupportedBitmapOffset, kSupportedBitmapSize));
}

QList<QStringList> freezeFrameRows(const ErrorEntry &entry, const QByteArray &supported)
{
    QList<QStringList> rows;
    if (entry.frameCode == 0)
        return rows;
    // Value number p is bit 7 - (p - 1) mod 8 of byte (p - 1) div 8.
    const auto isSupported = [&](int p) {
        const int byte = (p - 1) / 8;
        return p >= 1 && byte < supported.size() && ((quint8(supported[byte]) >> (7 - (p - 1) % 8)) & 1) != 0;
    };
    rows.append({QStringLiteral("Код ошибки"), formatErrorCode(entry.frameCode, 0)});
    for (const FrameValueDef &def : frameValueDefs()) {
        if (!isSupported(def.bit))
            continue;
        const qint16 value = entry.valueAtOffset(def.entryOffset);
        const QString caption = QString::fromUtf8(def.caption);
        switch (def.scale) {
        case FrameScale::FuelSystem:
            rows.append({caption, fuelSystemText(quint16(value) >> 8)});
            rows.append({QString::fromUtf8(def.secondCaption), fuelSystemText(quint16(value) & 0xFF)});
            break;
        case FrameScale::SecondaryAir: rows.append({caption, secondaryAirText(value)}); break;
        default: rows.append({caption, scaled(value, def.scale)});
        }
    }
    return rows;
}

} // namespace mk
