// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every window of the configurator, listed once: its objectName, the manual's page that F1 opens,
// the manual's picture of it and which Alt letters are checked in it. The help lookup, the manual
// check, the shortcuts and screenshot tests all read this list; a window missing from it fails
// the shortcuts test.

#include <QString>
#include <vector>

namespace mk {

struct WindowEntry
{
    QString objectName;
    QString manualPage;   // page of docs/manual, with an anchor where one helps; empty: F1 opens the contents
    QString picture;      // the screenshot run's picture of it (img/NAME.png), shown on its page
    bool checkBoxLetters; // check and radio boxes need letters of their own too, not only buttons and labels
    QString noPageReason; // why a window without a page has none
};

const std::vector<WindowEntry> &windowRegistry();
// The entry of a window; nullptr when the registry does not list it.
const WindowEntry *findWindow(const QString &objectName);

} // namespace mk
