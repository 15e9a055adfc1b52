// The main window's commands for installers who set up many cars: profiles of settings by
// name, the connection check, and the trip computer's presence in the status bar.

#include "app/TMainForm.h"

#include "app/ConnectionCheckDialog.h"
#include "app/DeviceStatusLabel.h"
#include "app/MainMenu.h"
#include "base/Error.h"
#include "base/FileIo.h"
#include "image/TMK.h"
#include "settings/Profile.h"
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
        m_menu->addFileAction(QStringLiteral("Экспорт профиля…"), QStringLiteral("miExportProfile"));
    QAction *importProfile =
        m_menu->addFileAction(QStringLiteral("Импорт профиля…"), QStringLiteral("miImportProfile"));
    QAction *check =
        m_menu->addServiceAction(QStringLiteral("Проверить подключение"), QStringLiteral("miConnectionCheck"));
    connect(exportProfile, &QAction::triggered, this, [this] { guarded([this] { miExportProfileClick(); }); });
    connect(importProfile, &QAction::triggered, this, [this] { guarded([this] { miImportProfileClick(); }); });
    connect(check, &QAction::triggered, this, [this] { guarded([this] { miConnectionCheckClick(); }); });
    addPermanentStatusWidget(new DeviceStatusLabel(m_setup.deviceWatcher, this));
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
    if (execDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

void TMainForm::miExportProfileClick()
{
    if (!m_model->hasImage())
        throw Error(QStringLiteral("Нет настроек: сначала считайте их из МК или из файла."));
    const QByteArray profile = exportProfile(*m_model);
    const QString path = askProfileName(true);
    if (path.isEmpty())
        return;
    writeFileAtomically(path, profile);
    m_fileDir = QFileInfo(path).absolutePath();
}

void TMainForm::miImportProfileClick()
{
    if (!m_model->hasImage())
        throw Error(QStringLiteral("Нет настроек: сначала считайте их из МК или из файла."));
    const QString path = askProfileName(false);
    if (path.isEmpty())
        return;
    m_fileDir = QFileInfo(path).absolutePath();
    // Everything is checked first; with any problem nothing changes.
    const std::vector<ProfileProblem> problems = applyProfile(*m_model, readWholeFile(path, kMaxProfileSize));
    if (!problems.empty()) {
        showError(this, problemsText(problems));
        return;
    }
    m_modified = true;
    showInformation(this, QStringLiteral("Профиль %1 применён к настройкам.").arg(QDir::toNativeSeparators(path)));
}

void TMainForm::miConnectionCheckClick()
{
    ConnectionCheckDialog dialog(this);
    execDialog(dialog);
}

} // namespace mk
