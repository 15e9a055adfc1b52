// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Work that may take a noticeable time (a large history query) done on a worker thread while
// the windows keep painting; user input waits until it is done, so the caller goes on as if the
// call had been an ordinary one.

#include <exception>
#include <functional>
#include <optional>

namespace mk {

// Runs `work` on a new thread and returns when it has finished; an exception it throws is
// rethrown here. The busy cursor shows meanwhile.
void runOffUiThread(const std::function<void()> &work);

template<typename T>
T computeOffUiThread(const std::function<T()> &work)
{
    std::optional<T> result;
    runOffUiThread([&] { result.emplace(work()); });
    return std::move(*result);
}

} // namespace mk
