// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProfileCommands.h"

#include "app/FileSteps.h"
#include "app/HeldState.h"
#include "app/ProfilePagesDialog.h"
#include "app/WritePreviewDialog.h"
#include "base/Error.h"
#include "base/FileIo.h"
#include "image/SuggestedName.h"
#include "image/TMK.h"
#include "settings/Profile.h"
#include "settings/SettingsContext.h"
#include "settings/SettingsDiff.h"
#include "settings/SettingsPages.h"
#include "widgets/IniFile.h"
#include "widgets/MessageBoxes.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace mk {

namespace {

// A profile lists a few hundred settings by name; anything much larger is not one.
constexpr qint64 kMaxProfileSize = 4 * 1024 * 1024;
// Problems shown in the box; the rest are counted.
constexpr int kShownProblems = 20;

QString problemsText(const std::vector<ProfileProblem> &problems)
{
    QStringList lines;
    for (size_t i = 0; i < problems.size() && int(i) < kShownProblems; ++i)
        lines << QStringLiteral("%1: %2").arg(problems[i].shownAs.isEmpty() ? problems[i].name : problems[i].shownAs,
                                              problems[i].message);
    if (int(problems.size()) > kShownProblems)
        lines << QStringLiteral("… и ещё %1").arg(int(problems.size()) - kShownProblems);
    return QStringLiteral("Профиль не применён, настройки не изменены. Не подходит:\n%1")
        .arg(lines.join(QLatin1Char('\n')));
}

} // namespace

ProfileCommands::ProfileCommands(QWidget *window, HeldState &state, FileSteps &files)
    : m_window(window), m_state(state), m_files(files)
{}

QString ProfileCommands::askProfileName(bool save)
{
    QFileDialog dialog(m_window, save ? QStringLiteral("Экспорт профиля") : QStringLiteral("Импорт профиля"));
    dialog.setObjectName(QStringLiteral("profileDialog"));
    dialog.setNameFilter(QStringLiteral("Профили настроек (*.json)"));
    dialog.setDefaultSuffix(QStringLiteral("json"));
    dialog.setDirectory(m_files.fileDir().isEmpty() ? defaultFileFolder() : m_files.fileDir());
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (save)
        dialog.selectFile(suggestedFileName(m_state.model(), QStringLiteral("json"), QStringLiteral("профиль")));
    if (execDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

void ProfileCommands::runExport()
{
    if (!m_state.model().hasImage())
        throw Error(ErrorKind::BadValue, QStringLiteral("Нет настроек: сначала считайте их из МК или из файла."));
    const SettingsContext ctx = SettingsContext::lenient(m_state.model());
    ProfilePagesDialog pages(m_window,
                             [&](PageId page) { return hiddenPage(page, ctx.fields(), m_state.model()) == nullptr; });
    if (execDialog(pages) != QDialog::Accepted || pages.pages().isEmpty())
        return;
    const QByteArray profile = exportProfile(m_state.model(), pages.pages());
    const QString path = askProfileName(true);
    if (path.isEmpty())
        return;
    writeFileAtomically(path, profile);
    m_files.setFileDir(QFileInfo(path).absolutePath());
    showInformation(m_window, QStringLiteral("Профиль сохранён в файле\n%1\n\nСтраницы: %2.")
                                  .arg(QDir::toNativeSeparators(path), pages.pages().join(QStringLiteral(", "))));
}

void ProfileCommands::runImport()
{
    if (!m_state.model().hasImage())
        throw Error(ErrorKind::BadValue, QStringLiteral("Нет настроек: сначала считайте их из МК или из файла."));
    const QString path = askProfileName(false);
    if (path.isEmpty())
        return;
    m_files.setFileDir(QFileInfo(path).absolutePath());
    // Applied to a copy first: with any problem, or when the user declines the changes, the
    // settings held stay as they are.
    TMK changed = m_state.model();
    const std::vector<ProfileProblem> problems = applyProfile(changed, readWholeFile(path, kMaxProfileSize));
    if (!problems.empty()) {
        showError(m_window, problemsText(problems));
        return;
    }
    const SettingsDiff diff = diffSettings(m_state.model(), changed);
    if (diff.identical()) {
        showInformation(
            m_window,
            QStringLiteral("Профиль %1 ничего не меняет: настройки уже такие.").arg(QDir::toNativeSeparators(path)));
        return;
    }
    WritePreviewDialog preview(diff, WritePreviewDialog::profileTexts(), m_window);
    if (execDialog(preview) != QDialog::Accepted)
        return;
    m_state.model() = changed;
    m_state.setModified(true);
    showInformation(m_window, QStringLiteral("Профиль %1 применён к настройкам.").arg(QDir::toNativeSeparators(path)));
}

} // namespace mk
