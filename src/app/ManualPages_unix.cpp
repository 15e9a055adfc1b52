// SPDX-License-Identifier: GPL-3.0-or-later
// The manual on Linux comes with the package, or is built in the source tree.

#include "app/ManualPages.h"

namespace mk {

QString manualMissingAdvice()
{
    return QStringLiteral("Установите программу пакетом или соберите руководство командой «bash build.sh manual».");
}

} // namespace mk
