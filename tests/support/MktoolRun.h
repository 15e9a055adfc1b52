// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs the built mktool as a separate program, the way installers and scripts use it.

#include <QProcess>
#include <QStringList>
#include <QSysInfo>

struct ToolRun
{
    int code = -1;
    // On Windows mktool ends its text lines with CR LF, as console programs there do: out and
    // err hold the text with LF line ends, so that the tests compare the lines themselves;
    // bytes is standard output exactly as it came (a file's contents, a journal's CR LF lines).
    QByteArray out, err, bytes;
};

inline ToolRun mktool(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(MK_BIN_DIR "/mktool"), args);
    p.waitForFinished(30000);
    ToolRun run{p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
                p.readAllStandardError(), {}};
    run.bytes = run.out;
    if (QSysInfo::kernelType() == QLatin1String("winnt")) {
        run.out.replace("\r\n", "\n");
        run.err.replace("\r\n", "\n");
    }
    return run;
}
