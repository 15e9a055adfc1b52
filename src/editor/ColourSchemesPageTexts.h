// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of the page "Цветовые схемы" no setting names (the captions of its settings are in
// settings/SpecialCaptions.h).

#include <QString>
#include <QStringList>

namespace mk::colourtexts {

inline QString askChange() { return QStringLiteral("Сменить цветовую схему?"); }
inline QString copyToUser() { return QStringLiteral("Скопировать в польз."); }
inline QString resetAll() { return QStringLiteral("Все в исх.состояние"); }
// The caption with its Alt shortcut on the letter at `at`.
inline QString withShortcut(QString caption, int at) { return caption.insert(at, QLatin1Char('&')); }
inline QString askResetAll() { return QStringLiteral("Привести все настройки цветовых схем в исходное состояние?"); }
inline QString pageX1X7() { return QStringLiteral("х1 и х7"); }
inline QString pageX4X9() { return QStringLiteral("х4 и х9"); }

} // namespace mk::colourtexts
