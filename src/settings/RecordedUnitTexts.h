// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the units of what the device records (image/DeviceRecorded.h) are named, to the user and
// to mktool's --take, and how their values are shown: one place for the write preview, the
// dry run, the write's own report and what a restore replaces.

#include "image/DeviceRecorded.h"
#include "image/RecordSync.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace mk {

class TMK;

// "trips", "avg-overall", "EngOilCntK": what `mktool write --take` takes.
QString recordedUnitName(RecordedUnitId unit);
std::optional<RecordedUnitId> recordedUnitByName(const QString &name);
// "Журнал поездок", "Средние «Поездка»", "Счётчик ТО «Замена масла ДВС»".
QString recordedUnitCaption(RecordedUnitId unit);
// "11 записей, последняя 06.03 17:45", "38250 км / 512:00 ч", "15".
QString recordedUnitValue(RecordedUnitId unit, const TMK &model);

// One line per difference: "Замена масла ДВС (EngOilCntK): в МК 15, в настройках 10 - остаётся как в МК".
QStringList recordedDifferenceLines(const std::vector<RecordedDifference> &differences, const TMK &device,
                                    const TMK &settings);

// What a restore of `backup` replaces of the device's newer records: "Журнал поездок: 3 записи
// новее копии", "Общий пробег: в МК 150000, в копии 120000". Empty when the device holds nothing newer.
QStringList restoreReplacesLines(const TMK &device, const TMK &backup);

} // namespace mk
