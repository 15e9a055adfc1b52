// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's trip history commands: the history window, adding the journals held (after
// a read from the device, a file or a backup) to a car's history, and doing so after every read.

#include "app/TMainForm.h"

#include "app/MainMenu.h"
#include "base/Error.h"
#include "history/CarNames.h"
#include "history/HistoryDatabase.h"
#include "image/SettingsFile.h"
#include "image/TMK.h"
#include "viewers/HistoryCarDialog.h"
#include "viewers/HistoryWindow.h"
#include "widgets/IniFile.h"
#include "widgets/MessageBoxes.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QStatusBar>

namespace mk {

namespace {

const QString kHistorySection = QStringLiteral("History");
const QString kAutoAddKey = QStringLiteral("AutoAdd");
const QString kCarKey = QStringLiteral("Car");
constexpr int kStatusMessageMs = 15000;

} // namespace

void TMainForm::buildHistoryTools()
{
    QAction *window = m_menu->addFileAction(QStringLiteral("Ис&тория поездок…"), QStringLiteral("miHistory"));
    m_addToHistory =
        m_menu->addFileAction(QStringLiteral("&Добавить журналы в историю…"), QStringLiteral("miAddToHistory"));
    m_autoHistoryAction = m_menu->addFileAction(QStringLiteral("Добавлять журналы в историю &после каждого чтения…"),
                                                QStringLiteral("miAutoHistory"));
    m_autoHistoryAction->setCheckable(true);
    m_addToHistory->setEnabled(editingEnabled());
    connect(window, &QAction::triggered, this, [this] { guarded([this] { miHistoryClick(); }); });
    connect(m_addToHistory, &QAction::triggered, this, [this] { guarded([this] { miAddToHistoryClick(); }); });
    connect(m_autoHistoryAction, &QAction::triggered, this, [this] { guarded([this] { miAutoHistoryClick(); }); });
}

QString TMainForm::historyPath() const
{
    return m_setup.historyPath.isEmpty() ? HistoryDatabase::defaultPath() : m_setup.historyPath;
}

void TMainForm::loadHistorySettings(IniFile &ini)
{
    // The ini file may have been edited by hand: a name is taken as a dialog would take it.
    m_autoHistoryCar = cleanCarName(ini.settings().value(kHistorySection + QLatin1Char('/') + kCarKey).toString());
    m_autoHistory = ini.readBool(kHistorySection, kAutoAddKey, false) && !m_autoHistoryCar.isEmpty();
    m_autoHistoryAction->setChecked(m_autoHistory);
    m_autoHistoryAction->setToolTip(m_autoHistory ? QStringLiteral("Автомобиль: %1").arg(m_autoHistoryCar) : QString());
}

void TMainForm::miHistoryClick()
{
    HistoryWindow window(historyPath(), m_autoHistoryCar, this);
    execDialog(window);
}

void TMainForm::miAddToHistoryClick()
{
    if (!m_model->hasImage())
        throw Error(QStringLiteral("Нет журналов: сначала считайте настройки из МК или из файла."));
    const QString car = askHistoryCar(this, historyPath(), m_autoHistoryCar);
    if (car.isEmpty())
        return;
    // Settings held from no read the window saw (none so far) count as read now.
    const QDateTime readTime = m_journalsReadTime.isValid() ? m_journalsReadTime : QDateTime::currentDateTime();
    const QString source = m_journalsSource.isEmpty() ? QStringLiteral("настройки в окне программы") : m_journalsSource;
    const HistoryAddResult added = addToHistory(historyPath(), car, *m_model, readTime, source);
    showInformation(this, historyAddedText(car, added));
}

void TMainForm::miAutoHistoryClick()
{
    bool on = m_autoHistoryAction->isChecked();
    QString car = m_autoHistoryCar;
    if (on) {
        car = askHistoryCar(this, historyPath(), m_autoHistoryCar,
                            QStringLiteral("Добавлять журналы в историю после каждого чтения"));
        on = !car.isEmpty();
    }
    m_autoHistory = on;
    if (on)
        m_autoHistoryCar = car;
    m_autoHistoryAction->setChecked(on);
    m_autoHistoryAction->setToolTip(on ? QStringLiteral("Автомобиль: %1").arg(car) : QString());
    // Kept at once, with the program's other settings.
    IniFile ini(m_setup.iniPath);
    ini.writeBool(kHistorySection, kAutoAddKey, m_autoHistory);
    ini.settings().setValue(kHistorySection + QLatin1Char('/') + kCarKey, m_autoHistoryCar);
}

void TMainForm::addReadToHistory()
{
    if (!m_autoHistory)
        return;
    try {
        const HistoryAddResult added =
            addToHistory(historyPath(), m_autoHistoryCar, *m_model, m_journalsReadTime, m_journalsSource);
        m_statusBar->showMessage(historyAddedText(m_autoHistoryCar, added), kStatusMessageMs);
    } catch (const Error &e) {
        showError(this,
                  QStringLiteral("Настройки считаны, но журналы не добавлены в историю поездок.\n\n%1").arg(e.text()));
    }
}

void TMainForm::addBackupToHistory(QWidget *parent, const QString &path, const QDateTime &when)
{
    try {
        TMK backup;
        openSettingsFile(backup, path);
        const QString car = askHistoryCar(parent, historyPath(), m_autoHistoryCar);
        if (car.isEmpty())
            return;
        const QString source =
            QStringLiteral("резервная копия %1").arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
        showInformation(parent, historyAddedText(car, addToHistory(historyPath(), car, backup, when, source)));
    } catch (const Error &e) {
        showError(parent, e.text());
    }
}

} // namespace mk
