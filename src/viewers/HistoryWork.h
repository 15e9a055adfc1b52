// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Work on the trip history off the UI thread: the database driver is loaded here first (see
// HistoryDatabase::loadDriver), then the work runs on a worker thread.

#include "history/HistoryDatabase.h"
#include "widgets/BackgroundWork.h"

namespace mk {

template<typename T>
T historyOffUiThread(const std::function<T()> &work)
{
    HistoryDatabase::loadDriver();
    return computeOffUiThread<T>(work);
}

inline void historyOffUiThread(const std::function<void()> &work)
{
    HistoryDatabase::loadDriver();
    runOffUiThread(work);
}

} // namespace mk
