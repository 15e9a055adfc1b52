// SPDX-License-Identifier: GPL-3.0-or-later
// The single-instance guard on Windows: the lock file opened for writing with no write sharing,
// in "mkconf" in the user's local application-data folder, which the system gives to this user
// alone. The system closes the file when its process ends, a crash included, so a lock is never
// judged by a stored process id (one that a later process may carry: after a restart, or after
// wineserver -k under Wine).

#include "app/TJustOne.h"

#include "base/Error.h"
#include "base/FileIo.h"

#include <QDir>
#include <QStandardPaths>

#include <windows.h>

namespace mk {

class TJustOne::Lock
{
public:
    Lock(HANDLE file, std::wstring path) : m_file(file), m_path(std::move(path)) {}
    ~Lock()
    {
        CloseHandle(m_file);
        // Fails, and leaves the file, when the next copy has opened it meanwhile: that is its lock.
        DeleteFileW(m_path.c_str());
    }
    Lock(const Lock &) = delete;
    Lock &operator=(const Lock &) = delete;

private:
    HANDLE m_file;
    std::wstring m_path;
};

TJustOne::HeldLock TJustOne::takeLock(const QString &path)
{
    std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    // Others may read it, nobody may write or delete it while it is open; a link at the name is
    // opened itself, never followed.
    const HANDLE file = CreateFileW(native.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        return HeldLock(new Lock(file, std::move(native)));
    const DWORD error = GetLastError();
    if (error == ERROR_SHARING_VIOLATION)
        return nullptr; // the running copy holds it
    throw Error(QStringLiteral("Не удалось открыть файл блокировки \"%1\" (ошибка Windows %2).")
                    .arg(QDir::toNativeSeparators(path))
                    .arg(error));
}

void TJustOne::Release::operator()(Lock *lock) const { delete lock; }

QString TJustOne::defaultLockDir(QString *why)
{
    const QString local = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (local.isEmpty()) {
        if (why)
            *why = QStringLiteral("Папка данных пользователя (LOCALAPPDATA) не найдена.");
        return {};
    }
    return ownPrivateFolder(local, QStringLiteral("mkconf"), why);
}

} // namespace mk
