// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TMainForm.h"

#include "app/AboutDialog.h"
#include "app/AccessCheck.h"
#include "app/Application.h"
#include "app/BackupsDialog.h"
#include "app/CompareWindow.h"
#include "app/ConnectionCheckDialog.h"
#include "app/DecorativePicture.h"
#include "app/DeviceLink.h"
#include "app/ExchangeRunner.h"
#include "app/HelpWindow.h"
#include "app/MainMenu.h"
#include "app/WindowPlacement.h"
#include "app/WritePreviewDialog.h"
#include "base/Error.h"
#include "editor/EditTransaction.h"
#include "image/RecordSync.h"
#include "image/SettingsFile.h"
#include "image/SuggestedName.h"
#include "image/TMK.h"
#include "link/Backup.h"
#include "settings/SettingsDiff.h"
#include "viewers/ViewerTransactions.h"
#include "widgets/ElidedLabel.h"
#include "widgets/IniFile.h"
#include "widgets/MessageBoxes.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

namespace mk {

namespace {

const QString kUnsavedQuestion =
    QStringLiteral("Возможно, настройки были изменены, но не сохранены на диске. Сохранить?");
const QString kMainWindowSection = QStringLiteral("MainWindow");
const QString kCommonSection = QStringLiteral("Common");
const QString kAutoKey = QStringLiteral("Auto");

constexpr int kClientWidth = 810;
constexpr int kClientHeight = 401;

QFont boldened(QFont font)
{
    font.setBold(true);
    return font;
}

QPushButton *makeButton(QWidget *parent, const char *name, const QString &text)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setFont(boldened(button->font()));
    button->setMinimumHeight(30);
    // Enter presses the focused button, as in a dialog.
    button->setAutoDefault(true);
    return button;
}

QLabel *makeLabel(QWidget *parent, const char *name, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setWordWrap(true);
    return label;
}

// A group of the step column: its labels and buttons one under another, buttons at their
// natural width.
QGroupBox *makeGroup(QWidget *parent, const char *name, const QString &title, const QList<QWidget *> &items,
                     QWidget *corner = nullptr)
{
    auto *group = new QGroupBox(title, parent);
    group->setObjectName(QLatin1String(name));
    auto *column = new QVBoxLayout;
    column->setSpacing(4);
    for (QWidget *item : items) {
        item->setParent(group);
        if (qobject_cast<QPushButton *>(item))
            column->addWidget(item, 0, Qt::AlignLeft);
        else
            column->addWidget(item);
    }
    auto *row = new QHBoxLayout(group);
    row->setContentsMargins(8, 4, 8, 6);
    row->addLayout(column, 1);
    if (corner) {
        corner->setParent(group);
        row->addWidget(corner, 0, Qt::AlignRight | Qt::AlignBottom);
    }
    return group;
}

} // namespace

TMainForm::TMainForm(MainFormSetup setup, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_setup(std::move(setup)),
      m_model(std::make_unique<TMK>())
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(caption());
    if (!m_setup.access)
        m_setup.access = &programAccess();
    if (!m_setup.steps.edit)
        m_setup.steps.edit = runEditTransaction;
    if (!m_setup.steps.journals)
        m_setup.steps.journals = runJournalTransaction;
    if (!m_setup.steps.osc)
        m_setup.steps.osc = runOscTransaction;
    buildControls();
    buildMenu();
    layout()->activate();
    setFixedSize(sizeHint());
    // Centred on the screen unless the ini file says otherwise; placed by its own area, as the
    // stored placement is (the window manager's frame comes later).
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(QRect(screen->availableGeometry().center() - rect().center(), size()));
}

TMainForm::~TMainForm() = default;

QString TMainForm::caption() { return QStringLiteral("Просмотр и настройка параметров МК (Версия 16.04.19)"); }

