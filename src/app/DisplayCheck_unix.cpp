// SPDX-License-Identifier: GPL-3.0-or-later
// On Linux a window needs an X or Wayland session (or a platform chosen by hand).

#include "app/DisplayCheck.h"

namespace mk {

QString missingDisplayText(const QStringList &arguments)
{
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || arguments.contains(QStringLiteral("-platform")))
        return {};
    if (!qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return {};
    return QStringLiteral("mkconf: нет дисплея, окну негде появиться (переменные DISPLAY и WAYLAND_DISPLAY не заданы).\n"
                          "Запустите программу из графического сеанса, либо под виртуальным X-сервером:\n"
                          "    xvfb-run -a %1 --demo\n")
        .arg(arguments.value(0));
}

} // namespace mk
