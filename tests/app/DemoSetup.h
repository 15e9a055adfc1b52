// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's setup on the built-in simulated trip computer, as `mkconf --demo` makes it,
// with its ini ("demo.ini") and its backups ("demo-backups") in a test's own folder.
#pragma once

#include "app/AccessCheck.h"
#include "app/CommandLine.h"
#include "app/SerialDeviceLink.h"
#include "app/TMainForm.h"

#include <QDir>

namespace mk::test {

inline MainFormSetup demoSetup(const QDir &dir, AccessGuard &access, quint16 model, quint32 version)
{
    CommandLine options;
    options.demo = true;
    options.demoModel = model;
    options.demoVersion = version;
    MainFormSetup setup;
    setup.iniPath = dir.filePath(QStringLiteral("demo.ini"));
    setup.programDir = dir.path();
    setup.link = makeDeviceLink(options);
    setup.access = &access;
    static_cast<SerialDeviceLink &>(*setup.link).setBackupDir(dir.filePath(QStringLiteral("demo-backups")));
    return setup;
}

} // namespace mk::test
