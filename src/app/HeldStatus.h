// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the main window's status bar says of the settings held: where they came from (the device
// and its port with the time of the exchange, a file's name, a backup's date) and whether they
// were edited since.

#include <QDateTime>
#include <QString>

namespace mk {

struct HeldSettings
{
    enum class Source { None, DeviceRead, DeviceWritten, File, Backup };
    Source source = Source::None;
    QString name;   // the device and its port ("МК на COM3 — /dev/mk-0", "МК (демо)"), or the file's name
    QDateTime when; // of the exchange, or the backup's date
};

QString heldStatusText(const HeldSettings &held, bool modified);

} // namespace mk
