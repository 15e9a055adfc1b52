// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Opening a file dropped on a window: one local file with the window's extension is taken, as the
// window's own "open" would take it once chosen; anything else dropped is refused at the border.

#include <QString>
#include <functional>

class QMimeData;
class QWidget;

namespace mk {

// The local file a drop carries when it is exactly one file ending in `.suffix` (any case);
// empty otherwise (several files, a folder, a web address, another extension).
QString droppedFile(const QMimeData *data, const QString &suffix);

// `target` takes drops of such a file and hands its path to `open` (after the drop has ended, so
// that `open` may show dialogs). Its children that take no drops of their own pass them up.
void acceptFileDrops(QWidget *target, const QString &suffix, std::function<void(const QString &)> open);

} // namespace mk
