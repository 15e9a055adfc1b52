// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Texts the link and port discovery show to the user, word for word.

#include <QString>

namespace mk {

inline const QString kNoLinkText =
    QStringLiteral("RS232. Нет связи. Проверьте правильность соединения PC и устройства.");
inline const QString kInterByteText = QStringLiteral("RS232. Ошибка задержки приема внутри блока.");
inline const QString kExchangeErrorText = QStringLiteral("RS232. Ошибка обмена.");
inline const QString kBusyText =
    QStringLiteral("Устройство занято. Возможно, оно находится в режиме местного управления.");
inline const QString kNoFreePortText = QStringLiteral("Нет свободного COM-порта!");
inline const QString kDeviceNotSeenText = QStringLiteral("Не вижу МК.");
inline const QString kDeviceMarker = QStringLiteral("Trivolantics");

} // namespace mk
