#pragma once
// What mktool info and dump print about a loaded settings image.

#include <QJsonObject>
#include <QString>

namespace mk {
class TMK;
struct FieldContext;
} // namespace mk

namespace mk::tool {

QJsonObject infoJson(const TMK &model);
QString infoText(const TMK &model);
QJsonObject dumpJson(const TMK &model);
// Every simple setting by name, as the editor shows it (numbers, item captions, check marks, texts).
QJsonObject fieldsJson(const TMK &model);
// The editor's view of the file's model; without a model-table row (key above 255) the plain one.
FieldContext fileFieldContext(const TMK &model);

} // namespace mk::tool
