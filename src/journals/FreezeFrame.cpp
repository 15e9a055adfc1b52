// SPDX-License-Identifier: GPL-3.0-or-later
#include "journals/FreezeFrame.h"

#include "journals/ErrorCodeText.h"

namespace mk {

const QList<FrameValueDef> &frameValueDefs()
{
    static const QList<FrameValueDef> kDefs = {
        {12, 3, "Сост. топливной системы 1", "Сост. топливной системы 2", FrameScale::FuelSystem},
        {14, 4, "Нагрузка на двигатель, %", "", FrameScale::Whole},
        {16, 5, "ТОЖ, С", "", FrameScale::Whole},
        {18, 6, "Краткосрочная корр.подачи топл.Б1, %", "", FrameScale::Whole},
        {20, 8, "Краткосрочная корр.подачи топл.Б2, %", "", FrameScale::Whole},
        {22, 7, "Долгосрочная корр.продачи топл.Б1, %", "", FrameScale::Whole},
        {24, 9, "Долгосрочная корр.продачи топл.Б2, %", "", FrameScale::Whole},
        {26, 10, "Давление топлива, кПа", "", FrameScale::Tenths},
        {28, 11, "Давление во впускном коллекторе, кПа", "", FrameScale::Whole},
        {32, 12, "Обороты/мин", "", FrameScale::Whole},
        {30, 13, "Скорость, км/час", "", FrameScale::Whole},
        {34, 14, "Угол опережения зажигания, ВМТ", "", FrameScale::Tenths},
        {36, 15, "Температура всасываемого воздуха, С", "", FrameScale::Whole},
        {38, 16, "Массовый расход воздуха, кг/час", "", FrameScale::Tenths},
        {40, 17, "Дроссель, %", "", FrameScale::Whole},
        {42, 18, "Состояние вторичного воздуха", "", FrameScale::SecondaryAir},
        {44, 20, "Датчик кислорода 1, В", "", FrameScale::Hundredths},
        {46, 21, "Датчик кислорода 2, В", "", FrameScale::Hundredths},
        {48, 31, "Время с момента запуска двигателя, с", "", FrameScale::Whole},
        {50, 33, "Пробег с вкл. лампой неиспр., км", "", FrameScale::Whole},
        {52, 34, "Давление в топл.рампе отн.вакуума, кПа", "", FrameScale::Whole},
        {54, 35, "Давление в топл.рампе (выс.диап.), кПа", "", FrameScale::Tenths},
        {56, 44, "Желаемый расход системы EGR, %", "", FrameScale::Whole},
        {58, 45, "Ошибка регул.расхода сис.EGR, %", "", FrameScale::Whole},
        {60, 46, "Жел.уровень продувки паров топлива, %", "", FrameScale::Whole},
        {62, 48, "Число прогревов двиг.с момента сброса ошибок", "", FrameScale::Whole},
        {64, 49, "Пробег с момента сброса ошибок, км", "", FrameScale::Whole},
        {66, 50, "Давление паров топ.в системе продувки", "", FrameScale::Whole},
        {68, 51, "Атмосферное давление, кПа", "", FrameScale::Whole},
        {70, 60, "Температура катализатора B1 S1, С", "", FrameScale::Whole},
        {72, 61, "Температура катализатора B2 S1, С", "", FrameScale::Whole},
        {74, 62, "Температура катализатора B1 S2, С", "", FrameScale::Whole},
        {76, 63, "Температура катализатора B2 S2, С", "", FrameScale::Whole},
        {78, 66, "Напряжение питания БУ, В", "", FrameScale::Tenths},
        {80, 68, "Желаемое значение лямбда", "", FrameScale::Hundredths},
        {82, 69, "Отн.положение дросс.заслонки, %", "", FrameScale::Whole},
        {84, 70, "Температура внешнего воздуха, C", "", FrameScale::Whole},
        {86, 76, "Жел. положение привода дросселя, %", "", FrameScale::Whole},
        {88, 77, "Время с момента вкл.лампы неиспр., мин", "", FrameScale::Whole},
        {90, 78, "Время с момента сброса ошибок, мин", "", FrameScale::Whole},
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
