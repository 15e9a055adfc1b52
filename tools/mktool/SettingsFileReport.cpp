// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsFileReport.h"

#include "CatalogJson.h"
#include "base/Error.h"
#include "image/ImageDeviceModel.h"
#include "image/ImageLayout.h"
#include "image/TMK.h"
#include "settings/FieldTable.h"
#include "settings/NamedSettings.h"
#include "settings/ShownValue.h"

#include <QJsonArray>

namespace mk::tool {

namespace {

QString hex4(quint32 v)
{
    return QStringLiteral("0x%1")
        .arg(v, 4, 16, QLatin1Char('0'))
        .toUpper()
        .replace(QLatin1String("0X"), QLatin1String("0x"));
}

// "Label:" padded so that the values line up.
QString label(const char *text) { return (QString::fromUtf8(text) + QLatin1Char(':')).leftJustified(18); }

bool oscInside(const TMK &model, int block)
{
    return kOscBlockPos[block] + kOscHeaderSize + kOscSampleCount <= model.image().size();
}

// The model-table row of the file's model code and settings version (the protocol list does not
// depend on the stored protocol index); a version above 255 has no row.
struct ModelReport
{
    DeviceModel device;
    QString error;
};

ModelReport modelReport(const TMK &model)
{
    ModelReport r;
    try {
        r.device = SelectDeviceModel(model.modelCode(), 0, model.settingsVersion());
    } catch (const Error &e) {
        r.error = e.text();
    }
    return r;
}

void addModelJson(QJsonObject &o, const TMK &model)
{
    const ModelReport r = modelReport(model);
    o[QStringLiteral("model_name")] = r.device.ModelName;
    o[QStringLiteral("flags")] = stringArray(r.device.Flags.names());
    QJsonArray protocols;
    for (size_t i = 0; i < r.device.ProtocolList.size(); ++i)
        protocols.append(protocolSummaryJson(r.device.ProtocolList[i], int(i)));
    o[QStringLiteral("protocols")] = protocols;
    if (!r.error.isEmpty())
        o[QStringLiteral("model_error")] = r.error;
}

QString modelText(const TMK &model)
{
    const ModelReport r = modelReport(model);
    if (!r.error.isEmpty())
        return QStringLiteral("%1(%2)\n").arg(label("Модель"), r.error);
    QString t;
    t += QStringLiteral("%1%2\n").arg(label("Название модели"),
                                      r.device.ModelName.isEmpty() ? QStringLiteral("(нет)") : r.device.ModelName);
    const QStringList flags = r.device.Flags.names();
    t += QStringLiteral("%1%2\n").arg(label("Возможности"),
                                      flags.isEmpty() ? QStringLiteral("(нет)") : flags.join(QStringLiteral(", ")));
    QStringList protocols;
    for (const TProtBase &p : r.device.ProtocolList)
        protocols << QStringLiteral("%1 %2").arg(p.Code).arg(p.Name);
    t += QStringLiteral("Протоколы (%1):%2\n")
             .arg(protocols.size())
             .arg(protocols.isEmpty() ? QStringLiteral("  (нет)")
                                      : QStringLiteral("\n  ") + protocols.join(QStringLiteral("\n  ")));
    return t;
}

} // namespace

QJsonObject infoJson(const TMK &model)
{
    const ImageHeader h = model.header();
    QJsonArray sections;
    for (int k = 0; k < kSectionCount; ++k) {
        const SectionEntry &e = h.sections[size_t(k)];
        QJsonObject s{{QStringLiteral("index"), k},
                      {QStringLiteral("address"), int(e.address)},
                      {QStringLiteral("length"), int(e.length)}};
        if (e.usable()) {
            s[QStringLiteral("content_start")] = e.contentPos();
            s[QStringLiteral("content_end")] = e.contentPos() + e.contentLength();
            s[QStringLiteral("inside_image")] = e.contentPos() + e.contentLength() <= model.image().size();
        } else {
            s[QStringLiteral("inside_image")] = false;
        }
        sections.append(s);
    }
    QJsonObject o{{QStringLiteral("model_code"), int(model.modelCode())},
                  {QStringLiteral("settings_version"), qint64(h.version)},
                  {QStringLiteral("image_length"), int(model.image().size())},
                  {QStringLiteral("section_count"), qint64(h.count)},
                  {QStringLiteral("sections"), sections},
                  {QStringLiteral("oscilloscope_blocks_inside"), QJsonArray{oscInside(model, 0), oscInside(model, 1)}}};
    addModelJson(o, model);
    return o;
}

QString infoText(const TMK &model)
{
    const ImageHeader h = model.header();
    QString t;
    t += QStringLiteral("%1%2 (%3)\n").arg(label("Код модели"), hex4(model.modelCode())).arg(model.modelCode());
    t += QStringLiteral("%1%2\n").arg(label("Версия настроек")).arg(h.version);
    t += modelText(model);
    t += QStringLiteral("%1%2 байт\n").arg(label("Длина образа")).arg(model.image().size());
    t += QStringLiteral("%1%2\n\n").arg(label("Секций занято")).arg(h.count);
    t += QStringLiteral(" секция    адрес   длина  место в образе\n");
    for (int k = 0; k < kSectionCount; ++k) {
        const SectionEntry &e = h.sections[size_t(k)];
        QString range = QStringLiteral("(нет)");
        if (e.usable()) {
            const int end = e.contentPos() + e.contentLength();
            range = QStringLiteral("%1..%2").arg(e.contentPos()).arg(end - 1);
            if (e.contentLength() == 0)
                range = QStringLiteral("(пусто)");
            if (end > model.image().size())
                range += QStringLiteral(" (за концом образа)");
        }
        t += QStringLiteral("%1  %2  %3  %4\n").arg(k, 7).arg(e.address, 7).arg(e.length, 6).arg(range);
    }
    for (int b = 0; b < 2; ++b)
        t += QStringLiteral("\nБлок осциллографа %1 с места %2: %3")
                 .arg(b)
                 .arg(kOscBlockPos[b])
                 .arg(oscInside(model, b) ? QStringLiteral("в образе") : QStringLiteral("за концом образа"));
    return t + QLatin1Char('\n');
}

QJsonObject fieldsJson(const TMK &model, const SettingsContext &named)
{
    const FieldContext &ctx = named.fields();
    QJsonObject fields;
    for (const NamedSetting &s : namedSettings()) {
        // The text mktool shows and `set` takes; JSON gives numbers and states their own types.
        const QString text = shownValue(s, model, named).tool;
        if (!s.field) {
            fields[s.name] = text; // a special page's part
            continue;
        }
        const FieldDef &def = *s.field;
        switch (def.kind) {
        case ControlKind::SpinEdit: fields[def.name] = text.toDouble(); break;
        case ControlKind::CheckBox: fields[def.name] = text == QLatin1String("1"); break;
        case ControlKind::RadioGroup:
        case ControlKind::ComboBox: {
            // The item caption, or the stored index when it names no item.
            const int index = loadField(def, model, ctx).toInt();
            fields[def.name] = index >= 0 && index < itemsOf(def, ctx).size() ? QJsonValue(text) : QJsonValue(index);
            break;
        }
        default: fields[def.name] = text;
        }
    }
    return fields;
}

// The captions of the values `fields` gives by identifier or state (hot-menu items, systems).
QJsonObject captionsJson(const TMK &model, const SettingsContext &named)
{
    QJsonObject captions;
    for (const NamedSetting &s : namedSettings())
        if (const QString caption = shownValue(s, model, named).caption; !caption.isEmpty())
            captions[s.name] = caption;
    return captions;
}

QJsonObject dumpJson(const TMK &model)
{
    const SettingsContext ctx = SettingsContext::lenient(model);
    QJsonObject records;
    for (int k = 0; k < kSectionCount; ++k)
        if (k != kUndecodedSection)
            records[QString::number(k)] = QString::fromLatin1(model.record(k).bytes().toHex());
    return {{QStringLiteral("model_code"), int(model.modelCode())},
            {QStringLiteral("settings_version"), qint64(model.settingsVersion())},
            {QStringLiteral("records"), records},
            {QStringLiteral("fields"), fieldsJson(model, ctx)},
            {QStringLiteral("captions"), captionsJson(model, ctx)}};
}

} // namespace mk::tool