void TMainForm::buildControls()
{
    // Every button and the check box carry an Alt shortcut (the underlined letter), unique in the
    // window.
    m_label5 = makeLabel(this, "Label5",
                         QStringLiteral("Внимание! Для правильной работы программы \r\nНЕОБХОДИМО \r\n"
                                        "предварительно загрузить в МК последнюю версию ПО.")
                             .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    m_label5->setAlignment(Qt::AlignCenter);
    m_label5->setFont(boldened(m_label5->font()));
    QPalette red = m_label5->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    m_label5->setPalette(red);

    m_cbAuto = new QCheckBox(QStringLiteral("Искать МК &автоматически"), this);
    m_cbAuto->setObjectName(QStringLiteral("cbAuto"));
    m_cbAuto->setFont(boldened(m_cbAuto->font()));
    m_cbAuto->setChecked(true);
    m_bRS232 = makeButton(this, "bRS232", QStringLiteral("Выбрать СОМ-порт &вручную"));
    m_bRS232->setEnabled(false);

    m_bGetParams = makeButton(this, "bGetParams", QStringLiteral("&Считать настройки из МК"));
    m_bLoadParams = makeButton(this, "bLoadParams", QStringLiteral("Считать настройки из &файла на диске"));
    m_bEditParams = makeButton(this, "bEditParams", QStringLiteral("&Редактировать настройки"));
    m_bViewJournals = makeButton(this, "bViewJournals", QStringLiteral("Просмотреть &журналы"));
    m_bViewOsc = makeButton(this, "bViewOsc", QStringLiteral("Просмотреть данные &осциллографа"));
    m_bSaveParams = makeButton(this, "bSaveParams", QStringLiteral("Сохранить настройки в файл на &диске"));
    m_bSetParams = makeButton(this, "bSetParams", QStringLiteral("&Записать настройки в МК"));

    QGroupBox *step1 = makeGroup(
        this, "GroupBox1", QStringLiteral("Шаг 1"),
        {makeLabel(this, "Label2",
                   QStringLiteral("Для адекватного отображения возможных вариантов настроек считайте текущие "
                                  "настройки МК,")),
         m_bGetParams,
         makeLabel(this, "Label6",
                   QStringLiteral("или, если Вы ранее уже сохраняли настройки на диск, считайте файл с диска.")),
         m_bLoadParams});
    QGroupBox *step2 =
        makeGroup(this, "GroupBox2", QStringLiteral("Шаг 2"),
                  {makeLabel(this, "Label1", QStringLiteral("Произведите изменения настроек.")), m_bEditParams});
    QGroupBox *step2a =
        makeGroup(this, "GroupBox5", QStringLiteral("Шаг 2a"),
                  {makeLabel(this, "Label7", QStringLiteral("Просмотрите журналы поездок, заправок. и ошибок")),
                   m_bViewJournals});
    QGroupBox *step2b = makeGroup(
        this, "GroupBox6", QStringLiteral("Шаг 2b"),
        {makeLabel(this, "Label8", QStringLiteral("Просмотрите записанные данные осциллографа")), m_bViewOsc});
    QGroupBox *step3 = makeGroup(
        this, "GroupBox3", QStringLiteral("Шаг 3"),
        {makeLabel(this, "Label3",
                   QStringLiteral("Для возможности повторного просмотра или редактирования сохраните настройки "
                                  "на диск.")),
         m_bSaveParams});
    auto *picture = new DecorativePicture(this);
    picture->setObjectName(QStringLiteral("Image1"));
    QGroupBox *step4 =
        makeGroup(this, "GroupBox4", QStringLiteral("Шаг 4"),
                  {makeLabel(this, "Label4", QStringLiteral("Запишите настройки в МК")), m_bSetParams}, picture);

    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(m_cbAuto);
    searchRow->addStretch(1);
    searchRow->addWidget(m_bRS232);

    auto *left = new QVBoxLayout;
    left->setSpacing(8);
    left->addWidget(m_label5);
    left->addLayout(searchRow);
    left->addWidget(step1);
    left->addWidget(step2);
    left->addStretch(1);

    auto *right = new QVBoxLayout;
    right->setSpacing(8);
    right->addWidget(step2a);
    right->addWidget(step2b);
    right->addWidget(step3);
    right->addWidget(step4);
    right->addStretch(1);

    // The steps fill the client area of the tabled size; the menu bar goes above it, the status
    // bar below.
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    client->setFixedSize(kClientWidth, kClientHeight);
    for (QWidget *w :
         {static_cast<QWidget *>(m_label5), static_cast<QWidget *>(m_cbAuto), static_cast<QWidget *>(m_bRS232),
          static_cast<QWidget *>(step1), static_cast<QWidget *>(step2), static_cast<QWidget *>(step2a),
          static_cast<QWidget *>(step2b), static_cast<QWidget *>(step3), static_cast<QWidget *>(step4)})
        w->setParent(client);
    auto *columns = new QHBoxLayout(client);
    columns->setContentsMargins(8, 8, 8, 8);
    columns->setSpacing(14);
    // The left column takes what its widest row needs, the right one the rest.
    columns->addLayout(left, 0);
    columns->addLayout(right, 1);

    m_menu = new MainMenu(this);
    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("StatusBar"));
    m_statusBar->setSizeGripEnabled(false);
    m_heldStatus = new ElidedLabel(m_statusBar);
    m_heldStatus->setObjectName(QStringLiteral("heldStatus"));
    m_statusBar->addWidget(m_heldStatus, 1);
    m_heldStatus->setText(heldStatusText(m_held, m_modified));
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->setMenuBar(m_menu);
    outer->addWidget(client);
    outer->addWidget(m_statusBar);

    setEditingEnabled(false);

    connect(m_cbAuto, &QCheckBox::clicked, this, [this] { guarded([this] { cbAutoClick(); }); });
    connect(m_bRS232, &QPushButton::clicked, this, [this] { guarded([this] { bRS232Click(); }); });
    connect(m_bGetParams, &QPushButton::clicked, this, [this] { guarded([this] { bGetParamsClick(); }); });
    connect(m_bLoadParams, &QPushButton::clicked, this, [this] { guarded([this] { bLoadParamsClick(); }); });
    connect(m_bEditParams, &QPushButton::clicked, this, [this] { guarded([this] { bEditParamsClick(); }); });
    connect(m_bViewJournals, &QPushButton::clicked, this, [this] { guarded([this] { bViewJournalsClick(); }); });
    connect(m_bViewOsc, &QPushButton::clicked, this, [this] { guarded([this] { bViewOscClick(); }); });
    connect(m_bSaveParams, &QPushButton::clicked, this, [this] { guarded([this] { bSaveParamsClick(); }); });
    connect(m_bSetParams, &QPushButton::clicked, this, [this] { guarded([this] { bSetParamsClick(); }); });
}

