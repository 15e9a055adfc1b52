// mkconf: the desktop configurator.

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/DeviceLink.h"
#include "app/IniFile.h"
#include "app/TJustOne.h"
#include "app/TMainForm.h"
#include "app/TPicturesForm.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstdio>

int main(int argc, char **argv)
{
    mk::Application app(argc, argv);

    const mk::CommandLine options = mk::parseCommandLine(app.arguments());
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(options.error));
        return 2;
    }
    if (options.help) {
        std::printf("%s", qPrintable(mk::commandLineHelp()));
        return 0;
    }

    // Only one copy runs; a second one ends without a word.
    const mk::TJustOne justOne(QFileInfo(QCoreApplication::applicationFilePath()).fileName());
    if (!justOne.owned())
        return 0;

    mk::MainFormSetup setup;
    setup.iniPath = mk::defaultIniPath();
    setup.programDir = QCoreApplication::applicationDirPath();
    // An installed program's folder is no place for the user's files.
    setup.fileDir = QFileInfo(setup.iniPath).absolutePath() == QDir(setup.programDir).absolutePath()
                        ? setup.programDir
                        : QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    setup.link = mk::makeDeviceLink(options);

    mk::TMainForm mainForm(std::move(setup));
    const mk::TPicturesForm pictures;
    mainForm.show();
    return app.exec();
}
