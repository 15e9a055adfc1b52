// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The single-instance guard: a lock named after the program file, held while the program runs.
// The lock itself is the system's (TJustOne_unix.cpp, TJustOne_win.cpp).

#include <QString>
#include <memory>

namespace mk {

class TJustOne
{
public:
    // name: the program file's name without its folder; lockDir: where the lock lives, a folder
    // only this user may use (see defaultLockDir()). Without such a folder there is no lock: the
    // copy runs unguarded rather than not at all.
    explicit TJustOne(const QString &name, const QString &lockDir = defaultLockDir(nullptr));

    // true when this copy holds the lock (or runs unguarded); a copy that does not should end silently.
    bool owned() const { return m_owned; }
    bool guarded() const { return !m_lockPath.isEmpty(); }
    QString lockPath() const { return m_lockPath; }

    // The user's runtime folder when it is private (owned by this user, no rights for group or
    // others, not a link), else "mkconf" in the user's cache folder (made with mode 0700 when
    // missing, the cache folder itself never); empty when neither is, with the reasons in *why.
    // Never a shared folder such as the temporary one: a lock or a hand-over there can be
    // planted by others. No folder is ever chmodded.
    // On Windows: "mkconf" in the user's local application-data folder.
    static QString defaultLockDir(QString *why = nullptr);

private:
    class Lock; // the system's lock on the file, held while it lives
    struct Release
    {
        void operator()(Lock *lock) const;
    };
    using HeldLock = std::unique_ptr<Lock, Release>;
    // The lock at path, or null when another copy holds it. Throws Error when the file cannot be
    // locked for another reason (this copy then runs unguarded).
    static HeldLock takeLock(const QString &path);

    QString m_lockPath;
    HeldLock m_lock;
    bool m_owned = false;
};

} // namespace mk
