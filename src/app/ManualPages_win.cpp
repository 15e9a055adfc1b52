// SPDX-License-Identifier: GPL-3.0-or-later
// The manual on Windows is the folder "manual" beside the program, from the installer or the zip.

#include "app/ManualPages.h"

namespace mk {

QString manualMissingAdvice()
{
    return QStringLiteral("Установите программу заново или заново распакуйте архив целиком, с папкой manual.");
}

} // namespace mk
