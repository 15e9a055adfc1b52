// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/SystemError.h"

#include <cstring>

namespace mk {

QString errnoMessage(int error) { return error ? QString::fromLocal8Bit(std::strerror(error)) : QString(); }

QString windowsErrorMessage(quint32) { return {}; }

quint32 windowsCodeBehind(int) { return 0; }

void noteWindowsCode(quint32, int) {}

ErrorContext systemErrorContext(int error)
{
    ErrorContext context;
    context.errnoCode = error;
    context.systemMessage = errnoMessage(error);
    return context;
}

} // namespace mk
