// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What mktool's help says differently on each system: where the program keeps its files, how a
// port is named, and what the connection check looks at.

#include <QString>

namespace mk::tool {

// The folder of backups and trip history as the user would type it ("~/.local/share/mkconf").
QString dataFolderShown();
// The --port option's forms ("[--port N|COMn|NODE]").
QString portOptionUsage();
// What mktool doctor looks at and offers.
QString doctorSummary();

} // namespace mk::tool
