// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of the page "Цветовые схемы".

#include <QString>
#include <QStringList>

namespace mk::colourtexts {

inline QString schemeGroup() { return QStringLiteral("Цветовая схема"); }
inline QStringList schemeItems()
{
    return {QStringLiteral("Схема 1"), QStringLiteral("Схема 2"), QStringLiteral("Схема 3"),
            QStringLiteral("Схема пользователя")};
}
inline QString paletteRow() { return QStringLiteral("Цвет #"); } // followed by the number
inline QStringList digitRows()
{
    return {QStringLiteral("Цвет 1"), QStringLiteral("Фон 1"), QStringLiteral("Цвет 2"), QStringLiteral("Фон 2"),
            QStringLiteral("Рамка")};
}
inline QStringList menuRows()
{
    return {QStringLiteral("Цвет активного пункта"), QStringLiteral("Фон активного пункта"),
            QStringLiteral("Цвет номера горячего пункта")};
}
inline QStringList graphRows()
{
    return {QStringLiteral("Оси / Временные метки"), QStringLiteral("Фон графиков"), QStringLiteral("Цвет графика 1"),
            QStringLiteral("Цвет графика 2"), QStringLiteral("Фон подписей")};
}
// In the order of the grid rows (not of the record).
inline QStringList arrowRows()
{
    return {QStringLiteral("Фон под шкалами"),  QStringLiteral("Левый циферблат"),
            QStringLiteral("Правый циферблат"), QStringLiteral("Левая шкала"),
            QStringLiteral("Правая шкала"),     QStringLiteral("Левая стрелка"),
            QStringLiteral("Правая стрелка"),   QStringLiteral("Шкала при большом расходе"),
            QStringLiteral("Подписи цвет"),     QStringLiteral("Подписи фон")};
}
inline QString askChange() { return QStringLiteral("Сменить цветовую схему?"); }
inline QString copyToUser() { return QStringLiteral("Скопировать в польз."); }
inline QString resetAll() { return QStringLiteral("Все в исх.состояние"); }
// The caption with its Alt shortcut on the letter at `at`.
inline QString withShortcut(QString caption, int at) { return caption.insert(at, QLatin1Char('&')); }
inline QString askResetAll() { return QStringLiteral("Привести все настройки цветовых схем в исходное состояние?"); }
inline QString dispVar4() { return QStringLiteral("Тип х4"); }
inline QString dispVar9() { return QStringLiteral("Тип х9"); }
inline QString pageX1X7() { return QStringLiteral("х1 и х7"); }
inline QString pageX4X9() { return QStringLiteral("х4 и х9"); }

} // namespace mk::colourtexts
