// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The editor's Tab order follows its layouts: top to bottom, column by column, instead of the
// order in which the pages happened to create their controls.

class QWidget;

namespace mk {

// Sets the Tab order of every control under `root` from its layouts: a box layout in its own
// order, a grid column band by column band (a band starts at each column that holds labels, so
// a label and its control count as one column), each band top to bottom; a widget with a layout
// of its own (a group) is entered where it stands, a tab widget's pages in page order.
void applyNaturalTabOrder(QWidget *root);

} // namespace mk
