#pragma once
// What mktool info and dump print about a loaded settings image.

#include <QJsonObject>
#include <QString>

namespace mk {
class TMK;
}

namespace mk::tool {

QJsonObject infoJson(const TMK &model);
QString infoText(const TMK &model);
QJsonObject dumpJson(const TMK &model);

} // namespace mk::tool
