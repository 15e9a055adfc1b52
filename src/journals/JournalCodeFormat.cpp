// SPDX-License-Identifier: GPL-3.0-or-later
#include "journals/JournalCodeFormat.h"

#include "base/Error.h"
#include "image/ImageDeviceModel.h"
#include "journals/ErrorCodeText.h"

namespace mk {

int journalErrorCodeFormat(const TMK &model)
{
    try {
        const DeviceModel device = SelectDeviceModel(model);
        if (const TProtBase *protocol = CurrentProtocol(device))
            return protocol->ErrorCodeFormat;
    } catch (const RangeError &) {
    }
    return kNoCodeTextFormat;
}

} // namespace mk
