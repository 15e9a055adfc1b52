// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's profiles, for installers who set up many cars: "Экспорт профиля…" saves the
// chosen pages' settings by name, "Импорт профиля…" applies a profile to the settings held after
// showing what it changes. Errors escape as mk::Error.

#include <QString>

class QWidget;

namespace mk {

class FileSteps;
class HeldState;

class ProfileCommands
{
public:
    // `files` keeps the folder the dialogs start in.
    ProfileCommands(QWidget *window, HeldState &state, FileSteps &files);

    void runExport();
    void runImport();

private:
    QString askProfileName(bool save);

    QWidget *m_window;
    HeldState &m_state;
    FileSteps &m_files;
};

} // namespace mk