void TMainForm::buildMenu()
{
    connect(m_menu->backups(), &QAction::triggered, this, [this] { guarded([this] { miBackupsClick(); }); });
    connect(m_menu->exit(), &QAction::triggered, this, &QWidget::close);
    connect(m_menu->compareFile(), &QAction::triggered, this, [this] { guarded([this] { miCompareFileClick(); }); });
    connect(m_menu->compareDevice(), &QAction::triggered, this,
            [this] { guarded([this] { miCompareDeviceClick(); }); });
    connect(m_menu->manual(), &QAction::triggered, this,
            [this] { guarded([this] { openManual(this, QStringLiteral("index.html")); }); });
    connect(m_menu->about(), &QAction::triggered, this, [this] { guarded([this] { miAboutClick(); }); });
    installHelpKey(); // F1 in every window of the program
    buildInstallerTools();
    buildHistoryTools();
}

void TMainForm::addPermanentStatusWidget(QWidget *widget, int stretch)
{
    m_statusBar->addPermanentWidget(widget, stretch);
}

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
    m_auto = true;
    {
        IniFile ini(m_setup.iniPath);
        if (m_setup.link) // its complaint (no serial port at all) does not stop the start
            guarded([&] { m_setup.link->loadSettings(ini); });
        m_auto = ini.readBool(kCommonSection, kAutoKey, m_auto);
        loadHistorySettings(ini);
        loadPlacement(ini, kMainWindowSection, *this);
    }
    m_fileDir = m_setup.fileDir.isEmpty() ? m_setup.programDir : m_setup.fileDir;
    m_cbAuto->setChecked(m_auto);
    m_bRS232->setEnabled(!m_auto);
    setModified(false);
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
        if (mayReplaceSettings())
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
    guarded([&] { mayClose = mayReplaceSettings(); });
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
    ini.writeBool(kCommonSection, kAutoKey, m_auto);
    storePlacement(ini, kMainWindowSection, *this);
}

void TMainForm::guarded(const std::function<void()> &step)
{
    try {
        step();
    } catch (const Error &error) {
        // A port problem offers the check of the port the exchange used.
        showErrorOfferingCheck(this, error.text(),
                               m_setup.link ? m_setup.link->connectionCheck() : ConnectionCheckDialog::Check());
    } catch (...) {
        showCurrentException(this);
    }
}

void TMainForm::setModified(bool modified)
{
    m_modified = modified;
    m_heldStatus->setText(heldStatusText(m_held, m_modified));
}

void TMainForm::setHeld(HeldSettings::Source source, const QString &name, const QDateTime &when)
{
    m_held = {source, name, when};
    m_heldStatus->setText(heldStatusText(m_held, m_modified));
}

bool TMainForm::editingEnabled() const { return m_bEditParams->isEnabled(); }

void TMainForm::setEditingEnabled(bool enabled)
{
    for (QPushButton *button : {m_bEditParams, m_bViewJournals, m_bViewOsc, m_bSaveParams, m_bSetParams})
        button->setEnabled(enabled);
    // Comparing needs settings held, as writing does.
    m_menu->compareFile()->setEnabled(enabled);
    m_menu->compareDevice()->setEnabled(enabled);
    if (m_addToHistory)
        m_addToHistory->setEnabled(enabled);
}

