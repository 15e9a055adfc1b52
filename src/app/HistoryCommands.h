// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's trip history commands: the history window, adding the journals held (after
// a read from the device, a file or a backup) to a car's history, and doing so after every read,
// with that setting kept in the ini file.

#include <QString>

class QAction;
class QDateTime;
class QStatusBar;
class QWidget;

namespace mk {

class HeldState;
class IniFile;

class HistoryCommands
{
public:
    // `autoAction` is the checkable "after every read" command it keeps in step; `historyPath`
    // the database, the user's default one when empty.
    HistoryCommands(QWidget *window, HeldState &state, QStatusBar &statusBar, QAction *autoAction, QString iniPath,
                    QString historyPath);

    void loadSettings(IniFile &ini);
    // Whether the journals of every read go to a car's history, and which.
    bool autoHistory() const { return m_autoHistory; }
    const QString &autoHistoryCar() const { return m_autoHistoryCar; }

    // "История поездок…"
    void showWindow();
    // "Добавить журналы в историю…"
    void addHeld();
    // "Добавлять журналы в историю после каждого чтения…": asks for the car when turned on.
    void toggleAuto();
    // After a read: the journals to the chosen car's history when the setting says so; a failure
    // is shown but does not undo the read.
    void addRead();
    // From the backups dialog: the backup's journals, read at the backup's time.
    void addBackup(QWidget *parent, const QString &path, const QDateTime &when);

private:
    QString databasePath() const;
    void showAuto();

    QWidget *m_window;
    HeldState &m_state;
    QStatusBar &m_statusBar;
    QAction *m_autoAction;
    QString m_iniPath;
    QString m_historyPath;
    bool m_autoHistory = false;
    QString m_autoHistoryCar;
};

} // namespace mk
