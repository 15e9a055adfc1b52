#include "app/Application.h"

#include "app/MessageBoxes.h"
#include "model/Error.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace mk {

Application::Application(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("mkconf"));
    setApplicationDisplayName(QStringLiteral("МК"));
    installRussianTranslations(*this);
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
    QString text;
    try {
        throw;
    } catch (const Error &error) {
        text = error.text();
    } catch (const std::exception &error) {
        text = QString::fromLocal8Bit(error.what());
    } catch (...) {
        text = QStringLiteral("Непредвиденная ошибка.");
    }
    showError(parent ? parent : QApplication::activeWindow(), text);
}

} // namespace mk
