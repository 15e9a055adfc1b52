// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DeviceSteps.h"

#include "app/CompareWindow.h"
#include "app/DeviceLink.h"
#include "app/ExchangeRunner.h"
#include "app/FileSteps.h"
#include "app/HeldState.h"
#include "app/RecordedChoicesView.h"
#include "app/WritePreviewDialog.h"
#include "base/Clock.h"
#include "image/RecordSync.h"
#include "image/SettingsFile.h"
#include "image/TMK.h"
#include "session/DeviceSession.h"
#include "session/HistoryAdd.h"
#include "settings/RecordedUnitTexts.h"
#include "settings/SettingsDiff.h"
#include "widgets/MessageBoxes.h"

#include <QDateTime>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

namespace mk {

DeviceSteps::DeviceSteps(QWidget *window, DeviceLink *link, HeldState &state, FileSteps &files)
    : m_window(window), m_link(link), m_state(state), m_files(files)
{}

void DeviceSteps::choosePort()
{
    if (m_link)
        m_link->selectPortDialog(m_window);
}

void DeviceSteps::read()
{
    if (exchangeRunning())
        return;
    if (!m_files.mayReplaceSettings())
        return;
    if (!m_link || !m_link->findDevicePort(m_window, m_auto))
        return;
    // A read that fails or is cancelled leaves the settings held before untouched, so the
    // editing buttons keep their state as well.
    ExchangeEnd end = ExchangeEnd::Cancelled;
    runExchange(m_window, [&](Progress &progress) { end = m_link->readDevice(m_state.model(), progress); });
    if (end == ExchangeEnd::Done) {
        m_state.setHasSettings(true);
        m_state.setHeld(HeldSettings::Source::DeviceRead, m_link->deviceName(), currentDateTime());
        const JournalsOrigin origin = deviceOrigin(m_link->deviceName(), m_state.held().when);
        m_state.setJournalsOrigin(origin.readTime, origin.source);
        emit settingsRead();
    }
}

void DeviceSteps::write()
{
    if (exchangeRunning())
        return;
    // Settings that lack sections are refused before the device is even looked for.
    const WritableSettings settings = WritableSettings::check(m_state.model());
    if (!m_link || !m_link->findDevicePort(m_window, m_auto))
        return;
    WriteReport report;
    // Restoring a backup puts back everything it holds; otherwise the journals and counters the
    // device keeps stay its own, but for what the user changed or chooses in the preview.
    const RecordedData recorded =
        m_state.held().source == HeldSettings::Source::Backup ? RecordedData::FromSettings : RecordedData::FollowDevice;
    const WritePreview preview = [this, recorded](const TMK &device, const TMK &toWrite,
                                                  std::set<RecordedUnitId> &take) {
        return askOnUiThread(m_window, [&] { return confirmWrite(device, toWrite, recorded, take); });
    };
    runExchange(m_window,
                [&](Progress &progress) { report = m_link->writeDevice(settings, progress, preview, recorded); });
    if (report.end != ExchangeEnd::Done)
        return;
    m_state.setHeld(HeldSettings::Source::DeviceWritten, m_link->deviceName(), currentDateTime());
    QString text = QStringLiteral("Настройки записаны в МК");
    if (report.verified)
        text += QStringLiteral("\n\nЗаписанное прочитано из МК обратно и совпадает с отправленным.");
    if (report.recordedMeanwhile)
        text += QStringLiteral("\n\nЗа время записи МК пополнил свои журналы или счётчики; записанное их сохранило.");
    if (!report.backupPath.isEmpty())
        text += QStringLiteral("\n\nПрежние настройки МК сохранены в файле\n%1")
                    .arg(QDir::toNativeSeparators(report.backupPath));
    showInformation(m_window, text);
}

bool DeviceSteps::confirmWrite(const TMK &device, const TMK &toWrite, RecordedData recorded,
                               std::set<RecordedUnitId> &take)
{
    // The progress window is hidden while the exchange waits for the answer: over the main window.
    QWidget *parent = boxParent(m_window);
    const TMK &held = m_state.model();
    const WritePreviewData data = writePreviewData(device, held, toWrite, recorded);
    // A restore says first which newer records of the device it puts back to the backup's.
    if (!data.restoreReplaces.isEmpty() && !askToReplace(parent, data.restoreReplaces))
        return false;
    if (data.nothingToWrite()) {
        showInformation(parent, QStringLiteral("Настройки в МК уже такие же, как записываемые. Запись не нужна, "
                                               "в МК ничего не записано."));
        return false;
    }
    // The note that the page closed a hot menu's gaps only where it did so in this session.
    SettingsDiff diff = data.diff;
    creditSessionTidyUps(diff, held);
    WritePreviewDialog dialog(diff, parent);
    dialog.setNote(data.plan.text());
    RecordedChoicesView *choices = nullptr;
    if (!data.recorded.empty()) {
        choices = new RecordedChoicesView(data.recorded, device, held);
        dialog.setRecordedChoices(choices);
    }
    if (execDialog(dialog) != QDialog::Accepted)
        return false;
    if (choices)
        take = choices->chosen();
    return true;
}

bool DeviceSteps::askToReplace(QWidget *parent, const QStringList &replaced)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Восстановление копии"),
                    QStringLiteral("В МК есть данные новее, чем в копии; восстановление заменит их данными копии:\n\n"
                                   "%1\n\nВосстановить копию?")
                        .arg(replaced.join(QLatin1Char('\n'))),
                    QMessageBox::Ok | QMessageBox::Cancel, parent);
    box.setObjectName(QStringLiteral("RestoreReplacesBox"));
    box.button(QMessageBox::Ok)->setText(QStringLiteral("&Восстановить"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Отмена"));
    // Nothing of the device's is replaced by a stray Enter.
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    return execDialog(box) == QMessageBox::Ok;
}

void DeviceSteps::compareWithDevice()
{
    if (exchangeRunning())
        return;
    if (!m_link || !m_link->findDevicePort(m_window, m_auto))
        return;
    TMK other;
    ExchangeEnd end = ExchangeEnd::Cancelled;
    runExchange(m_window, [&](Progress &progress) { end = m_link->readDevice(other, progress); });
    if (end == ExchangeEnd::Done)
        showComparison(m_window, m_state.model(), other, QStringLiteral("В МК"), QStringLiteral("МК"));
}

} // namespace mk
