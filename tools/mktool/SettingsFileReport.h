// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What mktool info and dump print about a loaded settings image.

#include <QJsonObject>
#include <QString>

namespace mk {
class TMK;
class SettingsContext;
} // namespace mk

namespace mk::tool {

QJsonObject infoJson(const TMK &model);
QString infoText(const TMK &model);
QJsonObject dumpJson(const TMK &model);
// Every simple setting by name, as the editor shows it (numbers, item captions, check marks, texts).
QJsonObject fieldsJson(const TMK &model, const SettingsContext &ctx);

} // namespace mk::tool
