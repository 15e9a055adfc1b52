// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A settings comparison as a tree: one branch per page with the count of its settings that change
// (as the editor's tab counts them), one row per setting (caption, value before, value after).
// Shared by the write preview and the compare window.

#include <QTreeWidget>

namespace mk {

struct SettingsDiff;

class SettingsDiffView : public QTreeWidget
{
    Q_OBJECT
public:
    SettingsDiffView(const SettingsDiff &diff, const QString &beforeTitle, const QString &afterTitle,
                     QWidget *parent = nullptr);

    // The size that shows every row whole, with the header, frame and scroll bar: what a window
    // opening on the view gives it where the screen allows. Narrower, the captions wrap and the
    // two value columns keep their width.
    QSize contentSize() const;
    // The height of every row whole at this width of the view.
    int contentHeight(int width) const;
    QSize sizeHint() const override { return contentSize(); }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    // The caption column's width without the rows that span the whole view (pages, notes).
    int captionWidth() const;
    // The frame and the vertical scroll bar.
    int chromeWidth() const;
};

// "Изменятся 3 настройки" and the like: the count with the word in its right form.
QString settingCountText(int count);

} // namespace mk
