// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SettingsDiffView.h"

#include "base/Text.h"
#include "settings/SettingsDiff.h"

#include <QHeaderView>

namespace mk {

QString settingCountText(int count)
{
    return countedText(count, "настройка", "настройки", "настроек");
}

SettingsDiffView::SettingsDiffView(const SettingsDiff &diff, const QString &beforeTitle, const QString &afterTitle,
                                   QWidget *parent)
    : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("tvDiff"));
    setColumnCount(3);
    setHeaderLabels({QStringLiteral("Настройка"), beforeTitle, afterTitle});
    setRootIsDecorated(true);
    // Long texts wrap rather than end in an ellipsis.
    setWordWrap(true);
    setTextElideMode(Qt::ElideNone);
    setAlternatingRowColors(true);
    for (const DiffPage &page : diff.pages) {
        auto *group = new QTreeWidgetItem(this, {QStringLiteral("%1 (%2)").arg(page.page).arg(page.changes.size())});
        QFont bold = group->font(0);
        bold.setBold(true);
        group->setFont(0, bold);
        group->setFirstColumnSpanned(true);
        for (const SettingChange &c : page.changes) {
            auto *row = new QTreeWidgetItem(group, {c.label(), c.shownBefore, c.shownAfter});
            if (!c.name.isEmpty())
                row->setToolTip(0, c.name);
        }
    }
    // Apart from the changes, spanning the row so that nothing of it is cut off.
    if (!diff.tidyUps.empty()) {
        auto *tidy = new QTreeWidgetItem(this, {diff.tidyUpLine()});
        tidy->setFirstColumnSpanned(true);
        tidy->setToolTip(0, diff.tidyUpLine());
    }
    if (diff.otherImageBytes > 0)
        new QTreeWidgetItem(this, {QStringLiteral("Прочие байты образа памяти: %1").arg(diff.otherImageBytes)});
    if (diff.modelCodesDiffer)
        new QTreeWidgetItem(this, {QStringLiteral("Код модели"),
                                   QStringLiteral("0x%1").arg(diff.modelCodeBefore, 4, 16, QLatin1Char('0')),
                                   QStringLiteral("0x%1").arg(diff.modelCodeAfter, 4, 16, QLatin1Char('0'))});
    expandAll();
    header()->setStretchLastSection(true);
    for (int c = 0; c < 3; ++c)
        resizeColumnToContents(c);
}

} // namespace mk
