#include "SettingsFileReport.h"

#include "model/ImageLayout.h"
#include "model/TMK.h"

#include <QJsonArray>

namespace mk::tool {

namespace {

QString hex4(quint32 v) { return QStringLiteral("0x%1").arg(v, 4, 16, QLatin1Char('0')).toUpper().replace(QLatin1String("0X"), QLatin1String("0x")); }

bool oscInside(const TMK &model, int block)
{
    return kOscBlockPos[block] + kOscHeaderSize + kOscSampleCount <= model.image().size();
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
    return {{QStringLiteral("model_code"), int(model.modelCode())},
            {QStringLiteral("settings_version"), qint64(h.version)},
            {QStringLiteral("image_length"), int(model.image().size())},
            {QStringLiteral("section_count"), qint64(h.count)},
            {QStringLiteral("sections"), sections},
            {QStringLiteral("oscilloscope_blocks_inside"), QJsonArray{oscInside(model, 0), oscInside(model, 1)}}};
}

QString infoText(const TMK &model)
{
    const ImageHeader h = model.header();
    QString t;
    t += QStringLiteral("model code:       %1 (%2)\n").arg(hex4(model.modelCode())).arg(model.modelCode());
    t += QStringLiteral("settings version: %1\n").arg(h.version);
    t += QStringLiteral("image length:     %1 bytes\n").arg(model.image().size());
    t += QStringLiteral("sections in use:  %1\n\n").arg(h.count);
    t += QStringLiteral("section  address  length  image range\n");
    for (int k = 0; k < kSectionCount; ++k) {
        const SectionEntry &e = h.sections[size_t(k)];
        QString range = QStringLiteral("(none)");
        if (e.usable()) {
            const int end = e.contentPos() + e.contentLength();
            range = QStringLiteral("%1..%2").arg(e.contentPos()).arg(end - 1);
            if (e.contentLength() == 0)
                range = QStringLiteral("(empty)");
            if (end > model.image().size())
                range += QStringLiteral(" (past the image end)");
        }
        t += QStringLiteral("%1  %2  %3  %4\n").arg(k, 7).arg(e.address, 7).arg(e.length, 6).arg(range);
    }
    for (int b = 0; b < 2; ++b)
        t += QStringLiteral("\noscilloscope block %1 at %2: %3").arg(b).arg(kOscBlockPos[b])
                 .arg(oscInside(model, b) ? QStringLiteral("inside the image") : QStringLiteral("outside the image"));
    return t + QLatin1Char('\n');
}

QJsonObject dumpJson(const TMK &model)
{
    QJsonObject records;
    for (int k = 0; k < kSectionCount; ++k)
        if (k != kUndecodedSection)
            records[QString::number(k)] = QString::fromLatin1(model.record(k).bytes().toHex());
    return {{QStringLiteral("model_code"), int(model.modelCode())},
            {QStringLiteral("settings_version"), qint64(model.settingsVersion())},
            {QStringLiteral("records"), records}};
}

} // namespace mk::tool
