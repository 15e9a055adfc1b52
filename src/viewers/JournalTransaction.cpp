// "Просмотреть журналы": the journals viewer on sections 6, 0 and 12 of the model.

#include "app/MessageBoxes.h"
#include "app/Transactions.h"
#include "model/JournalCodeFormat.h"
#include "model/TMK.h"
#include "viewers/TMK_ViewJournalsDlg.h"

namespace mk {

namespace {

constexpr int kJournalSections[] = {6, 0, 12};

} // namespace

bool runJournalTransaction(QWidget *parent, TMK &model)
{
    for (int k : kJournalSections)
        model.decodeSection(k);
    // Clearing works on the records; a cancelled viewer must not leave them cleared, or the
    // next write to the device would carry the clearing after all.
    const Record saved[] = {model.record(6), model.record(0), model.record(12)};

    // The lookup runs for the image held now, so codes are never written in the format of an
    // image viewed earlier.
    TMK_ViewJournalsDlg dialog(model, journalErrorCodeFormat(model), parent);
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
