// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/BackupsDialog.h"

#include "link/BackupList.h"
#include "widgets/MessageBoxes.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace mk {

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kOpenableRole = Qt::UserRole + 1;
constexpr int kWhenRole = Qt::UserRole + 2;

std::function<bool(const QString &)> &folderOpener()
{
    static std::function<bool(const QString &)> opener = [](const QString &dir) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(dir));
    };
    return opener;
}

} // namespace

void BackupsDialog::setFolderOpener(std::function<bool(const QString &)> opener) { folderOpener() = std::move(opener); }

BackupsDialog::BackupsDialog(const QString &dir, QWidget *parent) : QDialog(parent), m_dir(dir)
{
    setObjectName(QStringLiteral("BackupsDialog"));
    setWindowTitle(QStringLiteral("Резервные копии"));
    auto *label = new QLabel(
        QStringLiteral("Память МК, сохранённая перед каждой записью, в папке\n%1").arg(QDir::toNativeSeparators(dir)),
        this);
    label->setObjectName(QStringLiteral("lFolder"));
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("tvBackups"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setHeaderLabels({QStringLiteral("Дата и время"), QStringLiteral("Модель"), QStringLiteral("Код"),
                             QStringLiteral("Версия настроек"), QStringLiteral("Файл")});
    for (const BackupEntry &e : listBackups(dir)) {
        const QString when = e.when.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
        QTreeWidgetItem *row = nullptr;
        if (e.kind == BackupEntry::Backup) {
            row =
                new QTreeWidgetItem(m_list, {when, e.modelName.isEmpty() ? QStringLiteral("(без имени)") : e.modelName,
                                             QStringLiteral("0x%1").arg(e.modelCode, 4, 16, QLatin1Char('0')),
                                             QString::number(e.settingsVersion), e.fileName});
        } else {
            row = new QTreeWidgetItem(m_list, {when, QStringLiteral("%1: %2").arg(backupKindText(e.kind), e.problem),
                                               QString(), QString(), e.fileName});
            for (int c = 0; c < m_list->columnCount(); ++c)
                row->setForeground(c, palette().brush(QPalette::Disabled, QPalette::Text));
        }
        row->setData(0, kPathRole, e.path);
        row->setData(0, kWhenRole, e.when);
        row->setData(0, kOpenableRole, e.kind == BackupEntry::Backup);
        row->setToolTip(4, QDir::toNativeSeparators(e.path));
    }
    for (int c = 0; c < m_list->columnCount(); ++c)
        m_list->resizeColumnToContents(c);
    auto *empty = new QLabel(QStringLiteral("Резервных копий пока нет."), this);
    empty->setObjectName(QStringLiteral("lEmpty"));
    empty->setVisible(m_list->topLevelItemCount() == 0);

    auto *buttons = new QDialogButtonBox(this);
    m_open = buttons->addButton(QStringLiteral("&Открыть"), QDialogButtonBox::AcceptRole);
    m_open->setObjectName(QStringLiteral("bOpen"));
    QPushButton *folder = buttons->addButton(QStringLiteral("&Показать папку"), QDialogButtonBox::ActionRole);
    folder->setObjectName(QStringLiteral("bShowFolder"));
    m_toHistory = buttons->addButton(QStringLiteral("В &историю…"), QDialogButtonBox::ActionRole);
    m_toHistory->setObjectName(QStringLiteral("bBackupToHistory"));
    m_toHistory->setToolTip(QStringLiteral("Добавить журналы этой копии в историю поездок"));
    m_toHistory->setVisible(false);
    QPushButton *close = buttons->addButton(QStringLiteral("Закрыть"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("bClose"));
    connect(m_open, &QPushButton::clicked, this, &BackupsDialog::openClicked);
    connect(folder, &QPushButton::clicked, this, &BackupsDialog::showFolderClicked);
    connect(m_toHistory, &QPushButton::clicked, this, &BackupsDialog::toHistoryClicked);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &BackupsDialog::selectionChanged);
    connect(m_list, &QTreeWidget::itemActivated, this, [this] { openClicked(); });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_list, 1);
    layout->addWidget(empty);
    layout->addWidget(buttons);
    resize(940, 380);
    // The newest backup is chosen to begin with.
    if (m_list->topLevelItemCount() > 0)
        m_list->setCurrentItem(m_list->topLevelItem(0));
    selectionChanged();
}

void BackupsDialog::selectionChanged()
{
    const QTreeWidgetItem *item = m_list->currentItem();
    m_open->setEnabled(item && item->isSelected() && item->data(0, kOpenableRole).toBool());
    m_toHistory->setEnabled(m_open->isEnabled());
}

void BackupsDialog::setHistoryAdder(HistoryAdder adder)
{
    m_historyAdder = std::move(adder);
    m_toHistory->setVisible(bool(m_historyAdder));
}

void BackupsDialog::toHistoryClicked()
{
    const QTreeWidgetItem *item = m_list->currentItem();
    if (!item || !item->data(0, kOpenableRole).toBool() || !m_historyAdder)
        return;
    m_historyAdder(this, item->data(0, kPathRole).toString(), item->data(0, kWhenRole).toDateTime());
}

void BackupsDialog::openClicked()
{
    const QTreeWidgetItem *item = m_list->currentItem();
    if (!item || !item->data(0, kOpenableRole).toBool())
        return;
    m_chosen = item->data(0, kPathRole).toString();
    m_chosenWhen = item->data(0, kWhenRole).toDateTime();
    accept();
}

void BackupsDialog::showFolderClicked()
{
    QDir().mkpath(m_dir); // before the first write there is no folder yet
    if (!folderOpener()(m_dir))
        showError(
            this,
            QStringLiteral("Не удалось открыть папку %1 в файловом менеджере.").arg(QDir::toNativeSeparators(m_dir)));
}

} // namespace mk
