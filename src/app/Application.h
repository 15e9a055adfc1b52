// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The application object: Russian standard texts and the last-resort error handler.

#include <QApplication>

namespace mk {

class Application : public QApplication
{
    Q_OBJECT
public:
    Application(int &argc, char **argv);

    // An exception escaping an event handler is shown in an error box with its text, and the
    // program goes on.
    bool notify(QObject *receiver, QEvent *event) override;
};

// Makes Russian the locale of every widget and dialog, whatever the system's locale, so that
// calendars, file dialogs and numbers speak Russian.
void useRussianLocale();

// Loads Qt's own Russian translations, so that standard buttons read "Да", "Нет", "Отмена".
// Returns false when they are not installed.
bool installRussianTranslations(QCoreApplication &app);

// Shows the text of the exception being handled in an error box (call it from a catch block).
void showCurrentException(QWidget *parent = nullptr);

} // namespace mk
