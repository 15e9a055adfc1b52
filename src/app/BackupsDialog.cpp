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
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
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
            row->setToolTip(1, row->text(1));
        }
        row->setData(0, kPathRole, e.path);
        row->setData(0, kWhenRole, e.when);
        row->setData(0, kOpenableRole, e.kind == BackupEntry::Backup);
        row->setToolTip(4, QDir::toNativeSeparators(e.path));
    }
    // Every column as wide as its widest text and its caption; the file name takes what is left.
    m_list->header()->setStretchLastSection(true);
    for (int c = 0; c < m_list->columnCount(); ++c)
        m_list->resizeColumnToContents(c);
    // The model column is as wide as the models' names; what is wrong with a file that is no
    // backup may be longer, and is cut there with its whole text as the row's tool tip.
    int modelWidth = m_list->header()->sectionSizeHint(1);
    const int padding = 2 * m_list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_list) + 8;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i)
        if (const QTreeWidgetItem *row = m_list->topLevelItem(i); row->data(0, kOpenableRole).toBool())
            modelWidth = qMax(modelWidth, m_list->fontMetrics().horizontalAdvance(row->text(1)) + padding);
    m_list->setColumnWidth(1, modelWidth);
    auto *empty = new QLabel(QStringLiteral("Резервных копий пока нет."), this);
    empty->setObjectName(QStringLiteral("lEmpty"));
    empty->setVisible(m_list->topLevelItemCount() == 0);

    auto *buttons = new QDialogButtonBox(this);
    m_open = buttons->addButton(QStringLiteral("&Открыть"), QDialogButtonBox::AcceptRole);
    m_open->setObjectName(QStringLiteral("bOpen"));
    m_restoreButton = buttons->addButton(QStringLiteral("&Восстановить…"), QDialogButtonBox::ActionRole);
    m_restoreButton->setObjectName(QStringLiteral("bRestore"));
    m_restoreButton->setToolTip(
        QStringLiteral("Открыть копию и записать её в МК (сначала будет показано, что изменится)"));
    connect(m_restoreButton, &QPushButton::clicked, this, &BackupsDialog::restoreClicked);
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
    // As wide as the columns need (the model's name in full), within the screen.
    int columns = 0;
    for (int c = 0; c < m_list->columnCount(); ++c)
        columns += m_list->columnWidth(c);
    const int wanted = columns + 2 * m_list->frameWidth() + m_list->verticalScrollBar()->sizeHint().width() +
                       layout->contentsMargins().left() + layout->contentsMargins().right();
    int width = qMax(940, wanted);
    if (const QScreen *screen = this->screen())
        width = qMin(width, screen->availableGeometry().width() - 40);
    resize(width, 380);
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
    m_restoreButton->setEnabled(m_open->isEnabled());
}

void BackupsDialog::restoreClicked()
{
    m_restore = true;
    openClicked();
    if (result() != QDialog::Accepted)
        m_restore = false;
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
