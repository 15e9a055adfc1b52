// SPDX-License-Identifier: GPL-3.0-or-later
// mktool osc: the oscilloscope record of a settings file as CSV or as the viewer draws it.

#include "Command.h"
#include "base/Error.h"
#include "image/ImageDeviceModel.h"
#include "image/TMK.h"
#include "journals/JournalCsv.h"
#include "journals/OscExport.h"
#include "render/OscPicture.h"
#include "render/PngFile.h"

#include <QImage>

namespace mk::tool {

namespace {

int runOsc(const QStringList &argv)
{
    const Args args(argv, {QStringLiteral("-o"), QStringLiteral("--zoom"), QStringLiteral("--offset")},
                    {QStringLiteral("--csv")});
    if (!args.ok() || args.positional().size() != 1)
        return usageError(QStringLiteral("osc"),
                          args.ok() ? QStringLiteral("нужен ровно один файл настроек") : args.error());
    const bool csv = args.has(QStringLiteral("--csv"));
    const bool png = args.has(QStringLiteral("-o"));
    if (!csv && !png)
        return usageError(QStringLiteral("osc"), QStringLiteral("выберите --csv, -o OUT.png или оба"));
    if (csv && png && args.value(QStringLiteral("-o")) == QLatin1String("-"))
        return usageError(QStringLiteral("osc"), QStringLiteral("--csv и -o - оба пишут в стандартный вывод"));
    bool ok = true;
    const double zoom = args.value(QStringLiteral("--zoom"), QStringLiteral("1")).toDouble(&ok);
    if (!ok || zoom < 0.125 || zoom > 64)
        return usageError(QStringLiteral("osc"), QStringLiteral("--zoom - растяжение оси времени, 0.125..64"));
    const int offset = args.value(QStringLiteral("--offset"), QStringLiteral("0")).toInt(&ok);
    if (!ok || offset < kOscOffsetMin || offset > kOscOffsetMax)
        return usageError(QStringLiteral("osc"),
                          QStringLiteral("--offset - число отсчётов %1..%2").arg(kOscOffsetMin).arg(kOscOffsetMax));

    TMK tmk;
    loadSettings(tmk, args.positional().first());
    requireOscilloscope(tmk); // as the viewer: a model without one has no record to show
    tmk.readOscBlocks();
    OscDrawing drawing;
    drawing.settings = oscSettings(tmk.record(kVehicleSection), tmk.osc(0).header);
    drawing.samples = oscSamples(tmk);
    drawing.showScale = 1.0 / oscTimeDivisor(drawing.settings.timeDiv);
    drawing.offset = offset;
    drawing.zoom = zoom;

    if (png) {
        QImage picture(kOscPictureWidth, kOscPictureHeight, QImage::Format_RGB32);
        drawOscPicture(picture, drawing);
        writeOutput(args.value(QStringLiteral("-o")), pngBytes(picture));
    }
    if (csv)
        out(csvText(oscCsvRows(drawing.settings, drawing.samples))); // a CSV file's bytes, as -o writes them
    return kOk;
}

const CommandRegistrar
    kOsc({QStringLiteral("osc"), QStringLiteral("FILE [--csv] [-o OUT.png [--zoom Z] [--offset N]]"),
          QStringLiteral("запись осциллографа: --csv печатает время в мс от момента запуска и "
                         "вольты каждого отсчёта в масштабе самой записи; -o рисует кривую, как окно "
                         "осциллографа (PNG 1002x278), растянутую в Z раз и сдвинутую на N отсчётов"),
          runOsc});

} // namespace
} // namespace mk::tool
