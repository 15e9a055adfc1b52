// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TMainForm.h"

#include "app/AboutDialog.h"
#include "app/AccessCheck.h"
#include "app/Application.h"
#include "app/ConnectionCheckDialog.h"
#include "app/DeviceSteps.h"
#include "app/ExchangeRunner.h"
#include "app/FileSteps.h"
#include "app/HelpWindow.h"
#include "app/HistoryCommands.h"
#include "app/MainMenu.h"
#include "app/MainStatusBar.h"
#include "app/ProfileCommands.h"
#include "app/StepPanel.h"
#include "app/SupportReportDialog.h"
#include "app/WindowPlacement.h"
#include "base/Error.h"
#include "editor/EditTransaction.h"
#include "image/ImageLayout.h"
#include "image/RecordSync.h"
#include "image/SuggestedName.h"
#include "image/TMK.h"
#include "journals/JournalCsv.h"
#include "link/Backup.h"
#include "viewers/ViewerTransactions.h"
#include "widgets/FileDrop.h"
#include "widgets/IniFile.h"
#include "widgets/MessageBoxes.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace mk {

namespace {

const QString kMainWindowSection = QStringLiteral("MainWindow");
const QString kCommonSection = QStringLiteral("Common");
const QString kAutoKey = QStringLiteral("Auto");

} // namespace

TMainForm::TMainForm(MainFormSetup setup, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_setup(std::move(setup)),
      m_recent(m_setup.iniPath)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(caption() + QStringLiteral("[*]"));
    if (!m_setup.access)
        m_setup.access = &programAccess();
    if (!m_setup.steps.edit)
        m_setup.steps.edit = runEditTransaction;
    if (!m_setup.steps.journals)
        m_setup.steps.journals = runJournalTransaction;
    if (!m_setup.steps.osc)
        m_setup.steps.osc = runOscTransaction;

    m_panel = new StepPanel(this);
    m_menu = new MainMenu(this);
    m_statusBar = new MainStatusBar(m_setup.deviceWatcher, m_setup.link.get(), this);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->setMenuBar(m_menu);
    outer->addWidget(m_panel);
    outer->addWidget(m_statusBar);

    m_files = std::make_unique<FileSteps>(this, m_state, [this] { return backupDir(); });
    m_device = std::make_unique<DeviceSteps>(this, m_setup.link.get(), m_state, *m_files);
    m_history = std::make_unique<HistoryCommands>(this, m_state, *m_statusBar, m_menu->autoHistory(), m_setup.iniPath,
                                                  m_setup.historyPath);
    m_profiles = std::make_unique<ProfileCommands>(this, m_state, *m_files);
    m_files->setBackupHistoryAdder([this](QWidget *parent, const QString &path, const QDateTime &when) {
        m_history->addBackup(parent, path, when);
    });
    m_files->setFileUsed([this](const QString &path) {
        m_recent.add(path);
        showRecentFiles();
    });
    connectSteps();
    connectMenu();
    // A settings file dropped on the window opens as through "Открыть…" once chosen.
    acceptFileDrops(this, QStringLiteral("tcset"), [this](const QString &path) {
        if (!exchangeRunning())
            guarded([&] { m_files->openChosen(path); });
    });
    installHelpKey(); // F1 in every window of the program

    layout()->activate();
    setFixedSize(sizeHint());
    // Centred on the screen unless the ini file says otherwise; placed by its own area, as the
    // stored placement is (the window manager's frame comes later).
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(QRect(screen->availableGeometry().center() - rect().center(), size()));
}

TMainForm::~TMainForm() = default;

QString TMainForm::caption() { return QStringLiteral("Просмотр и настройка параметров МК (Версия 16.04.19)"); }

void TMainForm::onClick(QAbstractButton *button, std::function<void()> step)
{
    connect(button, &QAbstractButton::clicked, this, [this, step = std::move(step)] { guarded(step); });
}

void TMainForm::onTriggered(QAction *action, std::function<void()> step)
{
    connect(action, &QAction::triggered, this, [this, step = std::move(step)] { guarded(step); });
}

