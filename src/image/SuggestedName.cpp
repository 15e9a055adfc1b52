// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/SuggestedName.h"

#include "base/Error.h"
#include "image/ImageDeviceModel.h"
#include "image/TMK.h"

namespace mk {

QString suggestedFileName(const TMK &model, const QString &suffix, const QString &what, const QDate &day)
{
    QString name;
    try {
        name = SelectDeviceModel(model).ModelName;
    } catch (const Error &) {
        // an image the model table cannot place still gets its code
    }
    if (name.isEmpty())
        name = QStringLiteral("МК %1").arg(model.modelCode(), 4, 16, QLatin1Char('0')).toUpper();
    // Characters no file system takes in a name.
    for (QChar &c : name)
        if (QStringLiteral("\\/:*?\"<>|").contains(c) || c.unicode() < 32)
            c = QLatin1Char('-');
    QStringList parts{name.trimmed()};
    if (!what.isEmpty())
        parts << what;
    parts << day.toString(Qt::ISODate);
    return parts.join(QLatin1Char(' ')) + QLatin1Char('.') + suffix;
}

} // namespace mk
