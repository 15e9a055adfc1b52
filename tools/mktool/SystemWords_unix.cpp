// SPDX-License-Identifier: GPL-3.0-or-later
// mktool's help on Linux: XDG folders, device nodes, the udev rule and what else keeps a port.

#include "SystemWords.h"

namespace mk::tool {

QString dataFolderShown() { return QStringLiteral("~/.local/share/mkconf"); }

QString portOptionUsage() { return QStringLiteral("[--port N|COMn|NODE]"); }

QString doctorSummary()
{
    return QStringLiteral("проверка подключения: узлы USB МК, правило udev, права доступа, ModemManager, brltty и "
                          "файлы блокировки, у каждой проблемы - команда, которая её устраняет; код выхода 1, если "
                          "проблема найдена");
}

} // namespace mk::tool
