#pragma once
// The single-instance guard: a lock named after the program file, held while the program runs.

#include <QLockFile>
#include <QString>
#include <memory>

namespace mk {

class TJustOne
{
public:
    // name: the program file's name without its folder; lockDir: where the lock lives
    // (by default the user's runtime folder, else the temporary folder).
    explicit TJustOne(const QString &name, const QString &lockDir = defaultLockDir());
    ~TJustOne();

    // true when this copy holds the lock; a copy that does not should end silently.
    bool owned() const { return m_owned; }
    QString lockPath() const;

    static QString defaultLockDir();

private:
    std::unique_ptr<QLockFile> m_lock;
    bool m_owned = false;
};

} // namespace mk
