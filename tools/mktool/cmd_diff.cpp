// SPDX-License-Identifier: GPL-3.0-or-later
// mktool diff: two settings files compared setting by setting, grouped by page.

#include "Command.h"
#include "DiffReport.h"
#include "base/Error.h"
#include "image/TMK.h"
#include "settings/SettingsDiff.h"

#include <QJsonDocument>

namespace mk::tool {

namespace {

// diff's exit codes, as cmp and diff have them: 0 the same, 1 different, 2 trouble.
constexpr int kDiffTrouble = 2;

int runDiff(const QStringList &argv)
{
    const Args args(argv, {}, {QStringLiteral("--json")});
    if (!args.ok() || args.positional().size() != 2)
        return usageError(QStringLiteral("diff"),
                          args.ok() ? QStringLiteral("нужны ровно два файла настроек") : args.error());
    try {
        TMK a, b;
        loadSettings(a, args.positional()[0]);
        loadSettings(b, args.positional()[1]);
        const SettingsDiff diff = diffSettings(a, b);
        if (args.has(QStringLiteral("--json")))
            out(QString::fromUtf8(QJsonDocument(diffJson(diff)).toJson(QJsonDocument::Indented)));
        else
            out(diffReportText(diff));
        return diff.identical() ? kOk : kFailed;
    } catch (const Error &e) {
        // A missing or unreadable file, one that is no settings file, or output that could not be
        // written, is no difference.
        failure(e.shownText());
        return kDiffTrouble;
    }
}

const CommandRegistrar
    kDiff({QStringLiteral("diff"), QStringLiteral("A B [--json]"),
           QStringLiteral("настройки, чьи хранимые значения различаются, по страницам (показываемые значения, а где "
                          "они выглядят одинаково - и хранимые; байты без имени - по месту), и число прочих "
                          "различающихся байтов; код выхода 0 - файлы одинаковы, 1 - различаются, 2 - ошибка"),
           runDiff});

} // namespace
} // namespace mk::tool
