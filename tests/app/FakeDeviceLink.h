// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A scripted device link for the main window's tests.

#include "app/DeviceLink.h"
#include "image/FactoryImage.h"
#include "image/TMK.h"
#include "link/Progress.h"
#include "session/DeviceSession.h"
#include "widgets/IniFile.h"

#include <functional>

namespace mk::test {

struct FakeLinkScript
{
    bool portFound = true;
    int findCalls = 0;
    bool lastAutomatic = true;
    int portDialogs = 0;
    int reads = 0;
    int writes = 0;
    int port = 3;
    // Defaults: a device of model 1 holding its factory memory.
    std::function<ExchangeEnd(TMK &, Progress &)> read = [](TMK &model, Progress &progress) {
        progress.setText(QStringLiteral("Чтение настроек..."));
        progress.setValue(100);
        model.replaceImage(1, makeFactoryImage(1, 1));
        return ExchangeEnd::Done;
    };
    std::function<WriteReport(TMK &, Progress &)> write = [](TMK &, Progress &) {
        return WriteReport{ExchangeEnd::Done, QStringLiteral("/tmp/backup.tcset")};
    };
    // When set, a write first shows the preview against this device memory; a declined preview
    // ends the write as cancelled before `write` runs (then `written` stays false).
    QByteArray deviceImage;
    bool written = false;
    RecordedData lastRecorded = RecordedData::FollowDevice;
    std::set<RecordedUnitId> lastTake; // what the preview chose to write from the settings
    QString backupDir = QStringLiteral("/tmp");
};

class FakeDeviceLink : public DeviceLink
{
public:
    explicit FakeDeviceLink(FakeLinkScript &script) : m_script(script) {}

    void loadSettings(IniFile &ini) override
    {
        m_script.port = ini.readInteger(QStringLiteral("RS232"), QStringLiteral("Port"), m_script.port);
    }
    void saveSettings(IniFile &ini) override
    {
        ini.writeInteger(QStringLiteral("RS232"), QStringLiteral("Port"), m_script.port);
    }
    bool findDevicePort(QWidget *, bool automatic) override
    {
        ++m_script.findCalls;
        m_script.lastAutomatic = automatic;
        return m_script.portFound;
    }
    void selectPortDialog(QWidget *) override { ++m_script.portDialogs; }
    ExchangeEnd readDevice(TMK &model, Progress &progress) override
    {
        ++m_script.reads;
        return m_script.read(model, progress);
    }
    WriteReport writeDevice(const WritableSettings &settings, Progress &progress, const WritePreview &preview,
                            RecordedData recorded) override
    {
        TMK &model = settings.model();
        ++m_script.writes;
        m_script.lastRecorded = recorded;
        if (!m_script.deviceImage.isEmpty() && preview) {
            TMK device;
            device.replaceImage(model.modelCode(), m_script.deviceImage);
            // What a write would send: the held records merged into the device's memory.
            const TMK toWrite = mergeRecords(model, model.modelCode(), m_script.deviceImage, recorded);
            std::set<RecordedUnitId> take;
            if (!preview(device, toWrite, take))
                return {ExchangeEnd::Cancelled, {}};
            m_script.lastTake = take;
        }
        m_script.written = true;
        return m_script.write(model, progress);
    }
    QString backupDir() const override { return m_script.backupDir; }
    QString deviceName() const override { return QStringLiteral("МК на COM%1").arg(m_script.port); }

private:
    FakeLinkScript &m_script;
};

} // namespace mk::test
