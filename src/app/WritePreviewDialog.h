// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a write would change, shown before anything reaches the device: "Записать" or "Отмена".
// A profile's import shows its changes the same way, with "Применить". Отмена is the default.

#include <QDialog>

class QLabel;

namespace mk {

struct SettingsDiff;
class SettingsDiffView;

struct ChangePreviewTexts
{
    QString title;
    QString question; // %1: the number of settings that change
    QString accept;   // the button's text with its Alt letter
    QString before, after;
};

class WritePreviewDialog : public QDialog
{
    Q_OBJECT
public:
    explicit WritePreviewDialog(const SettingsDiff &diff, QWidget *parent = nullptr);
    WritePreviewDialog(const SettingsDiff &diff, const ChangePreviewTexts &texts, QWidget *parent = nullptr);

    // A line under the changes: what the write does with what the device records.
    void setNote(const QString &text);
    // The list of what the device records where the settings differ, under the note; the
    // dialog takes it.
    void setRecordedChoices(QWidget *view);

    static ChangePreviewTexts writeTexts();
    static ChangePreviewTexts profileTexts();

private:
    // Sized to show its content whole within the screen's available area.
    void fitToContent();

    SettingsDiffView *m_view = nullptr;
    QLabel *m_note = nullptr;
};

} // namespace mk
