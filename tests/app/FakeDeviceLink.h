#pragma once
// A scripted device link for the main window's tests.

#include "app/DeviceLink.h"
#include "app/IniFile.h"
#include "link/Progress.h"
#include "model/FactoryImage.h"
#include "model/TMK.h"

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
    WriteReport writeDevice(TMK &model, Progress &progress) override
    {
        ++m_script.writes;
        return m_script.write(model, progress);
    }

private:
    FakeLinkScript &m_script;
};

} // namespace mk::test
