// SPDX-License-Identifier: GPL-3.0-or-later
// What the connection check has in common on every system: which errors offer it.

#include "link/ConnectionCheck.h"

#include "link/LinkTexts.h"
#include "link/SerialPortIo.h"

namespace mk {

bool isPortOpenFailure(const QString &message)
{
    // The texts built around a port's name match with any name in its place.
    const auto around = [&message](const QString &built) {
        const qsizetype at = built.indexOf(QLatin1Char('\x01'));
        return message.startsWith(built.left(at)) && message.endsWith(built.mid(at + 1));
    };
    const QString placeholder = QStringLiteral("\x01");
    return message == kNoLinkText || message == kDeviceNotSeenText || message == kNoFreePortText ||
           around(permissionDeniedText(placeholder)) || around(portInUseText(placeholder)) ||
           around(QStringLiteral("Порт \x01 не найден."));
}

} // namespace mk
