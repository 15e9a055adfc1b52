// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: the numbered steps from reading the settings to writing them back. It owns the
// settings held and wires the step panel, the menus and the status bar to the file, device,
// history and profile steps; an error escaping a step is shown here.

#include "app/DeviceLink.h"
#include "app/HeldState.h"
#include "app/RecentFiles.h"
#include "link/SupportReport.h"

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

class QAbstractButton;
class QAction;
class QStatusBar;

namespace mk {

class AccessGuard;
class DeviceSteps;
class DeviceWatcher;
class FileSteps;
class HistoryCommands;
class MainMenu;
class MainStatusBar;
class ProfileCommands;
class StepPanel;
class TMK;

// The viewing and editing steps; the configurator uses runEditTransaction and those of
// ViewerTransactions.h.
struct StepDialogs
{
    std::function<bool(QWidget *, TMK &)> edit;
    std::function<bool(QWidget *, TMK &)> journals;
    std::function<void(QWidget *, TMK &)> osc;
};

struct MainFormSetup
{
    QString iniPath;    // the program's ini file
    QString programDir; // the current directory while the program runs
    QString fileDir;    // where the open and save dialogs start
    QString startFile;  // a settings file to load once the window is shown (absolute path)
    std::unique_ptr<DeviceLink> link;
    AccessGuard *access = nullptr; // the program-wide one when not given
    StepDialogs steps;             // each one not given is the configurator's own
    // What the status bar follows (not owned); the system's serial ports when not given.
    DeviceWatcher *deviceWatcher = nullptr;
    QString historyPath; // the trip history database; the user's default one when not given
};

class TMainForm : public QWidget
{
    Q_OBJECT
public:
    explicit TMainForm(MainFormSetup setup, QWidget *parent = nullptr);
    ~TMainForm() override;

    static QString caption();

    TMK &model() { return m_state.model(); }
    bool modified() const { return m_state.modified(); }
    // Where the settings held came from, as the status bar says it.
    const HeldSettings &held() const { return m_state.held(); }
    bool autoSearch() const;
    bool editingEnabled() const;

    // The steps, as their buttons run them.
    void bGetParamsClick();
    void bLoadParamsClick();
    // The load step for a chosen file; the file dialogs then start in its folder.
    void loadFile(const QString &path);
    // A file handed over by a second copy (a double-click while the program runs): brings the
    // window up, asks about unsaved edits and loads it, an error going to the usual error box.
    void openFile(const QString &path);
    // A second start of the program: the window comes up from the taskbar and gets the focus.
    void bringToFront();
    void bEditParamsClick();
    void bViewJournalsClick();
    void bViewOscClick();
    // false when nothing was saved (dialog cancelled, overwrite refused)
    bool bSaveParamsClick();
    void bSetParamsClick();

    // Whether the journals of every read go to a car's history, and which.
    bool autoHistory() const;
    const QString &autoHistoryCar() const;

    // Where further commands and status join the window: the menu bar (see MainMenu's
    // addFileAction / addServiceAction) and the status bar, below the steps.
    MainMenu &menu() { return *m_menu; }
    // A widget kept at the right of the status bar for the window's lifetime.
    void addPermanentStatusWidget(QWidget *widget, int stretch = 0);
    QStatusBar &statusBar();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void connectSteps();
    void connectMenu();
    // The program's caption, then the file held when the settings came from one; marked while
    // the settings held are edited and not saved.
    void updateTitle();
    void showRecentFiles();
    // Runs `step` on a click or a menu command, guarded.
    void onClick(QAbstractButton *button, std::function<void()> step);
    void onTriggered(QAction *action, std::function<void()> step);
    void FormShow();
    void FormClose();
    // Runs a step; an error escaping it is shown in an error box and the window stays usable.
    void guarded(const std::function<void()> &step);
    QString backupDir() const;
    // What "Сведения для поддержки…" shows: this session's facts, the held settings, the trace.
    SupportReportInput supportReportInput() const;

    MainFormSetup m_setup;
    HeldState m_state;
    RecentFiles m_recent;
    bool m_shown = false;

    StepPanel *m_panel = nullptr;
    MainMenu *m_menu = nullptr;
    MainStatusBar *m_statusBar = nullptr;
    std::unique_ptr<FileSteps> m_files;
    std::unique_ptr<DeviceSteps> m_device;
    std::unique_ptr<HistoryCommands> m_history;
    std::unique_ptr<ProfileCommands> m_profiles;
};

} // namespace mk
