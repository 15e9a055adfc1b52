// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs the built mktool as a separate program, the way installers and scripts use it.

#include <QProcess>
#include <QStringList>
#include <QSysInfo>

struct ToolRun
{
    int code = -1;
    QByteArray out, err;
};

inline ToolRun mktool(const QStringList &args)
{
    QProcess p;
    // On Windows mktool ends its lines with CR LF, as console programs there do; the tests
    // compare the lines themselves.
    const bool windows = QSysInfo::kernelType() == QLatin1String("winnt");
    p.start(QStringLiteral(MK_BIN_DIR "/mktool"), args,
            windows ? QIODevice::ReadWrite | QIODevice::Text : QIODevice::ReadWrite);
    p.waitForFinished(30000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}
