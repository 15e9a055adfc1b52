// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's file steps: open a settings file, save (with its overwrite question), the
// question about unsaved edits, restoring a backup and comparing with a file. Keeps the folder
// the file dialogs start in. Errors escape as mk::Error for the window to show.

#include "app/BackupsDialog.h"

#include <QString>
#include <functional>

class QWidget;

namespace mk {

class HeldState;

class FileSteps
{
public:
    // `window` parents the dialogs; `backupDir` says where the backups live.
    FileSteps(QWidget *window, HeldState &state, std::function<QString()> backupDir);

    // Offered by the backups dialog for adding a backup's journals to the trip history.
    void setBackupHistoryAdder(BackupsDialog::HistoryAdder adder) { m_backupHistoryAdder = std::move(adder); }

    // Told of every settings file loaded or saved by the user's choice (not of a backup restored).
    void setFileUsed(std::function<void(const QString &)> used) { m_fileUsed = std::move(used); }

    const QString &fileDir() const { return m_fileDir; }
    void setFileDir(const QString &dir) { m_fileDir = dir; }

    // "Считать настройки из файла на диске": the question about unsaved edits, the dialog, the load.
    void open();
    // The load step for a chosen file; the file dialogs then start in its folder.
    void loadFile(const QString &path);
    // A file chosen without the open dialog (a recent file, a drop): the question about unsaved
    // edits, then the load step, as "Открыть…" after its dialog.
    void openChosen(const QString &path);
    // "Сохранить как…" and the save button: the file dialog, then the save; false when nothing was
    // saved (dialog cancelled, overwrite refused)
    bool save();
    // "Сохранить": back to the file the settings held came from or were last saved to, without a
    // question; as save() while they came from elsewhere.
    bool saveToCurrent();
    // The file the settings held came from or were last saved to; empty while they came from
    // elsewhere (the device, a backup).
    QString currentPath() const;
    // Asks about unsaved edits before they would be replaced or lost: Yes saves first, No goes
    // on, Cancel (or Esc) stops; false when the caller must stop.
    bool mayReplaceSettings();
    // "Резервные копии…": a backup chosen there is loaded as a file, then held as the backup; true
    // when the user asked for it to be written back to the device ("Восстановить…").
    bool restoreBackup();
    // "Сравнить с файлом…"
    void compareWithFile();

private:
    QString askFileName(bool save);
    void saveTo(const QString &path);
    void loadFrom(const QString &path);

    QWidget *m_window;
    HeldState &m_state;
    std::function<QString()> m_backupDir;
    QString m_fileDir;
    QString m_path; // the last file loaded or saved
    BackupsDialog::HistoryAdder m_backupHistoryAdder;
    std::function<void(const QString &)> m_fileUsed;
};

} // namespace mk
