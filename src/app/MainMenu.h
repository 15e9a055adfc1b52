// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's menu bar: "Файл", "Сервис", "Справка" and every command in them; the window
// connects each to its step. Further commands join "Файл" and "Сервис" through addFileAction /
// addServiceAction (above "Выход" in "Файл").

#include <QMenuBar>
#include <QStringList>

class QAction;
class QMenu;

namespace mk {

class MainMenu : public QMenuBar
{
    Q_OBJECT
public:
    explicit MainMenu(QWidget *parent = nullptr);

    // A command of "Файл" placed before "Выход"; `name` becomes its objectName.
    QAction *addFileAction(const QString &text, const QString &name);
    // A command at the end of "Сервис".
    QAction *addServiceAction(const QString &text, const QString &name);

    QMenu *fileMenu() const { return m_file; }
    QMenu *serviceMenu() const { return m_service; }
    QMenu *helpMenu() const { return m_help; }
    // "Последние файлы": "miRecent1".."miRecent8", newest first, or the disabled "miRecentNone".
    QMenu *recentMenu() const { return m_recent; }
    void showRecentFiles(const QStringList &files);

    // "Открыть…" (Ctrl+O), "Сохранить" (Ctrl+S), "Сохранить как…" (Ctrl+Shift+S), "Выход" (Ctrl+Q).
    QAction *open() const { return m_open; }
    QAction *save() const { return m_save; }
    QAction *saveAs() const { return m_saveAs; }
    QAction *backups() const { return m_backups; }
    QAction *exportProfile() const { return m_exportProfile; }
    QAction *importProfile() const { return m_importProfile; }
    QAction *history() const { return m_history; }
    QAction *addToHistory() const { return m_addToHistory; }
    // Checkable: whether the journals of every read go to a car's history.
    QAction *autoHistory() const { return m_autoHistory; }
    QAction *compareFile() const { return m_compareFile; }
    QAction *compareDevice() const { return m_compareDevice; }
    QAction *connectionCheck() const { return m_connectionCheck; }
    QAction *manual() const { return m_manual; }
    QAction *supportReport() const { return m_supportReport; }
    QAction *about() const { return m_about; }
    QAction *exit() const { return m_exit; }

    // The commands that need settings held: saving, comparing and adding to the history, as
    // writing does.
    void setSettingsHeld(bool held);

signals:
    // A file of "Последние файлы" was chosen.
    void recentFileChosen(const QString &path);
    // "Файл" is about to open: the recent files may be looked at again.
    void fileMenuOpening();

private:
    QMenu *m_file;
    QMenu *m_service;
    QMenu *m_help;
    QMenu *m_recent;
    QAction *m_open;
    QAction *m_save;
    QAction *m_saveAs;
    QAction *m_backups;
    QAction *m_exportProfile;
    QAction *m_importProfile;
    QAction *m_history;
    QAction *m_addToHistory;
    QAction *m_autoHistory;
    QAction *m_exitSeparator;
    QAction *m_exit;
    QAction *m_compareFile;
    QAction *m_compareDevice;
    QAction *m_connectionCheck;
    QAction *m_manual;
    QAction *m_supportReport;
    QAction *m_about;
};

} // namespace mk
