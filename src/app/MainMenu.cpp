// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainMenu.h"

#include <QAction>
#include <QDir>
#include <QFontMetrics>
#include <QMenu>

namespace mk {

namespace {

QMenu *makeMenu(QMenuBar *bar, const QString &title, const char *name)
{
    QMenu *menu = bar->addMenu(title);
    menu->setObjectName(QLatin1String(name));
    return menu;
}

QAction *named(QAction *action, const QString &name)
{
    action->setObjectName(name);
    return action;
}

} // namespace

MainMenu::MainMenu(QWidget *parent) : QMenuBar(parent)
{
    setObjectName(QStringLiteral("MainMenu"));
    // Alt letters not taken by the window's own buttons (С, Ф, Р, Ж, О, Д, З, А, В).
    m_file = makeMenu(this, QStringLiteral("Фай&л"), "miFile");
    m_service = makeMenu(this, QStringLiteral("С&ервис"), "miService");
    m_help = makeMenu(this, QStringLiteral("С&правка"), "miHelp");

    m_open = named(m_file->addAction(QStringLiteral("&Открыть…")), QStringLiteral("miOpen"));
    m_open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    m_save = named(m_file->addAction(QStringLiteral("&Сохранить")), QStringLiteral("miSave"));
    m_save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    m_saveAs = named(m_file->addAction(QStringLiteral("Сохранить &как…")), QStringLiteral("miSaveAs"));
    m_saveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    m_recent = m_file->addMenu(QStringLiteral("Последние &файлы"));
    m_recent->setObjectName(QStringLiteral("miRecent"));
    connect(m_file, &QMenu::aboutToShow, this, &MainMenu::fileMenuOpening);
    showRecentFiles({});
    m_file->addSeparator();
    m_backups = named(m_file->addAction(QStringLiteral("&Резервные копии…")), QStringLiteral("miBackups"));
    m_exportProfile = named(m_file->addAction(QStringLiteral("&Экспорт профиля…")), QStringLiteral("miExportProfile"));
    m_importProfile = named(m_file->addAction(QStringLiteral("&Импорт профиля…")), QStringLiteral("miImportProfile"));
    m_history = named(m_file->addAction(QStringLiteral("Ис&тория поездок…")), QStringLiteral("miHistory"));
    m_addToHistory =
        named(m_file->addAction(QStringLiteral("&Добавить журналы в историю…")), QStringLiteral("miAddToHistory"));
    m_autoHistory = named(m_file->addAction(QStringLiteral("Добавлять журналы в историю &после каждого чтения…")),
                          QStringLiteral("miAutoHistory"));
    m_autoHistory->setCheckable(true);
    m_exitSeparator = m_file->addSeparator();
    m_exit = named(m_file->addAction(QStringLiteral("&Выход")), QStringLiteral("miExit"));
    m_exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    m_compareFile = named(m_service->addAction(QStringLiteral("Сравнить с &файлом…")), QStringLiteral("miCompareFile"));
    m_compareDevice = named(m_service->addAction(QStringLiteral("Сравнить с &МК…")), QStringLiteral("miCompareDevice"));
    m_connectionCheck =
        named(m_service->addAction(QStringLiteral("&Проверить подключение")), QStringLiteral("miConnectionCheck"));

    m_manual = named(m_help->addAction(QStringLiteral("&Руководство пользователя")), QStringLiteral("miManual"));
    m_supportReport =
        named(m_help->addAction(QStringLiteral("&Сведения для поддержки…")), QStringLiteral("miSupportReport"));
    m_about = named(m_help->addAction(QStringLiteral("&О программе")), QStringLiteral("miAbout"));
    setSettingsHeld(false);
}

void MainMenu::showRecentFiles(const QStringList &files)
{
    m_recent->clear();
    if (files.isEmpty()) {
        named(m_recent->addAction(QStringLiteral("(нет)")), QStringLiteral("miRecentNone"))->setEnabled(false);
        return;
    }
    const QFontMetrics metrics(m_recent->font());
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files.at(i);
        const QString shown =
            metrics.elidedText(QDir::toNativeSeparators(path), Qt::ElideMiddle, metrics.averageCharWidth() * 70);
        // "&" in a path is shown as such, not taken for an Alt letter.
        QAction *action = named(m_recent->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(
                                    QString(shown).replace(QLatin1Char('&'), QStringLiteral("&&")))),
                                QStringLiteral("miRecent%1").arg(i + 1));
        action->setToolTip(QDir::toNativeSeparators(path));
        action->setData(path);
        connect(action, &QAction::triggered, this, [this, path] { emit recentFileChosen(path); });
    }
}

void MainMenu::setSettingsHeld(bool held)
{
    for (QAction *action : {m_save, m_saveAs, m_compareFile, m_compareDevice, m_addToHistory})
        action->setEnabled(held);
}

QAction *MainMenu::addFileAction(const QString &text, const QString &name)
{
    auto *action = new QAction(text, m_file);
    action->setObjectName(name);
    m_file->insertAction(m_exitSeparator, action);
    return action;
}

QAction *MainMenu::addServiceAction(const QString &text, const QString &name)
{
    return named(m_service->addAction(text), name);
}

} // namespace mk
