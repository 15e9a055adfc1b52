// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// mkconf's command line: a settings file to open, the demo device and its model.

#include <QString>
#include <QStringList>
#include <memory>

namespace mk {

class DeviceLink;

struct CommandLine
{
    bool help = false;
    bool version = false;
    QString file; // settings file to load at start, made absolute
    bool demo = false;
    quint16 demoModel = 1;   // model code the simulated device reports
    quint32 demoVersion = 1; // settings version of its memory
    QString error;           // set when the arguments make no sense
};

// arguments as QCoreApplication::arguments() gives them (program first).
CommandLine parseCommandLine(const QStringList &arguments);
// --help or --version before any "--": answered before the application (and a display) starts.
enum class EarlyOption { None, Help, Version };
EarlyOption earlyOption(const QStringList &arguments);
QString commandLineHelp();

// The serial link to a real device, or with `demo` to the simulated one started in-process.
std::unique_ptr<DeviceLink> makeDeviceLink(const CommandLine &options);

} // namespace mk
