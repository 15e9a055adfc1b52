// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The single-instance guard: a lock named after the program file, held while the program runs.

#include <QLockFile>
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
    ~TJustOne();

    // true when this copy holds the lock (or runs unguarded); a copy that does not should end silently.
    bool owned() const { return m_owned; }
    bool guarded() const { return m_lock != nullptr; }
    QString lockPath() const;

    // The user's runtime folder when it is private (owned by this user, no rights for group or
    // others, not a link), else "mkconf" in the user's cache folder (made with mode 0700 when
    // missing, the cache folder itself never); empty when neither is, with the reasons in *why.
    // Never a shared folder such as the temporary one: a lock or a hand-over there can be
    // planted by others. No folder is ever chmodded.
    // On Windows: "mkconf" in the user's local application-data folder.
    static QString defaultLockDir(QString *why = nullptr);

private:
    std::unique_ptr<QLockFile> m_lock;
    bool m_owned = false;
};

} // namespace mk
