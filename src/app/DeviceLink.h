#pragma once
// What the main window needs of the device link. The configurator wires the serial link to
// it; tests of the window use a scripted stand-in.

#include <QString>

class QWidget;

namespace mk {

class IniFile;
class Progress;
class TMK;

enum class ExchangeEnd { Done, Cancelled };

struct WriteReport
{
    ExchangeEnd end = ExchangeEnd::Done;
    QString backupPath; // where the device's memory was kept before writing; empty if nowhere
};

class DeviceLink
{
public:
    virtual ~DeviceLink() = default;

    // The link's own ini keys ("RS232"/"Port").
    virtual void loadSettings(IniFile &ini) = 0;
    virtual void saveSettings(IniFile &ini) = 0;

    // On the user-interface thread, before every exchange. With `automatic` the device's port
    // is searched for, otherwise the port chosen by hand is kept. Shows its own message and
    // returns false when the exchange must not start.
    virtual bool findDevicePort(QWidget *parent, bool automatic) = 0;
    // The manual port choice behind the access check; leaves the port closed.
    virtual void selectPortDialog(QWidget *parent) = 0;

    // On the exchange's worker thread. Both throw Error with the text the user sees.
    // Reading replaces the model's image and model code and decodes the image.
    virtual ExchangeEnd readDevice(TMK &model, Progress &progress) = 0;
    // Writing re-reads the device into the model, merges the edited records and sends them.
    virtual WriteReport writeDevice(TMK &model, Progress &progress) = 0;
};

} // namespace mk
