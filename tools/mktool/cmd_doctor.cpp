// SPDX-License-Identifier: GPL-3.0-or-later
// mktool doctor: why the trip computer cannot be reached on this system, and how to fix it.

#include "Command.h"
#include "SystemWords.h"
#include "link/ConnectionCheck.h"

#include <QJsonDocument>

namespace mk::tool {

namespace {

const QString kName = QStringLiteral("doctor");

int runDoctor(const QStringList &argv)
{
    const Args args(argv, {}, {QStringLiteral("--json")});
    if (!args.ok())
        return usageError(kName, args.error());
    if (!args.positional().isEmpty())
        return usageError(kName, QStringLiteral("параметры здесь не нужны"));
    const ConnectionReport report = checkConnection();
    if (args.has(QStringLiteral("--json")))
        out(QString::fromUtf8(QJsonDocument(report.json()).toJson(QJsonDocument::Indented)));
    else
        out(report.text());
    // Scripts can tell a system that needs fixing by the exit code.
    return report.problems.isEmpty() ? kOk : kFailed;
}

const CommandRegistrar kDoctor({kName, QStringLiteral("[--json]"), doctorSummary(), runDoctor});

} // namespace
} // namespace mk::tool