void TMainForm::cbAutoClick()
{
    m_auto = m_cbAuto->isChecked();
    m_bRS232->setEnabled(!m_auto);
}

void TMainForm::bRS232Click()
{
    if (m_setup.link)
        m_setup.link->selectPortDialog(this);
}

void TMainForm::bGetParamsClick()
{
    if (exchangeRunning())
        return;
    if (!mayReplaceSettings())
        return;
    if (!m_setup.link || !m_setup.link->findDevicePort(this, m_auto))
        return;
    // A read that fails or is cancelled leaves the settings held before untouched, so the
    // editing buttons keep their state as well.
    ExchangeEnd end = ExchangeEnd::Cancelled;
    runExchange(this, [&](Progress &progress) { end = m_setup.link->readDevice(*m_model, progress); });
    if (end == ExchangeEnd::Done) {
        setEditingEnabled(true);
        setHeld(HeldSettings::Source::DeviceRead, m_setup.link->deviceName(), QDateTime::currentDateTime());
        m_journalsReadTime = m_held.when;
        m_journalsSource = QStringLiteral("чтение из %1").arg(m_setup.link->deviceName());
        addReadToHistory();
    }
}

QString TMainForm::askFileName(bool save)
{
    QFileDialog dialog(this);
    dialog.setObjectName(save ? QStringLiteral("SaveDialog") : QStringLiteral("OpenDialog"));
    dialog.setNameFilter(QStringLiteral("Файлы настроек (*.tcset)"));
    dialog.setDefaultSuffix(QStringLiteral("tcset"));
    dialog.setDirectory(m_fileDir);
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.selectFile(suggestedFileName(*m_model, QStringLiteral("tcset")));
        // The overwrite question is asked by the save step itself, in its own words.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (execDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString path = dialog.selectedFiles().constFirst();
    m_fileDir = QFileInfo(path).absolutePath();
    return path;
}

bool TMainForm::mayReplaceSettings()
{
    if (!m_modified)
        return true;
    switch (askYesNoCancel(this, kUnsavedQuestion)) {
    case Answer::Yes:
        // A save that did not happen (its dialog cancelled, the overwrite refused) keeps the edits.
        return bSaveParamsClick();
    case Answer::No: return true;
    case Answer::Cancel: break;
    }
    return false;
}

void TMainForm::bLoadParamsClick()
{
    if (!mayReplaceSettings())
        return;
    const QString path = askFileName(false);
    if (!path.isEmpty())
        loadFile(path);
}

void TMainForm::loadFile(const QString &path)
{
    m_fileDir = QFileInfo(path).absolutePath();
    // A file that cannot be read leaves the settings held before untouched, so the buttons
    // keep their state as well.
    openSettingsFile(*m_model, path);
    setEditingEnabled(true);
    // What was held before, edited or not, is gone: nothing held now is unsaved.
    setModified(false);
    setHeld(HeldSettings::Source::File, QFileInfo(path).fileName());
    // The journals were read from the device when the file was last written.
    m_journalsReadTime = QFileInfo(path).lastModified();
    m_journalsSource = QStringLiteral("файл %1").arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
    // A file cut short still loads, so that it can be looked at; writing it is refused later.
    if (const QString warning = incompleteSettingsWarning(*m_model); !warning.isEmpty())
        showInformation(this, warning);
}

bool TMainForm::bSaveParamsClick()
{
    const QString path = askFileName(true);
    if (path.isEmpty())
        return false;
    if (QFileInfo::exists(path) && !askYesNo(this, QStringLiteral("Файл уже существует. Переписать?")))
        return false;
    saveSettingsFile(*m_model, path);
    setEditingEnabled(true);
    setHeld(HeldSettings::Source::File, QFileInfo(path).fileName());
    setModified(false);
    return true;
}

void TMainForm::bEditParamsClick()
{
    if (m_setup.steps.edit(this, *m_model))
        setModified(true);
}

void TMainForm::bViewJournalsClick() { m_setup.steps.journals(this, *m_model); }

void TMainForm::bViewOscClick() { m_setup.steps.osc(this, *m_model); }