void TMainForm::connectSteps()
{
    // The buttons, menus and status bar follow the settings held.
    // Settings cut short can be looked at and saved, never written.
    const auto followWritable = [this] {
        m_panel->writeButton()->setEnabled(m_state.hasSettings() &&
                                           incompleteSettingsWarning(m_state.model()).isEmpty());
    };
    connect(&m_state, &HeldState::statusChanged, this, [this, followWritable] {
        m_statusBar->showHeld(m_state.held(), m_state.modified());
        updateTitle();
        followWritable();
    });
    connect(&m_state, &HeldState::hasSettingsChanged, this, [this, followWritable](bool has) {
        m_panel->setEditingEnabled(has);
        m_menu->setSettingsHeld(has);
        followWritable();
    });
    connect(m_device.get(), &DeviceSteps::settingsRead, this, [this] {
        if (m_setup.link)
            m_statusBar->noteDeviceAnswered(m_setup.link->deviceName());
        m_history->addRead();
    });

    onClick(m_panel->autoSearchBox(), [this] {
        m_device->setAutoSearch(m_panel->autoSearchBox()->isChecked());
        m_panel->showAutoSearch(m_device->autoSearch());
    });
    onClick(m_panel->portButton(), [this] { m_device->choosePort(); });
    onClick(m_panel->readButton(), [this] { bGetParamsClick(); });
    onClick(m_panel->loadButton(), [this] { bLoadParamsClick(); });
    onClick(m_panel->editButton(), [this] { bEditParamsClick(); });
    onClick(m_panel->journalsButton(), [this] { bViewJournalsClick(); });
    onClick(m_panel->oscButton(), [this] { bViewOscClick(); });
    onClick(m_panel->saveButton(), [this] { bSaveParamsClick(); });
    onClick(m_panel->writeButton(), [this] { bSetParamsClick(); });
}

void TMainForm::connectMenu()
{
    // The file commands are the buttons' steps: "Открыть…" loads as "Считать настройки из файла на
    // диске" does, "Сохранить как…" saves as "Сохранить настройки в файл на диске" does.
    onTriggered(m_menu->open(), [this] { bLoadParamsClick(); });
    onTriggered(m_menu->save(), [this] { m_files->saveToCurrent(); });
    onTriggered(m_menu->saveAs(), [this] { bSaveParamsClick(); });
    connect(m_menu, &MainMenu::fileMenuOpening, this, &TMainForm::showRecentFiles);
    connect(m_menu, &MainMenu::recentFileChosen, this, [this](const QString &path) {
        guarded([&] {
            if (!QFileInfo(path).isFile())
                showRecentFiles(); // gone since the menu was made: it leaves the list
            m_files->openChosen(path);
        });
    });
    // "Восстановить…" there: the backup is held, then written as "Записать" writes (its preview
    // says what the restore changes and which newer records of the device it replaces).
    onTriggered(m_menu->backups(), [this] {
        if (m_files->restoreBackup())
            bSetParamsClick();
    });
    onTriggered(m_menu->exportProfile(), [this] { m_profiles->runExport(); });
    onTriggered(m_menu->importProfile(), [this] { m_profiles->runImport(); });
    onTriggered(m_menu->history(), [this] { m_history->showWindow(); });
    onTriggered(m_menu->addToHistory(), [this] { m_history->addHeld(); });
    onTriggered(m_menu->autoHistory(), [this] { m_history->toggleAuto(); });
    connect(m_menu->exit(), &QAction::triggered, this, &QWidget::close);
    onTriggered(m_menu->compareFile(), [this] { m_files->compareWithFile(); });
    onTriggered(m_menu->compareDevice(), [this] { m_device->compareWithDevice(); });
    onTriggered(m_menu->connectionCheck(), [this] {
        // The link's check looks at the port in use, or knows the demo device stands in for the
        // trip computer.
        ConnectionCheckDialog dialog(this,
                                     m_setup.link ? m_setup.link->connectionCheck() : ConnectionCheckDialog::Check());
        execDialog(dialog);
    });
    onTriggered(m_menu->manual(), [this] { openManual(this, QStringLiteral("index.html")); });
    onTriggered(m_menu->supportReport(), [this] {
        SupportReportDialog dialog(this, supportReportInput(),
                                   m_state.hasSettings() ? suggestedFileName(m_state.model(), QStringLiteral("txt"),
                                                                             QStringLiteral("поддержка"))
                                                         : QString());
        execDialog(dialog);
    });
    onTriggered(m_menu->about(), [this] {
        AboutDialog dialog({QFileInfo(m_setup.iniPath).absoluteFilePath(), backupDir()}, this);
        execDialog(dialog);
    });
}

void TMainForm::updateTitle()
{
    const QString path = m_files->currentPath();
    setWindowTitle(path.isEmpty() ? caption() + QStringLiteral("[*]")
                                  : QStringLiteral("%1 — %2[*]").arg(caption(), QFileInfo(path).fileName()));
    setWindowModified(m_state.modified());
}

