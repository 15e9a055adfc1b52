// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A scroll area as large as what it holds where the screen has room and scrolling where it has
// not: a window built around it opens at its content's size on a large screen and still fits a
// small one (1280 × 1024 at 150 % leaves 853 × 683), its buttons below staying in view.

#include <QScrollArea>

namespace mk {

class FittingScrollArea : public QScrollArea
{
public:
    // Takes `content` into the area; the area is named `objectName` for tests and styles.
    FittingScrollArea(QWidget *content, const QString &objectName, QWidget *parent = nullptr);
    QSize sizeHint() const override;
};

} // namespace mk