void TMainForm::bSetParamsClick()
{
    if (exchangeRunning())
        return;
    // Settings that lack sections are refused before the device is even looked for.
    requireCompleteSettings(*m_model);
    if (!m_setup.link || !m_setup.link->findDevicePort(this, m_auto))
        return;
    WriteReport report;
    const WritePreview preview = [this](const TMK &device, const TMK &toWrite) {
        return askOnUiThread(this, [&] { return confirmWrite(device, toWrite); });
    };
    // Restoring a backup puts back everything it holds; otherwise the journals and counters the
    // device keeps stay its own, but for what the user changed.
    const RecordedData recorded =
        m_held.source == HeldSettings::Source::Backup ? RecordedData::FromSettings : RecordedData::FollowDevice;
    runExchange(this,
                [&](Progress &progress) { report = m_setup.link->writeDevice(*m_model, progress, preview, recorded); });
    if (report.end != ExchangeEnd::Done)
        return;
    setHeld(HeldSettings::Source::DeviceWritten, m_setup.link->deviceName(), QDateTime::currentDateTime());
    QString text = QStringLiteral("Настройки записаны в МК");
    if (report.verified)
        text += QStringLiteral("\n\nЗаписанное прочитано из МК обратно и совпадает с отправленным.");
    if (report.recordedMeanwhile)
        text += QStringLiteral("\n\nЗа время записи МК пополнил свои журналы или счётчики; записанное их сохранило.");
    if (!report.backupPath.isEmpty())
        text += QStringLiteral("\n\nПрежние настройки МК сохранены в файле\n%1")
                    .arg(QDir::toNativeSeparators(report.backupPath));
    showInformation(this, text);
}

bool TMainForm::confirmWrite(const TMK &device, const TMK &toWrite)
{
    // Over the progress window, which stays on top while the exchange waits for the answer.
    QWidget *parent = boxParent(this);
    const SettingsDiff diff = diffSettings(device, toWrite);
    if (diff.identical()) {
        showInformation(parent, QStringLiteral("Настройки в МК уже такие же, как записываемые. Запись не нужна, "
                                               "в МК ничего не записано."));
        return false;
    }
    WritePreviewDialog dialog(diff, parent);
    dialog.setNote(recordedPlan(device, toWrite).text());
    return execDialog(dialog) == QDialog::Accepted;
}

void TMainForm::showComparison(const TMK &other, const QString &otherTitle, const QString &source)
{
    CompareWindow window(diffSettings(other, *m_model), otherTitle, source, this);
    window.setSuggestedName(suggestedFileName(*m_model, QStringLiteral("txt"), QStringLiteral("сравнение")));
    execDialog(window);
}

void TMainForm::miCompareFileClick()
{
    const QString path = askFileName(false);
    if (path.isEmpty())
        return;
    TMK other;
    openSettingsFile(other, path);
    showComparison(other, QStringLiteral("В файле"), QStringLiteral("файла %1").arg(QFileInfo(path).fileName()));
}

void TMainForm::miCompareDeviceClick()
{
    if (exchangeRunning())
        return;
    if (!m_setup.link || !m_setup.link->findDevicePort(this, m_auto))
        return;
    // Read into a model of its own: the settings held stay as they are.
    TMK other;
    ExchangeEnd end = ExchangeEnd::Cancelled;
    runExchange(this, [&](Progress &progress) { end = m_setup.link->readDevice(other, progress); });
    if (end == ExchangeEnd::Done)
        showComparison(other, QStringLiteral("В МК"), QStringLiteral("МК"));
}

void TMainForm::miBackupsClick()
{
    const QString dir = m_setup.link ? m_setup.link->backupDir() : defaultBackupDir();
    BackupsDialog dialog(dir, this);
    dialog.setHistoryAdder([this](QWidget *parent, const QString &path, const QDateTime &when) {
        addBackupToHistory(parent, path, when);
    });
    if (execDialog(dialog) != QDialog::Accepted || dialog.chosenPath().isEmpty())
        return;
    // As a file load, with the question about unsaved edits first.
    if (!mayReplaceSettings())
        return;
    // The backups folder is hidden and the program's own: file dialogs keep to the user's folder.
    const QString fileDir = m_fileDir;
    loadFile(dialog.chosenPath());
    m_fileDir = fileDir;
    setHeld(HeldSettings::Source::Backup, QFileInfo(dialog.chosenPath()).fileName(), dialog.chosenWhen());
    m_journalsReadTime = dialog.chosenWhen();
    m_journalsSource = QStringLiteral("резервная копия %1")
                           .arg(QDir::toNativeSeparators(QFileInfo(dialog.chosenPath()).absoluteFilePath()));
}

void TMainForm::miAboutClick()
{
    AboutDialog dialog(
        {QFileInfo(m_setup.iniPath).absoluteFilePath(), m_setup.link ? m_setup.link->backupDir() : defaultBackupDir()},
        this);
    execDialog(dialog);
}

} // namespace mk
