// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A one-line label that shortens a text too long for its room with "…" instead of pushing its
// neighbours aside or running into them; the whole text is its tooltip then. text() stays whole.

#include <QLabel>

namespace mk {

class ElidedLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace mk
