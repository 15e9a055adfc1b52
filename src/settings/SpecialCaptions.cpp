// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SpecialCaptions.h"

#include "image/ColourSchemes.h"
#include "settings/HotMenuList.h"

#include <array>

namespace mk {

QString colourSchemeCaption() { return QStringLiteral("Цветовая схема"); }

QStringList colourSchemeItems()
{
    return {QStringLiteral("Схема 1"), QStringLiteral("Схема 2"), QStringLiteral("Схема 3"),
            QStringLiteral("Схема пользователя")};
}

QString paletteColourCaption(int index) { return QStringLiteral("Цвет #%1").arg(index); }

QString colourRoleCaption(int role)
{
    // In the order of the index bytes (ColourRole).
    static const std::array<const char16_t *, kRoleCount> captions = {
        u"Цвет 1",
        u"Фон 1",
        u"Цвет 2",
        u"Фон 2",
        u"Рамка",
        u"Цвет активного пункта",
        u"Фон активного пункта",
        u"Цвет номера горячего пункта",
        u"Оси / Временные метки",
        u"Фон графиков",
        u"Цвет графика 1",
        u"Цвет графика 2",
        u"Фон подписей",
        u"Фон под шкалами",
        u"Подписи цвет",
        u"Левый циферблат",
        u"Правый циферблат",
        u"Левая шкала",
        u"Правая шкала",
        u"Левая стрелка",
        u"Правая стрелка",
        u"Подписи фон",
        u"Шкала при большом расходе",
    };
    return role >= 0 && role < kRoleCount ? QString::fromUtf16(captions[size_t(role)]) : QString();
}

QString displayVariantCaption(int digits) { return QStringLiteral("Тип х%1").arg(digits); }

QString hotMenuCaption(int list)
{
    static const std::array<const char16_t *, kHotMenuCount> captions = {u"Параметры", u"Средние", u"Таксометр",
                                                                         u"Парктроник"};
    return list >= 0 && list < kHotMenuCount ? QString::fromUtf16(captions[size_t(list)]) : QString();
}

QString blocksShowCaption() { return QStringLiteral("Показывать"); }

QStringList blocksShowItems()
{
    return {QStringLiteral("Все"), QStringLiteral("Протокол"), QStringLiteral("Подключ.")};
}

QStringList blocksShowListItems() { return {QStringLiteral("Списком"), QStringLiteral("По типам")}; }

QString bareCaption(const QString &caption)
{
    QString bare = caption.simplified();
    if (bare.endsWith(QLatin1Char(':')))
        bare.chop(1);
    return bare;
}

} // namespace mk
