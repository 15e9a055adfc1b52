#include "editor/SettingSearch.h"

#include "settings/NamedSettings.h"
#include "settings/ShownValue.h"

#include <QTableWidget>

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
        QString caption = settingCaption(s, ctx).simplified();
        if (caption.endsWith(QLatin1Char(':')))
            caption.chop(1);
        // The value as the page shows it; an item is found by its identifier too.
        const ShownValue shown = shownValue(s, model, ctx);
        const QString value = shown.text;
        const bool byCaption =
            caption.contains(wanted, Qt::CaseInsensitive) || s.name.contains(wanted, Qt::CaseInsensitive);
        const bool byValue = !byCaption && (value.contains(wanted, Qt::CaseInsensitive) ||
                                            shown.tool.contains(wanted, Qt::CaseInsensitive));
        if (!byCaption && !byValue)
            continue;
        hits.push_back({&s, s.page, caption.isEmpty() ? s.name : caption, value, byValue});
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
        *row = -1;
    if (s.field)
        return root->findChild<QWidget *>(s.field->control);
    // The special pages' names lead to their grids and previews: "hmParams.3" is row 3 of
    // sghmParams, "Tarir.5" row 5 of sgTarir, "Digit4_2.1" the preview pbDigit4_2.
    const qsizetype dot = s.name.indexOf(QLatin1Char('.'));
    const QString head = dot < 0 ? s.name : s.name.left(dot);
    const QString tail = dot < 0 ? QString() : s.name.mid(dot + 1);
    bool numeric = false;
    const int index = tail.toInt(&numeric);
    QWidget *w = nullptr;
    for (const QString &prefix :
         {QStringLiteral("sg"), QStringLiteral("pb"), QStringLiteral("rg"), QStringLiteral("cb")})
        if ((w = root->findChild<QWidget *>(prefix + head)))
            break;
    if (!w && head.startsWith(QStringLiteral("ColorScheme")))
        w = root->findChild<QWidget *>(tail.startsWith(QStringLiteral("Palette")) ? QStringLiteral("sgPalette")
                                                                                  : QStringLiteral("pcColorDisp"));
    if (!w && head == QStringLiteral("Blocks"))
        w = root->findChild<QWidget *>(QStringLiteral("sgAllBlocks"));
    if (auto *grid = qobject_cast<QTableWidget *>(w); grid && row) {
        if (numeric)
            *row = index;
        else if (tail.startsWith(QStringLiteral("Palette")))
            *row = tail.mid(7).toInt();
        else
            for (int r = 0; r < grid->rowCount(); ++r)
                if (grid->item(r, 0) && grid->item(r, 0)->text() == tail)
                    *row = r;
    }
    return w;
}

} // namespace mk
