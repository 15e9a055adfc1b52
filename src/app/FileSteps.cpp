// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FileSteps.h"

#include "app/CompareWindow.h"
#include "app/HeldState.h"
#include "base/Error.h"
#include "image/RecordSync.h"
#include "image/SettingsFile.h"
#include "image/SuggestedName.h"
#include "image/TMK.h"
#include "session/HistoryAdd.h"
#include "widgets/MessageBoxes.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace mk {

namespace {

const QString kUnsavedQuestion =
    QStringLiteral("Возможно, настройки были изменены, но не сохранены на диске. Сохранить?");

} // namespace

FileSteps::FileSteps(QWidget *window, HeldState &state, std::function<QString()> backupDir)
    : m_window(window), m_state(state), m_backupDir(std::move(backupDir))
{}

QString FileSteps::askFileName(bool save)
{
    QFileDialog dialog(m_window);
    dialog.setObjectName(save ? QStringLiteral("SaveDialog") : QStringLiteral("OpenDialog"));
    dialog.setNameFilter(QStringLiteral("Файлы настроек (*.tcset)"));
    dialog.setDefaultSuffix(QStringLiteral("tcset"));
    dialog.setDirectory(m_fileDir);
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.selectFile(suggestedFileName(m_state.model(), QStringLiteral("tcset")));
        // The overwrite question is asked by the save step itself, in its own words.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (execDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString path = dialog.selectedFiles().constFirst();
    m_fileDir = QFileInfo(path).absolutePath();
    return path;
}

bool FileSteps::mayReplaceSettings()
{
    if (!m_state.modified())
        return true;
    switch (askYesNoCancel(m_window, kUnsavedQuestion)) {
    case Answer::Yes:
        // A save that did not happen (its dialog cancelled, the overwrite refused) keeps the edits.
        return save();
    case Answer::No: return true;
    case Answer::Cancel: break;
    }
    return false;
}

void FileSteps::open()
{
    if (!mayReplaceSettings())
        return;
    const QString path = askFileName(false);
    if (!path.isEmpty())
        loadFile(path);
}

void FileSteps::openChosen(const QString &path)
{
    if (!QFileInfo(path).isFile())
        throw Error(QStringLiteral("Файл %1 не найден.").arg(QDir::toNativeSeparators(path)));
    if (mayReplaceSettings())
        loadFile(path);
}

void FileSteps::loadFile(const QString &path)
{
    loadFrom(path);
    if (m_fileUsed)
        m_fileUsed(m_path);
}

void FileSteps::loadFrom(const QString &path)
{
    m_fileDir = QFileInfo(path).absolutePath();
    // A file that cannot be read leaves the settings held before untouched, so the buttons
    // keep their state as well.
    openSettingsFile(m_state.model(), path);
    m_state.setHasSettings(true);
    // What was held before, edited or not, is gone: nothing held now is unsaved.
    m_state.setModified(false);
    m_path = QFileInfo(path).absoluteFilePath();
    m_state.setHeld(HeldSettings::Source::File, QFileInfo(path).fileName());
    // The journals were read from the device when the file was last written.
    const JournalsOrigin origin = fileOrigin(path, QFileInfo(path).lastModified());
    m_state.setJournalsOrigin(origin.readTime, origin.source);
    // A file cut short still loads, so that it can be looked at; it is never written (the window
    // keeps "Записать" disabled for it).
    if (const QString warning = incompleteSettingsWarning(m_state.model()); !warning.isEmpty())
        showWarning(m_window, warning);
}

bool FileSteps::save()
{
    const QString path = askFileName(true);
    if (path.isEmpty())
        return false;
    if (QFileInfo::exists(path) && !askYesNo(m_window, QStringLiteral("Файл уже существует. Переписать?")))
        return false;
    saveTo(path);
    return true;
}

bool FileSteps::saveToCurrent()
{
    const QString path = currentPath();
    if (path.isEmpty())
        return save();
    saveTo(path);
    return true;
}

void FileSteps::saveTo(const QString &path)
{
    saveSettingsFile(m_state.model(), path);
    m_path = QFileInfo(path).absoluteFilePath();
    m_state.setHasSettings(true);
    m_state.setHeld(HeldSettings::Source::File, QFileInfo(path).fileName());
    m_state.setModified(false);
    if (m_fileUsed)
        m_fileUsed(m_path);
}

QString FileSteps::currentPath() const
{
    // Read from the device or restored from a backup since: the file is no longer what is held.
    const HeldSettings &held = m_state.held();
    if (held.source != HeldSettings::Source::File || m_path.isEmpty() || held.name != QFileInfo(m_path).fileName())
        return {};
    return m_path;
}

bool FileSteps::restoreBackup()
{
    BackupsDialog dialog(m_backupDir(), m_window);
    dialog.setHistoryAdder(m_backupHistoryAdder);
    if (execDialog(dialog) != QDialog::Accepted || dialog.chosenPath().isEmpty())
        return false;
    // As a file load, with the question about unsaved edits first.
    if (!mayReplaceSettings())
        return false;
    // The backups folder is hidden and the program's own: file dialogs keep to the user's folder.
    const QString fileDir = m_fileDir;
    loadFrom(dialog.chosenPath());
    m_fileDir = fileDir;
    m_state.setHeld(HeldSettings::Source::Backup, QFileInfo(dialog.chosenPath()).fileName(), dialog.chosenWhen());
    const JournalsOrigin origin = backupOrigin(dialog.chosenPath(), dialog.chosenWhen());
    m_state.setJournalsOrigin(origin.readTime, origin.source);
    return dialog.restoreChosen();
}

void FileSteps::compareWithFile()
{
    const QString path = askFileName(false);
    if (path.isEmpty())
        return;
    TMK other;
    openSettingsFile(other, path);
    showComparison(m_window, m_state.model(), other, QStringLiteral("В файле"),
                   QStringLiteral("файла %1").arg(QFileInfo(path).fileName()));
}

} // namespace mk
