// SPDX-License-Identifier: GPL-3.0-or-later
#include "DiffReport.h"

#include "settings/SettingsDiff.h"

#include <QJsonArray>

namespace mk::tool {

QJsonObject diffJson(const SettingsDiff &diff)
{
    QJsonArray fields, unnamed, pages;
    for (const DiffPage &page : diff.pages) {
        QJsonArray changes;
        for (const SettingChange &c : page.changes) {
            QJsonObject o{{QStringLiteral("page"), page.page},
                          {QStringLiteral("caption"), c.caption},
                          {QStringLiteral("label"), QStringLiteral("%1 / %2").arg(page.page, c.label())},
                          {QStringLiteral("a"), c.before},
                          {QStringLiteral("b"), c.after}};
            if (c.name.isEmpty()) {
                o[QStringLiteral("kind")] =
                    c.kind == ChangeKind::Journal ? QStringLiteral("journal") : QStringLiteral("unnamed");
                o[QStringLiteral("bytes")] = c.unnamedBytes;
                unnamed.append(o);
            } else {
                o[QStringLiteral("name")] = c.name;
                o[QStringLiteral("raw_a")] = c.rawBefore;
                o[QStringLiteral("raw_b")] = c.rawAfter;
                if (!c.itemBefore.isEmpty() || !c.itemAfter.isEmpty()) {
                    o[QStringLiteral("item_a")] = c.itemBefore;
                    o[QStringLiteral("item_b")] = c.itemAfter;
                }
                fields.append(o);
            }
            changes.append(o);
        }
        pages.append(QJsonObject{{QStringLiteral("page"), page.page}, {QStringLiteral("changes"), changes}});
    }
    // What the page tidies by itself (hot-menu gaps): told apart, not counted as changes.
    QJsonArray tidyUps;
    for (const SettingChange &c : diff.tidyUps)
        tidyUps.append(QJsonObject{{QStringLiteral("kind"), QStringLiteral("hot_menu_gaps")},
                                   {QStringLiteral("caption"), c.caption},
                                   {QStringLiteral("a"), c.before},
                                   {QStringLiteral("b"), c.after}});
    return {{QStringLiteral("pages"), pages},
            {QStringLiteral("fields"), fields},
            {QStringLiteral("unnamed"), unnamed},
            {QStringLiteral("tidy_ups"), tidyUps},
            {QStringLiteral("other_bytes"), diff.unnamedBytes + diff.otherImageBytes},
            {QStringLiteral("model_codes_differ"), diff.modelCodesDiffer},
            {QStringLiteral("identical"), diff.identical()}};
}

QString diffReportText(const SettingsDiff &diff) { return diffText(diff, true) + diffSummary(diff); }

} // namespace mk::tool
