// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/SettingSearch.h"

#include "settings/NamedSettings.h"
#include "settings/ShownValue.h"
#include "settings/SpecialCaptions.h"

#include <QWidget>

namespace mk {

std::vector<SearchHit> searchSettings(const QString &text, const TMK &model, const SettingsContext &ctx, int limit)
{
    std::vector<SearchHit> hits;
    const QString wanted = text.simplified();
    if (wanted.isEmpty())
        return hits;
    for (const NamedSetting &s : namedSettings()) {
        if (!settingShown(s, model, ctx))
            continue;
        const QString caption = bareCaption(settingCaption(s, ctx));
        // The value as the page shows it; an item is found by its identifier too.
        const ShownValue shown = shownValue(s, model, ctx);
        const QString value = shown.text;
        const bool byCaption =
            caption.contains(wanted, Qt::CaseInsensitive) || s.name.contains(wanted, Qt::CaseInsensitive);
        const bool byValue = !byCaption && (value.contains(wanted, Qt::CaseInsensitive) ||
                                            shown.tool.contains(wanted, Qt::CaseInsensitive));
        if (!byCaption && !byValue)
            continue;
        hits.push_back({&s, pageCaption(s.page), caption.isEmpty() ? s.name : caption, value, byValue});
        if (int(hits.size()) >= limit)
            break;
    }
    return hits;
}

QString hitText(const SearchHit &hit)
{
    QString text = QStringLiteral("%1 — %2").arg(hit.page, hit.caption);
    if (hit.byValue)
        text += QStringLiteral(": %1").arg(hit.value);
    return text;
}

QWidget *settingWidget(QWidget *root, const NamedSetting &s, int *row)
{
    if (row)
        *row = s.row;
    return s.control.isEmpty() ? nullptr : root->findChild<QWidget *>(s.control);
}

} // namespace mk
