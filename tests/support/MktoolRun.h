#pragma once
// Runs the built mktool as a separate program, the way installers and scripts use it.

#include <QProcess>
#include <QStringList>

struct ToolRun
{
    int code = -1;
    QByteArray out, err;
};

inline ToolRun mktool(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(MK_BIN_DIR "/mktool"), args);
    p.waitForFinished(30000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}
