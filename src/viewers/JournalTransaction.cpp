// "Просмотреть журналы": the journals viewer on sections 6, 0 and 12 of the model.

#include "app/MessageBoxes.h"
#include "app/Transactions.h"
#include "catalogs/DeviceModel.h"
#include "model/Error.h"
#include "model/TMK.h"
#include "viewers/TMK_ViewJournalsDlg.h"

namespace mk {

namespace {

constexpr int kJournalSections[] = {6, 0, 12};

// The error-code format of the protocol the image selects. The lookup runs for the image held
// now, so codes are never written in the format of an image viewed earlier; without a protocol
// (no row, an index past the list, a key out of range) the codes get no text.
int errorCodeFormatOf(const TMK &model)
{
    try {
        const DeviceModel device = SelectDeviceModel(model);
        if (const TProtBase *protocol = device.CurrentProtocol())
            return protocol->ErrorCodeFormat;
    } catch (const RangeError &) {
    }
    return kNoCodeTextFormat;
}

} // namespace

bool runJournalTransaction(QWidget *parent, TMK &model)
{
    for (int k : kJournalSections)
        model.decodeSection(k);
    // Clearing works on the records; a cancelled viewer must not leave them cleared, or the
    // next write to the device would carry the clearing after all.
    const Record saved[] = {model.record(6), model.record(0), model.record(12)};

    TMK_ViewJournalsDlg dialog(model, errorCodeFormatOf(model), parent);
    if (execDialog(dialog) == QDialog::Accepted) {
        for (int k : kJournalSections)
            model.encodeSection(k);
        return true;
    }
    for (int i = 0; i < 3; ++i)
        model.record(kJournalSections[i]) = saved[i];
    return false;
}

} // namespace mk
