// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The hidden holder of the display-element pictures that the screen previews draw with:
// two pointer scales, a round dial, the dial's hub and a pointer. Never shown.

#include <QImage>
#include <QWidget>

namespace mk {

class TPicturesForm : public QWidget
{
    Q_OBJECT
public:
    explicit TPicturesForm(QWidget *parent = nullptr);
    ~TPicturesForm() override;

    // The one holder of the running program, or nullptr before it is created.
    static TPicturesForm *instance();

    // White shapes on a transparent background, so that a preview can tint them.
    QImage ScaleL;   // 79×136: the left part of a pointer scale
    QImage ScaleR;   // 149×136: a whole pointer scale without its bottom rows
    QImage Circle99; // 199×199: a round dial face
    QImage Circle9;  // 9×9: the pointer's hub
    QImage Arrow;    // 129×129: a pointer standing up from the centre

private:
    static TPicturesForm *s_instance;
};

} // namespace mk
