#include "model/JournalCodeFormat.h"

#include "catalogs/DeviceModel.h"
#include "model/Error.h"
#include "model/ErrorCodeText.h"

namespace mk {

int journalErrorCodeFormat(const TMK &model)
{
    try {
        const DeviceModel device = SelectDeviceModel(model);
        if (const TProtBase *protocol = device.CurrentProtocol())
            return protocol->ErrorCodeFormat;
    } catch (const RangeError &) {
    }
    return kNoCodeTextFormat;
}

} // namespace mk
