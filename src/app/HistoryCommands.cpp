// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/HistoryCommands.h"

#include "app/HeldState.h"
#include "base/Clock.h"
#include "base/Error.h"
#include "history/CarNames.h"
#include "history/HistoryDatabase.h"
#include "image/SettingsFile.h"
#include "image/TMK.h"
#include "session/HistoryAdd.h"
#include "viewers/HistoryCarDialog.h"
#include "viewers/HistoryWindow.h"
#include "viewers/HistoryWork.h"
#include "widgets/IniFile.h"
#include "widgets/MessageBoxes.h"

#include <QAction>
#include <QStatusBar>

namespace mk {

namespace {

const QString kHistorySection = QStringLiteral("History");
const QString kAutoAddKey = QStringLiteral("AutoAdd");
const QString kCarKey = QStringLiteral("Car");
constexpr int kStatusMessageMs = 15000;

// The session's add on a worker thread, from its own copy of the settings: events still handled
// meanwhile (a file handed over by a second copy of the program) may replace the settings held.
HistoryAddResult addOffUiThread(const QString &databasePath, const QString &car, const TMK &tmk,
                                const JournalsOrigin &origin)
{
    const TMK snapshot = tmk;
    return historyOffUiThread<HistoryAddResult>([&] { return addToHistory(databasePath, car, snapshot, origin); });
}

// The history's cars for the car dialog, read on a worker thread.
QStringList carsOffUiThread(const QString &databasePath)
{
    return historyOffUiThread<QStringList>([&] { return historyCars(databasePath); });
}

} // namespace

HistoryCommands::HistoryCommands(QWidget *window, HeldState &state, QStatusBar &statusBar, QAction *autoAction,
                                 QString iniPath, QString historyPath)
    : m_window(window),
      m_state(state),
      m_statusBar(statusBar),
      m_autoAction(autoAction),
      m_iniPath(std::move(iniPath)),
      m_historyPath(std::move(historyPath))
{}

QString HistoryCommands::databasePath() const
{
    return m_historyPath.isEmpty() ? HistoryDatabase::defaultPath() : m_historyPath;
}

void HistoryCommands::showAuto()
{
    m_autoAction->setChecked(m_autoHistory);
    m_autoAction->setToolTip(m_autoHistory ? QStringLiteral("Автомобиль: %1").arg(m_autoHistoryCar) : QString());
}

void HistoryCommands::loadSettings(IniFile &ini)
{
    // The ini file may have been edited by hand: a name is taken as a dialog would take it.
    m_autoHistoryCar = cleanCarName(ini.settings().value(kHistorySection + QLatin1Char('/') + kCarKey).toString());
    m_autoHistory = ini.readBool(kHistorySection, kAutoAddKey, false) && !m_autoHistoryCar.isEmpty();
    showAuto();
}

void HistoryCommands::showWindow()
{
    HistoryWindow window(databasePath(), m_autoHistoryCar, m_window);
    execDialog(window);
}

void HistoryCommands::addHeld()
{
    if (!m_state.model().hasImage())
        throw Error(ErrorKind::BadValue,
                    QStringLiteral("Нет журналов: сначала считайте настройки из МК или из файла."));
    const QString car = askHistoryCar(m_window, carsOffUiThread(databasePath()), m_autoHistoryCar);
    if (car.isEmpty())
        return;
    // Settings held from no read the window saw (none so far) count as read now.
    const QDateTime readTime = m_state.journalsReadTime().isValid() ? m_state.journalsReadTime() : currentDateTime();
    const QString source =
        m_state.journalsSource().isEmpty() ? QStringLiteral("настройки в окне программы") : m_state.journalsSource();
    const HistoryAddResult added = addOffUiThread(databasePath(), car, m_state.model(), {readTime, source});
    showInformation(m_window, historyAddedText(car, added));
}

void HistoryCommands::toggleAuto()
{
    bool on = m_autoAction->isChecked();
    QString car = m_autoHistoryCar;
    if (on) {
        car = askHistoryCar(m_window, carsOffUiThread(databasePath()), m_autoHistoryCar,
                            QStringLiteral("Добавлять журналы в историю после каждого чтения"));
        on = !car.isEmpty();
    }
    m_autoHistory = on;
    if (on)
        m_autoHistoryCar = car;
    showAuto();
    // Kept at once, with the program's other settings.
    IniFile ini(m_iniPath);
    ini.writeBool(kHistorySection, kAutoAddKey, m_autoHistory);
    ini.settings().setValue(kHistorySection + QLatin1Char('/') + kCarKey, m_autoHistoryCar);
}

void HistoryCommands::addRead()
{
    if (!m_autoHistory)
        return;
    try {
        const HistoryAddResult added = addOffUiThread(databasePath(), m_autoHistoryCar, m_state.model(),
                                                      {m_state.journalsReadTime(), m_state.journalsSource()});
        m_statusBar.showMessage(historyAddedText(m_autoHistoryCar, added), kStatusMessageMs);
    } catch (const Error &e) {
        showError(m_window,
                  QStringLiteral("Настройки считаны, но журналы не добавлены в историю поездок.\n\n%1").arg(e.text()));
    }
}

void HistoryCommands::addBackup(QWidget *parent, const QString &path, const QDateTime &when)
{
    try {
        TMK backup;
        openSettingsFile(backup, path);
        const QString car = askHistoryCar(parent, carsOffUiThread(databasePath()), m_autoHistoryCar);
        if (car.isEmpty())
            return;
        showInformation(parent,
                        historyAddedText(car, addOffUiThread(databasePath(), car, backup, backupOrigin(path, when))));
    } catch (const Error &e) {
        showError(parent, e.text());
    }
}

} // namespace mk
