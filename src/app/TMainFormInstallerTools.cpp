// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's commands for installers who set up many cars: profiles of settings by
// name, the connection check, and the trip computer's presence in the status bar.

#include "app/TMainForm.h"

#include "app/ConnectionCheckDialog.h"
#include "app/DeviceStatusLabel.h"
#include "app/MainMenu.h"
#include "app/ProfilePagesDialog.h"
#include "app/WritePreviewDialog.h"
#include "base/Error.h"
#include "base/FileIo.h"
#include "image/SuggestedName.h"
#include "image/TMK.h"
#include "link/ConnectionCheck.h"
#include "settings/Profile.h"
#include "settings/SettingsContext.h"
#include "settings/SettingsDiff.h"
#include "settings/SettingsPages.h"
#include "widgets/IniFile.h"
#include "widgets/MessageBoxes.h"

#include <QAction>
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
        lines << QStringLiteral("%1: %2").arg(problems[i].name, problems[i].message);
    if (int(problems.size()) > kShownProblems)
        lines << QStringLiteral("… и ещё %1").arg(int(problems.size()) - kShownProblems);
    return QStringLiteral("Профиль не применён, настройки не изменены. Не подходит:\n%1")
        .arg(lines.join(QLatin1Char('\n')));
}

} // namespace

void TMainForm::buildInstallerTools()
{
    QAction *exportProfile =
        m_menu->addFileAction(QStringLiteral("&Экспорт профиля…"), QStringLiteral("miExportProfile"));
    QAction *importProfile =
        m_menu->addFileAction(QStringLiteral("&Импорт профиля…"), QStringLiteral("miImportProfile"));
    QAction *check =
        m_menu->addServiceAction(QStringLiteral("&Проверить подключение"), QStringLiteral("miConnectionCheck"));
    connect(exportProfile, &QAction::triggered, this, [this] { guarded([this] { miExportProfileClick(); }); });
    connect(importProfile, &QAction::triggered, this, [this] { guarded([this] { miImportProfileClick(); }); });
    connect(check, &QAction::triggered, this, [this] { guarded([this] { miConnectionCheckClick(); }); });
    const bool demo = m_setup.link && m_setup.link->isDemo();
    addPermanentStatusWidget(new DeviceStatusLabel(m_setup.deviceWatcher, this,
                                                   m_setup.link ? m_setup.link->watchedNodes() : nullptr, demo));
}

QString TMainForm::askProfileName(bool save)
{
    QFileDialog dialog(this, save ? QStringLiteral("Экспорт профиля") : QStringLiteral("Импорт профиля"));
    dialog.setObjectName(QStringLiteral("profileDialog"));
    dialog.setNameFilter(QStringLiteral("Профили настроек (*.json)"));
    dialog.setDefaultSuffix(QStringLiteral("json"));
    dialog.setDirectory(m_fileDir.isEmpty() ? defaultFileFolder() : m_fileDir);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (save)
        dialog.selectFile(suggestedFileName(*m_model, QStringLiteral("json"), QStringLiteral("профиль")));
    if (execDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

void TMainForm::miExportProfileClick()
{
    if (!m_model->hasImage())
        throw Error(QStringLiteral("Нет настроек: сначала считайте их из МК или из файла."));
    const SettingsContext ctx = SettingsContext::lenient(*m_model);
    ProfilePagesDialog pages(this,
                             [&](const QString &page) { return hiddenPage(page, ctx.fields(), *m_model) == nullptr; });
    if (execDialog(pages) != QDialog::Accepted || pages.pages().isEmpty())
        return;
    const QByteArray profile = exportProfile(*m_model, pages.pages());
    const QString path = askProfileName(true);
    if (path.isEmpty())
        return;
    writeFileAtomically(path, profile);
    m_fileDir = QFileInfo(path).absolutePath();
    showInformation(this, QStringLiteral("Профиль сохранён в файле\n%1\n\nСтраницы: %2.")
                              .arg(QDir::toNativeSeparators(path), pages.pages().join(QStringLiteral(", "))));
}

void TMainForm::miImportProfileClick()
{
    if (!m_model->hasImage())
        throw Error(QStringLiteral("Нет настроек: сначала считайте их из МК или из файла."));
    const QString path = askProfileName(false);
    if (path.isEmpty())
        return;
    m_fileDir = QFileInfo(path).absolutePath();
    // Applied to a copy first: with any problem, or when the user declines the changes, the
    // settings held stay as they are.
    TMK changed = *m_model;
    const std::vector<ProfileProblem> problems = applyProfile(changed, readWholeFile(path, kMaxProfileSize));
    if (!problems.empty()) {
        showError(this, problemsText(problems));
        return;
    }
    const SettingsDiff diff = diffSettings(*m_model, changed);
    if (diff.identical()) {
        showInformation(
            this,
            QStringLiteral("Профиль %1 ничего не меняет: настройки уже такие.").arg(QDir::toNativeSeparators(path)));
        return;
    }
    WritePreviewDialog preview(diff, WritePreviewDialog::profileTexts(), this);
    if (execDialog(preview) != QDialog::Accepted)
        return;
    *m_model = changed;
    setModified(true);
    showInformation(this, QStringLiteral("Профиль %1 применён к настройкам.").arg(QDir::toNativeSeparators(path)));
}

void TMainForm::miConnectionCheckClick()
{
    // The link's check looks at the port in use, or knows the demo device stands in for the
    // trip computer.
    ConnectionCheckDialog dialog(this, m_setup.link ? m_setup.link->connectionCheck() : ConnectionCheckDialog::Check());
    execDialog(dialog);
}

} // namespace mk
