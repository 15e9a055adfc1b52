// SPDX-License-Identifier: GPL-3.0-or-later
// mktool render: a screen preview of a settings file as a 320 x 240 PNG.

#include "Command.h"
#include "base/Error.h"
#include "catalogs/MeasPars.h"
#include "image/ColourSchemes.h"
#include "image/ImageDeviceModel.h"
#include "image/SettingsFile.h"
#include "image/TMK.h"
#include "render/PngFile.h"
#include "render/ScreenPreviews.h"
#include "render/ScreenRenderer.h"

#include <QImage>

namespace mk::tool {

namespace {

struct ScreenChoice
{
    ScreenKind kind = ScreenKind::X1;
    int index = 0; // x1: parameter code; otherwise the 0-based screen number
};

// "x1:CODE", "x4:N" ... with N counted from 1 as the editor names its previews, "x6", "hotmenu".
bool parseScreen(const QString &text, ScreenChoice *choice, QString *error)
{
    const QString name = text.section(QLatin1Char(':'), 0, 0).toLower();
    const QString arg = text.section(QLatin1Char(':'), 1);
    static const QList<QPair<QString, ScreenKind>> kinds = {
        {QStringLiteral("x1"), ScreenKind::X1},       {QStringLiteral("x4"), ScreenKind::X4},
        {QStringLiteral("x9"), ScreenKind::X9},       {QStringLiteral("x7"), ScreenKind::X7},
        {QStringLiteral("graph"), ScreenKind::Graph}, {QStringLiteral("arrow"), ScreenKind::Arrow},
        {QStringLiteral("x6"), ScreenKind::X6},       {QStringLiteral("hotmenu"), ScreenKind::HotMenu},
    };
    for (const auto &[kindName, kind] : kinds) {
        if (name != kindName)
            continue;
        choice->kind = kind;
        if (kind == ScreenKind::X6 || kind == ScreenKind::HotMenu) {
            if (!arg.isEmpty() && arg != QLatin1String("1")) {
                *error = QStringLiteral("у %1 нет номеров экранов").arg(kindName);
                return false;
            }
            return true;
        }
        bool ok = false;
        const int value = arg.toInt(&ok, 0);
        if (kind == ScreenKind::X1) {
            if (!ok || value < 0 || value > 255) {
                *error = QStringLiteral("x1 нужен код измеряемого параметра 0..255 (x1:КОД)");
                return false;
            }
            choice->index = value;
            return true;
        }
        if (!ok || value < 1 || value > screenCount(kind)) {
            *error = QStringLiteral("%1 нужен номер экрана 1..%2 (%1:N)").arg(kindName).arg(screenCount(kind));
            return false;
        }
        choice->index = value - 1;
        return true;
    }
    *error = QStringLiteral("неизвестный экран «%1»").arg(text);
    return false;
}

int runRender(const QStringList &argv)
{
    const Args args(argv, {QStringLiteral("--screen"), QStringLiteral("--scheme"), QStringLiteral("-o")}, {});
    if (!args.ok())
        return usageError(QStringLiteral("render"), args.error());
    if (args.positional().size() != 1)
        return usageError(QStringLiteral("render"), QStringLiteral("нужен ровно один файл настроек"));
    if (!args.has(QStringLiteral("--screen")) || !args.has(QStringLiteral("-o")))
        return usageError(QStringLiteral("render"), QStringLiteral("нужны --screen и -o OUT.png"));
    ScreenChoice choice;
    QString error;
    if (!parseScreen(args.value(QStringLiteral("--screen")), &choice, &error))
        return usageError(QStringLiteral("render"), error);
    const QString scheme = args.value(QStringLiteral("--scheme"));
    if (!scheme.isEmpty() && scheme != QLatin1String("0") && scheme != QLatin1String("1"))
        return usageError(QStringLiteral("render"), QStringLiteral("--scheme - это 0 или 1"));

    TMK tmk;
    loadSettings(tmk, args.positional().first());
    const Record &section9 = tmk.record(kDisplaySection);
    // Without --scheme: the set the device shows, the user scheme when it is active.
    const int set = scheme.isEmpty() ? editedSetFor(section9) : scheme.toInt();
    const DeviceModel device = SelectDeviceModel(tmk);
    const MeasParCatalog catalog(device.Flags);

    ScreenRenderer screen;
    ScreenPreviews(section9, catalog, set).render(screen, choice.kind, choice.index);
    const QImage image(reinterpret_cast<const uchar *>(screen.pixels()), ScreenRenderer::kWidth,
                       ScreenRenderer::kHeight, QImage::Format_RGB32);
    writeOutput(args.value(QStringLiteral("-o")), pngBytes(image));
    return kOk;
}

const CommandRegistrar kRender(
    {QStringLiteral("render"),
     QStringLiteral("FILE --screen x1:CODE|x4:N|x9:N|x7:N|graph:N|arrow:N|x6|hotmenu [--scheme 0|1] -o OUT.png"),
     QStringLiteral("рисует экран (N считается с 1) в цветах набора схем "
                    "(по умолчанию - действующего) картинкой PNG 320x240"),
     runRender});

} // namespace
} // namespace mk::tool
