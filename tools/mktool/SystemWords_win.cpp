// SPDX-License-Identifier: GPL-3.0-or-later
// mktool's help on Windows: the user's local application data, COM ports and Device Manager.

#include "SystemWords.h"

namespace mk::tool {

QString dataFolderShown() { return QStringLiteral("%LOCALAPPDATA%\\mkconf"); }

QString portOptionUsage() { return QStringLiteral("[--port N|COMn]"); }

QString doctorSummary()
{
    return QStringLiteral("проверка подключения: COM-порты Windows и МК среди них по его USB-идентификатору, "
                          "МК без COM-порта (не установлен драйвер), порт, занятый другой программой, у каждой "
                          "проблемы - шаги в Диспетчере устройств или что сделать; код выхода 1, если проблема "
                          "найдена");
}

} // namespace mk::tool
