// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// JSON forms of the catalog entries, shared by mktool catalog and mktool info.

#include <QJsonArray>
#include <QJsonObject>

namespace mk {
struct DeviceModel;
struct TMeasParBase;
struct TMKMenuItem;
class TProtBase;
} // namespace mk

namespace mk::tool {

// index, code, name
QJsonObject protocolSummaryJson(const TProtBase &protocol, int index);
// the summary plus error_format, params, systems, flags, tank_channels, selectors
QJsonObject protocolJson(const TProtBase &protocol, int index);
// code, class, name, sample_text, min_text, max_text (after PrepareData), gauge_kind, graphable
QJsonObject measParJson(const TMeasParBase &entry);
// code, ident, name, group
QJsonObject menuItemJson(const TMKMenuItem &item);
QJsonArray stringArray(const QStringList &list);

} // namespace mk::tool
