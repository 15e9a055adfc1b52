// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/DeviceSession.h"

#include "base/Error.h"
#include "image/TMK.h"
#include "link/Progress.h"
#include "link/TKW_RS.h"
#include "settings/RecordedUnitTexts.h"

namespace mk {

bool readSettings(TKW_RS &link, TMK &model, Progress &progress)
{
    const std::optional<DeviceImage> got = readDevice(link, progress);
    if (!got)
        return false;
    model.replaceImage(got->device.modelCode, got->image);
    return true;
}

WritableSettings WritableSettings::check(TMK &model)
{
    if (!model.hasImage())
        throw Error(ErrorKind::BadValue,
                    QStringLiteral("Нет настроек для записи: сначала считайте их из МК или из файла."));
    requireCompleteSettings(model);
    return WritableSettings(model);
}

WritePreviewData writePreviewData(const TMK &device, const TMK &held, const TMK &toWrite, RecordedData recorded)
{
    WritePreviewData data;
    data.diff = diffSettings(device, toWrite);
    data.plan = recordedPlan(device, toWrite);
    data.recorded = recordedDifferences(device, held, toWrite);
    if (recorded == RecordedData::FromSettings)
        data.restoreReplaces = restoreReplacesLines(device, held);
    return data;
}

std::optional<WriteOutcome> writeSettings(TKW_RS &link, const WritableSettings &settings, Progress &progress,
                                          const WriteOptions &options)
{
    TMK &model = settings.model();
    std::optional<WriteOutcome> outcome = writeDevice(link, model, progress, options);
    if (outcome)
        model.replaceImage(model.modelCode(), outcome->image);
    return outcome;
}

} // namespace mk
