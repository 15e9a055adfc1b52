// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: the numbered steps from reading the settings to writing them back.

#include "app/DeviceLink.h"
#include "app/HeldStatus.h"

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

class QAction;
class QCheckBox;
class QLabel;
class QPushButton;
class QStatusBar;

namespace mk {

class AccessGuard;
class DeviceWatcher;
class IniFile;
class MainMenu;
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

    TMK &model() { return *m_model; }
    bool modified() const { return m_modified; }
    // Where the settings held came from, as the status bar says it.
    const HeldSettings &held() const { return m_held; }
    bool autoSearch() const { return m_auto; }
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
    void cbAutoClick();
    void bRS232Click();

    // The menu commands.
    void miBackupsClick();
    void miCompareFileClick();
    void miCompareDeviceClick();
    void miAboutClick();
    // "Экспорт профиля…", "Импорт профиля…", "Проверить подключение".
    void miExportProfileClick();
    void miImportProfileClick();
    void miConnectionCheckClick();
    // "История поездок…", "Добавить журналы в историю…", "Добавлять журналы в историю после
    // каждого чтения…".
    void miHistoryClick();
    void miAddToHistoryClick();
    void miAutoHistoryClick();
    // Whether the journals of every read go to a car's history, and which.
    bool autoHistory() const { return m_autoHistory; }
    const QString &autoHistoryCar() const { return m_autoHistoryCar; }

    // Where further commands and status join the window: the menu bar (see MainMenu's
    // addFileAction / addServiceAction) and the status bar, below the steps.
    MainMenu &menu() { return *m_menu; }
    // A widget kept at the right of the status bar for the window's lifetime.
    void addPermanentStatusWidget(QWidget *widget, int stretch = 0);
    QStatusBar &statusBar() { return *m_statusBar; }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void buildMenu();
    // The profile commands, the connection check and the device status.
    void buildInstallerTools();
    QString askProfileName(bool save);
    // The history commands of "Файл" and their setting in the ini file.
    void buildHistoryTools();
    void loadHistorySettings(IniFile &ini);
    QString historyPath() const;
    // After a read: the journals to the chosen car's history when the setting says so; a failure
    // is shown but does not undo the read.
    void addReadToHistory();
    // From the backups dialog: the backup's journals, read at the backup's time.
    void addBackupToHistory(QWidget *parent, const QString &path, const QDateTime &when);
    // Asked on the user-interface thread during a write, before anything is written.
    bool confirmWrite(const TMK &device, const TMK &toWrite);
    void showComparison(const TMK &other, const QString &otherTitle, const QString &source);
    void FormShow();
    void FormClose();
    void setEditingEnabled(bool enabled);
    // Runs a step; an error escaping it is shown in an error box and the window stays usable.
    void guarded(const std::function<void()> &step);
    QString askFileName(bool save);
    // Asks about unsaved edits before they would be replaced or lost: Yes saves first, No goes
    // on, Cancel (or Esc) stops; false when the caller must stop.
    bool mayReplaceSettings();
    void setModified(bool modified);
    void setHeld(HeldSettings::Source source, const QString &name, const QDateTime &when = {});

    MainFormSetup m_setup;
    std::unique_ptr<TMK> m_model;
    bool m_auto = true;
    bool m_modified = false;
    bool m_shown = false;
    QString m_fileDir;
    HeldSettings m_held;
    // When the journals held were read and from where, for the trip history.
    QDateTime m_journalsReadTime;
    QString m_journalsSource;
    bool m_autoHistory = false;
    QString m_autoHistoryCar;
    QAction *m_addToHistory = nullptr;
    QAction *m_autoHistoryAction = nullptr;

    MainMenu *m_menu = nullptr;
    QStatusBar *m_statusBar = nullptr;
    QLabel *m_heldStatus = nullptr;
    QLabel *m_label5 = nullptr;
    QCheckBox *m_cbAuto = nullptr;
    QPushButton *m_bRS232 = nullptr;
    QPushButton *m_bGetParams = nullptr;
    QPushButton *m_bLoadParams = nullptr;
    QPushButton *m_bEditParams = nullptr;
    QPushButton *m_bViewJournals = nullptr;
    QPushButton *m_bViewOsc = nullptr;
    QPushButton *m_bSaveParams = nullptr;
    QPushButton *m_bSetParams = nullptr;
};

} // namespace mk
