// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The message a call fails with, for tests that compare messages: empty when it does not fail.

#include "base/Error.h"

#include <QString>
#include <functional>

namespace mk::test {

inline QString errorTextOf(const std::function<void()> &run)
{
    try {
        run();
    } catch (const Error &e) {
        return e.text();
    }
    return {};
}

} // namespace mk::test
