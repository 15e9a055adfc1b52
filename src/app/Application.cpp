// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"

#include "app/ConnectionCheckDialog.h"

#include "base/Error.h"
#include "widgets/MessageBoxes.h"
#include "widgets/ScreenFit.h"

#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <optional>

// The icons live in the mkgui library, whose resources the linker keeps only when asked.
static void initIconResources() { Q_INIT_RESOURCE(mkconf_icons); }

namespace mk {

Application::Application(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("mkconf"));
    // No display name: Qt would append it to every window title, and the captions are the
    // program's own.
    useRussianLocale();
    // Ties the windows to the desktop entry (mkconf.desktop), for the desktop's icon and grouping.
    setDesktopFileName(QStringLiteral("mkconf"));
    initIconResources();
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/mkconf-%1.png").arg(size), QSize(size, size));
    setWindowIcon(icon);
    installRussianTranslations(*this);
    installEventFilter(new ScreenFitFilter(this));
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        showCurrentException();
    }
    return false;
}

void useRussianLocale() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }

bool installRussianTranslations(QCoreApplication &app)
{
    auto *translator = new QTranslator(&app);
    if (!translator->load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    app.installTranslator(translator);
    return true;
}

void showCurrentException(QWidget *parent)
{
    std::optional<Error> shown;
    try {
        throw;
    } catch (const Error &error) {
        shown = error;
    } catch (const std::exception &error) {
        shown = Error(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        shown = Error(QStringLiteral("Непредвиденная ошибка."));
    }
    // A port that cannot be opened or a device that cannot be reached gets the offer of the
    // connection check beside OK.
    showErrorOfferingCheck(parent ? parent : QApplication::activeWindow(), *shown);
}

} // namespace mk
