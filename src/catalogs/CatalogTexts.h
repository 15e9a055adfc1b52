// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Short texts of the catalogs, as the device and the editor show them.

namespace mk::catalog_text {

// Protocol-selection methods (cbProtocolSelectMeth).
inline constexpr const char *kMethodAuto = "Авт.";
inline constexpr const char *kMethodAutoObd = "АвтOBD";
inline constexpr const char *kMethodAutoVag = "АвтVAG";
inline constexpr const char *kMethodAutoOpel = "АвтOpl";
inline constexpr const char *kMethodManual = "Руч.";

// Fuel-level sources (cbTankMeth).
inline constexpr const char *kTankComputed = "Расчетный";
inline constexpr const char *kTankSensor = "ДУТ";
inline constexpr const char *kTankEcu1 = "ДУТ ЭБУ";
inline constexpr const char *kTankEcu2 = "ДУТ ЭБУ2";
inline constexpr const char *kTankEcu3 = "ДУТ ЭБУ3";

// First default item of sub-type selector 0.
inline constexpr const char *kSubTypeAuto = "Авто";

// The hot-menu item in the place of the icy-road alarm on models without air temperature.
inline constexpr const char *kLightsOnIdent = "LightsOnMenu";
inline constexpr const char *kLightsOnCaption = "Упр.Бл.Свет";

// Journal slot captions: "<slot in 4 places>     ММ:ЧЧ ДД.ММ"; slot 0 has a label in place of the number
// (its "o" is a Latin letter).
inline constexpr const char *kSlotTail = "ММ:ЧЧ ДД.ММ";
inline constexpr const char *kSlotZeroLabel = "Пoс.";

} // namespace mk::catalog_text