SupportReportInput TMainForm::supportReportInput() const
{
    SupportReportInput in;
    const QString version = QCoreApplication::applicationVersion();
    in.program = version.isEmpty() ? QStringLiteral("mkconf") : QStringLiteral("mkconf %1").arg(version);
    const DeviceLink *link = m_setup.link.get();
    if (link)
        in.port = link->deviceName();
    const auto nodes = link ? link->watchedNodes() : std::function<QList<SerialNodeInfo>()>();
    in.nodes = nodes ? nodes() : systemSerialNodes();
    const auto check = link ? link->connectionCheck() : std::function<ConnectionReport()>();
    in.connection = check ? check() : checkConnection();
    if (m_state.hasSettings()) {
        in.settings = &m_state.model();
        in.settingsSource = heldStatusText(m_state.held(), m_state.modified());
        in.journals = journalsText(m_state.model().record(kTripsSection));
    }
    in.lastError = lastShownError();
    in.trace = sessionTraceTail();
    return in;
}

void TMainForm::showRecentFiles() { m_menu->showRecentFiles(m_recent.files()); }

QString TMainForm::backupDir() const { return m_setup.link ? m_setup.link->backupDir() : defaultBackupDir(); }

void TMainForm::addPermanentStatusWidget(QWidget *widget, int stretch)
{
    m_statusBar->addPermanentWidget(widget, stretch);
}

QStatusBar &TMainForm::statusBar() { return *m_statusBar; }

bool TMainForm::autoSearch() const { return m_device->autoSearch(); }

bool TMainForm::editingEnabled() const { return m_panel->editingEnabled(); }

bool TMainForm::autoHistory() const { return m_history->autoHistory(); }

const QString &TMainForm::autoHistoryCar() const { return m_history->autoHistoryCar(); }

void TMainForm::showEvent(QShowEvent *event)
{
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
    QWidget::showEvent(event);
}

void TMainForm::FormShow()
{
    if (!m_setup.programDir.isEmpty())
        QDir::setCurrent(m_setup.programDir);
    m_setup.access->grant(); // the port dialogs never ask for the password in this program
    bool automatic = true;
    {
        IniFile ini(m_setup.iniPath);
        if (m_setup.link) // its complaint (no serial port at all) does not stop the start
            guarded([&] { m_setup.link->loadSettings(ini); });
        automatic = ini.readBool(kCommonSection, kAutoKey, automatic);
        m_history->loadSettings(ini);
        loadPlacement(ini, kMainWindowSection, *this);
    }
    m_device->setAutoSearch(automatic);
    m_files->setFileDir(m_setup.fileDir.isEmpty() ? m_setup.programDir : m_setup.fileDir);
    m_panel->showAutoSearch(automatic);
    m_state.setModified(false);
    showRecentFiles();
    // A file given on the command line (a double-click on it) is loaded once the window is up,
    // so that an error box about it has the window behind it.
    if (!m_setup.startFile.isEmpty())
        QTimer::singleShot(0, this, [this] { guarded([this] { loadFile(m_setup.startFile); }); });
}

void TMainForm::bringToFront()
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void TMainForm::openFile(const QString &path)
{
    bringToFront();
    guarded([&] {
        if (m_files->mayReplaceSettings())
            loadFile(path);
    });
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    if (exchangeRunning()) {
        event->ignore(); // the exchange ends first; its Cancel is on the progress window
        return;
    }
    bool mayClose = false;
    guarded([&] { mayClose = m_files->mayReplaceSettings(); });
    if (!mayClose) {
        event->ignore(); // the edits stay; so does the program
        return;
    }
    FormClose();
    event->accept();
}

void TMainForm::FormClose()
{
    if (!m_shown)
        return;
    if (!m_setup.programDir.isEmpty())
        QDir::setCurrent(m_setup.programDir);
    IniFile ini(m_setup.iniPath);
    if (m_setup.link)
        m_setup.link->saveSettings(ini);
    ini.writeBool(kCommonSection, kAutoKey, m_device->autoSearch());
    storePlacement(ini, kMainWindowSection, *this);
}

void TMainForm::guarded(const std::function<void()> &step)
{
    try {
        step();
    } catch (const Error &error) {
        // A port problem offers the check of the port the exchange used.
        showErrorOfferingCheck(this, error,
                               m_setup.link ? m_setup.link->connectionCheck() : ConnectionCheckDialog::Check());
    } catch (...) {
        showCurrentException(this);
    }
}

void TMainForm::bGetParamsClick() { m_device->read(); }

void TMainForm::bLoadParamsClick() { m_files->open(); }

void TMainForm::loadFile(const QString &path) { m_files->loadFile(path); }

void TMainForm::bEditParamsClick()
{
    if (m_setup.steps.edit(this, m_state.model()))
        m_state.setModified(true);
}

void TMainForm::bViewJournalsClick() { m_setup.steps.journals(this, m_state.model()); }

void TMainForm::bViewOscClick() { m_setup.steps.osc(this, m_state.model()); }

bool TMainForm::bSaveParamsClick() { return m_files->save(); }

void TMainForm::bSetParamsClick() { m_device->write(); }

} // namespace mk
