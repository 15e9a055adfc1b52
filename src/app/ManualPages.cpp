// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ManualPages.h"

#include "app/WindowRegistry.h"
#include "settings/SettingsPages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QWidget>

namespace mk {

QStringList manualFolderCandidates()
{
    QStringList folders;
    const QString given = qEnvironmentVariable("MKCONF_MANUAL_DIR");
    if (!given.isEmpty())
        folders << given;
    const QDir bin(QCoreApplication::applicationDirPath());
    // Beside the program: the Windows packages keep everything in one folder.
    folders << bin.filePath(QStringLiteral("manual")) << QDir::cleanPath(bin.filePath(QStringLiteral("../manual")))
            << QDir::cleanPath(bin.filePath(QStringLiteral("../share/mkconf/manual")));
    for (const QString &data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders << QDir(data).filePath(QStringLiteral("mkconf/manual"));
    folders.removeDuplicates();
    return folders;
}

QString manualFolder()
{
    for (const QString &folder : manualFolderCandidates())
        if (QFileInfo(QDir(folder).filePath(QStringLiteral("index.html"))).isFile())
            return folder;
    return {};
}

const std::vector<std::pair<QString, QString>> &manualPageTable()
{
    static const std::vector<std::pair<QString, QString>> table = [] {
        std::vector<std::pair<QString, QString>> pages;
        for (const WindowEntry &w : windowRegistry())
            if (!w.manualPage.isEmpty())
                pages.emplace_back(w.objectName, w.manualPage);
        return pages;
    }();
    return table;
}

QString manualPageFor(const QWidget *widget)
{
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        const QString name = w->objectName();
        if (name.isEmpty())
            continue;
        if (const SettingsPage *page = findSettingsPage(name); page && page->tab == name)
            return QStringLiteral("editor-pages.html#") + name;
        for (const auto &[window, page] : manualPageTable())
            if (window == name)
                return page;
    }
    return QStringLiteral("index.html");
}

} // namespace mk
