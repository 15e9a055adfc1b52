// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/EndRequests.h"

namespace mk {

// Windows ends a session through window messages, which Qt turns into its own quit: there is
// no signal to watch.
class EndRequests::Watch
{};

EndRequests::EndRequests(QObject *parent) : QObject(parent) {}

EndRequests::~EndRequests() = default;

} // namespace mk
