// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A settings comparison as a tree: one branch per page with its count, one row per setting
// (caption, value before, value after). Shared by the write preview and the compare window.

#include <QTreeWidget>

namespace mk {

struct SettingsDiff;

class SettingsDiffView : public QTreeWidget
{
    Q_OBJECT
public:
    SettingsDiffView(const SettingsDiff &diff, const QString &beforeTitle, const QString &afterTitle,
                     QWidget *parent = nullptr);
};

// "Изменятся 3 настройки" and the like: the count with the word in its right form.
QString settingCountText(int count);

} // namespace mk
