// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the user manual lies and which of its pages explains a window.

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

class QWidget;

namespace mk {

// The folders searched for the manual, first match wins: MKCONF_MANUAL_DIR when set, the build
// tree's manual beside bin/, the installed share/mkconf/manual beside the program's prefix, then
// the system's data folders.
QStringList manualFolderCandidates();
// The first candidate holding index.html; empty when there is none.
QString manualFolder();
// What to do when no candidate holds the manual, as this system's copy of the program came
// (ManualPages_unix.cpp / ManualPages_win.cpp).
QString manualMissingAdvice();

// Window objectName → page of the manual, with an anchor where one helps: the windows of
// windowRegistry() (app/WindowRegistry.h) that have a page.
const std::vector<std::pair<QString, QString>> &manualPageTable();

// The page for `widget`: the nearest of it and its parents that the table names (an editor page
// goes to its own section); index.html when none does.
QString manualPageFor(const QWidget *widget);

} // namespace mk
