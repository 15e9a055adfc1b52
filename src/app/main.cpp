// SPDX-License-Identifier: GPL-3.0-or-later
// mkconf: the desktop configurator.

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/DeviceLink.h"
#include "app/DisplayCheck.h"
#include "app/EndRequests.h"
#include "app/ExchangeRunner.h"
#include "app/FileHandOver.h"
#include "app/ForegroundHandOver.h"
#include "app/SupportReportDialog.h"
#include "app/TJustOne.h"
#include "app/TMainForm.h"
#include "app/TPicturesForm.h"
#include "base/Error.h"
#include "base/StdStreams.h"
#include "widgets/IniFile.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstdio>

namespace {

QtMessageHandler g_qtHandler = nullptr;

// Qt's own notes (a missing XDG_RUNTIME_DIR, a platform plugin's remarks) are no business of the
// user's: stderr carries the program's messages, and Qt's only when something is broken.
void quietQtMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if ((type == QtCriticalMsg || type == QtFatalMsg) && g_qtHandler)
        g_qtHandler(type, context, message);
}

} // namespace

int main(int argc, char **argv)
{
    // MK_QT_NOTES=1 lets them through, for looking into a display problem.
    if (qEnvironmentVariableIsEmpty("MK_QT_NOTES"))
        g_qtHandler = qInstallMessageHandler(quietQtMessages);
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (const mk::EarlyOption early = mk::earlyOption(arguments); early != mk::EarlyOption::None) {
        try {
            mk::writeStdout(early == mk::EarlyOption::Help
                                ? mk::commandLineHelp()
                                : QStringLiteral("mkconf %1\n").arg(QStringLiteral(MK_VERSION)));
        } catch (const mk::Error &e) {
            (void)mk::writeStderr(QStringLiteral("mkconf: %1\n").arg(e.text()));
            return 1;
        }
        return 0;
    }
    if (const QString noDisplay = mk::missingDisplayText(arguments); !noDisplay.isEmpty()) {
        std::fprintf(stderr, "%s", qPrintable(noDisplay));
        return 1;
    }

    mk::Application app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(MK_VERSION));
    // Qt's own options (-platform, -style ...) are gone from the list by now.
    const mk::CommandLine options = mk::parseCommandLine(QCoreApplication::arguments());
    if (!options.error.isEmpty()) {
        (void)mk::writeStderr(QStringLiteral("mkconf: %1\n").arg(options.error));
        return 2;
    }

    // Only one copy runs; a second one asks the running copy to come to the front, handing over
    // a file it was given, and ends.
    const QDateTime started = QDateTime::currentDateTime();
    const QString programName = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    QString lockProblem;
    const QString lockDir = mk::TJustOne::defaultLockDir(&lockProblem);
    const mk::TJustOne justOne(programName, lockDir);
    // No private folder for the lock: this copy runs unguarded and takes no hand-over.
    const QString handOverRequest = justOne.guarded() ? mk::handOverRequestPath(lockDir, programName) : QString();
    if (!justOne.owned()) {
        mk::allowRunningCopyToComeForward();
        mk::handOverFile(handOverRequest, options.file);
        std::fprintf(stderr, "%s\n",
                     qPrintable(QStringLiteral("mkconf: программа уже запущена, её окно выведено на передний план.")));
        return 0;
    }

    // The trace of this session's exchanges, for a support report (a rotating, size-capped file).
    mk::startSessionTrace(QStringLiteral("mkconf %1").arg(QStringLiteral(MK_VERSION)));

    mk::MainFormSetup setup;
    setup.iniPath = mk::defaultIniPath();
    setup.programDir = QCoreApplication::applicationDirPath();
    // An installed program's folder is no place for the user's files.
    setup.fileDir = mk::fileFolderFor(setup.iniPath, setup.programDir,
                                      QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    setup.startFile = options.file;
    try {
        setup.link = mk::makeDeviceLink(options);
    } catch (...) {
        mk::showCurrentException();
        return 1;
    }

    mk::TMainForm mainForm(std::move(setup));
    const mk::TPicturesForm pictures;
    mainForm.show();
    if (!justOne.guarded())
        std::fprintf(stderr, "%s\n",
                     qPrintable(QStringLiteral("mkconf: нет личной папки для блокировки, вторая копия программы "
                                               "не будет обнаружена. %1")
                                    .arg(lockProblem)));
    const mk::FileHandOverWatcher handOver(
        handOverRequest, started, [] { return QApplication::activeModalWidget() != nullptr || mk::exchangeRunning(); },
        [&mainForm](const QString &file) {
            if (file.isEmpty())
                mainForm.bringToFront();
            else
                mainForm.openFile(file);
        });
    // Asked to end by the system: at once, or after the exchange that runs (a write is finished).
    const mk::EndRequests endRequests;
    QObject::connect(&endRequests, &mk::EndRequests::requested, &app, [] { mk::endWhenExchangeAllows(); });
    return app.exec();
}
