// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings held against a file or the device: only what differs, by page, and
// "Сохранить как текст".

#include "settings/SettingsDiff.h"

#include <QDialog>

namespace mk {

class TMK;

class CompareWindow : public QDialog
{
    Q_OBJECT
public:
    // `diff`: from the other side to the program's settings (diffSettings(other, program)), shown
    // in that order; `otherTitle`: the other side's column ("В файле", "В МК"); `source` names it.
    CompareWindow(SettingsDiff diff, const QString &otherTitle, const QString &source, QWidget *parent = nullptr);

    // Writes the comparison as UTF-8 text; throws Error.
    void saveText(const QString &path) const;
    // The name "Сохранить как текст" offers (the main window's model and the day).
    void setSuggestedName(const QString &name) { m_suggestedName = name; }

private:
    void saveAsClicked();

    SettingsDiff m_diff;
    QString m_source;
    QString m_suggestedName;
    QString m_saveFolder;
};

// The main window's comparison: `held` against `other`, offering to save it under the held
// settings' model and the day.
void showComparison(QWidget *parent, const TMK &held, const TMK &other, const QString &otherTitle,
                    const QString &source);

} // namespace mk
