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
                          args.ok() ? QStringLiteral("exactly two settings files are required") : args.error());
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
        // A missing or unreadable file, or output that could not be written, is no difference.
        err(e.text() + QLatin1Char('\n'));
        return kDiffTrouble;
    }
}

const CommandRegistrar
    kDiff({QStringLiteral("diff"), QStringLiteral("A B [--json]"),
           QStringLiteral("settings whose stored values differ, grouped by page (shown values, and raw ones "
                          "where those look alike; bytes no name covers by page and count), and the count of "
                          "other differing bytes; exit 1 when the files differ anywhere"),
           runDiff});

} // namespace
} // namespace mk::tool
