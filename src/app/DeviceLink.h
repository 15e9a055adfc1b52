// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the main window needs of the device link. The configurator wires the serial link to
// it; tests of the window use a scripted stand-in.

#include "image/RecordSync.h"
#include "link/ConnectionCheck.h"
#include "link/PortDiscovery.h"

#include <QString>
#include <functional>
#include <set>

class QWidget;

namespace mk {

class IniFile;
class Progress;
class TMK;
class WritableSettings;

enum class ExchangeEnd { Done, Cancelled };

// Asked during a write, after the device was read afresh and the edited records merged in, before
// anything is written: the device's memory as read and what would be written. false: nothing is
// written and the write ends as cancelled. `take` hears the units of what the device records
// that the user chose to write from the settings (the write merges again with them). Runs on
// the exchange's worker thread.
using WritePreview = std::function<bool(const TMK &device, const TMK &toWrite, std::set<RecordedUnitId> &take)>;

struct WriteReport
{
    ExchangeEnd end = ExchangeEnd::Done;
    QString backupPath;    // where the device's memory was kept before writing; empty if nowhere
    bool verified = false; // what was written was read back from the device and matched
    // The device recorded something while the write ran (a trip ended); it was kept.
    bool recordedMeanwhile = false;
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
    // Writing re-reads the device into the settings (checked before the port was searched),
    // merges their edited records and sends them; what the device records follows `recorded`.
    // `preview`, when given, may stop it before the first byte is written.
    virtual WriteReport writeDevice(const WritableSettings &settings, Progress &progress, const WritePreview &preview,
                                    RecordedData recorded) = 0;

    // Where the device's memory is kept before each write.
    virtual QString backupDir() const;

    // The device of the last exchange as the status bar names it: "МК на COM3 — /dev/mk-0",
    // "МК (демо)" for the simulated one.
    virtual QString deviceName() const { return QStringLiteral("МК"); }
    // The simulated device of mkconf --demo stands behind the link.
    virtual bool isDemo() const { return false; }
    // The serial nodes the status bar watches for the device; the system's when not given.
    virtual std::function<QList<SerialNodeInfo>()> watchedNodes() const { return {}; }
    // The connection check for this link: it looks at the port in use, or knows the demo device
    // stands in for the trip computer. The system's plain check when not given.
    virtual std::function<ConnectionReport()> connectionCheck() const { return {}; }
};

} // namespace mk
