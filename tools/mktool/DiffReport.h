// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How mktool prints a settings comparison (diff, write --dry-run): text grouped by page, or JSON.

#include <QJsonObject>
#include <QString>

namespace mk {
struct SettingsDiff;
}

namespace mk::tool {

QJsonObject diffJson(const SettingsDiff &diff);
// The pages and their lines, then "N field(s) differ; M byte(s) differ outside named fields".
QString diffReportText(const SettingsDiff &diff);

} // namespace mk::tool
