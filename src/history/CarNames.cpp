// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/CarNames.h"

namespace mk {

namespace {

bool isControl(QChar c)
{
    const QChar::Category category = c.category();
    return category == QChar::Other_Control || category == QChar::Separator_Line ||
           category == QChar::Separator_Paragraph;
}

QString codeOf(QChar c) { return QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper(); }

} // namespace

QString carNameProblem(const QString &name)
{
    if (name.trimmed().isEmpty())
        return QStringLiteral("Не указано название автомобиля.");
    for (QChar c : name)
        if (isControl(c))
            return QStringLiteral("В названии автомобиля «%1» есть управляющий символ (%2): перевод строки, "
                                  "табуляция и другие такие символы в названии недопустимы.")
                .arg(printableCarName(name), codeOf(c));
    return {};
}

QString cleanCarName(const QString &text)
{
    QString clean;
    clean.reserve(text.size());
    bool gap = false;
    for (QChar c : text) {
        if (isControl(c)) {
            gap = true;
            continue;
        }
        if (gap && !clean.isEmpty())
            clean += QLatin1Char(' ');
        gap = false;
        clean += c;
    }
    return clean.trimmed();
}

QString printableCarName(const QString &name)
{
    QString shown;
    shown.reserve(name.size());
    for (QChar c : name) {
        if (!isControl(c))
            shown += c;
        else if (c == QLatin1Char('\n'))
            shown += QStringLiteral("\\n");
        else if (c == QLatin1Char('\r'))
            shown += QStringLiteral("\\r");
        else if (c == QLatin1Char('\t'))
            shown += QStringLiteral("\\t");
        else
            shown += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    }
    return shown;
}

} // namespace mk
