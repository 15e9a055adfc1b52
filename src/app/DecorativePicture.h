// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The small picture in the main window's lower right corner: a trip computer showing a dial.

#include <QWidget>

namespace mk {

class DecorativePicture : public QWidget
{
    Q_OBJECT
public:
    explicit DecorativePicture(QWidget *parent = nullptr);
    QSize sizeHint() const override { return {112, 66}; }

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace mk
