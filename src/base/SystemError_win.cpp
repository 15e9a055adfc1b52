// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/SystemError.h"

#include <cstring>

#include <windows.h>

namespace mk {

namespace {

struct NotedCode
{
    quint32 code = 0;
    int error = 0;
};
thread_local NotedCode t_noted;

} // namespace

QString errnoMessage(int error) { return error ? QString::fromLocal8Bit(std::strerror(error)) : QString(); }

QString windowsErrorMessage(quint32 code)
{
    if (code == 0)
        return {};
    wchar_t *buffer = nullptr;
    const DWORD n =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, DWORD(code), 0, reinterpret_cast<wchar_t *>(&buffer), 0, nullptr);
    QString words = n && buffer ? QString::fromWCharArray(buffer, int(n)).trimmed() : QString();
    if (buffer)
        LocalFree(buffer);
    return words;
}

quint32 windowsCodeBehind(int error) { return error != 0 && t_noted.error == error ? t_noted.code : 0; }

void noteWindowsCode(quint32 code, int error) { t_noted = {code, error}; }

ErrorContext systemErrorContext(int error)
{
    ErrorContext context;
    context.errnoCode = error;
    context.windowsCode = windowsCodeBehind(error);
    context.systemMessage = context.windowsCode ? windowsErrorMessage(context.windowsCode) : errnoMessage(error);
    return context;
}

} // namespace mk
