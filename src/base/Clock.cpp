// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Clock.h"

#include <QMutex>
#include <QMutexLocker>

namespace mk {

namespace {

QMutex clockMutex;
QDateTime fixedNow; // guarded by clockMutex

} // namespace

QDateTime currentDateTime()
{
    {
        const QMutexLocker lock(&clockMutex);
        if (fixedNow.isValid())
            return fixedNow;
    }
    return QDateTime::currentDateTime();
}

QDate currentDate() { return currentDateTime().date(); }

void setFixedClock(const QDateTime &when)
{
    const QMutexLocker lock(&clockMutex);
    fixedNow = when;
}

} // namespace mk
