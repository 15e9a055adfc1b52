// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/HeldStatus.h"

namespace mk {

QString heldStatusText(const HeldSettings &held, bool modified)
{
    const QString time = held.when.toString(QStringLiteral("HH:mm"));
    QString text;
    switch (held.source) {
    case HeldSettings::Source::None: return QStringLiteral("Настройки не загружены");
    case HeldSettings::Source::DeviceRead:
        text = QStringLiteral("Настройки из %1, считаны в %2").arg(held.name, time);
        break;
    case HeldSettings::Source::DeviceWritten:
        text = QStringLiteral("Настройки записаны в %1 в %2").arg(held.name, time);
        break;
    case HeldSettings::Source::File: text = QStringLiteral("Настройки из файла %1").arg(held.name); break;
    case HeldSettings::Source::Backup:
        text = QStringLiteral("Настройки из резервной копии от %1")
                   .arg(held.when.toString(QStringLiteral("dd.MM.yyyy HH:mm")));
        break;
    }
    return modified ? text + QStringLiteral(" — изменены, не сохранены") : text;
}

} // namespace mk
