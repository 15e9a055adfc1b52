// SPDX-License-Identifier: GPL-3.0-or-later
// "Просмотреть журналы": the journals viewer on the trip journals, the averages and the error journal.

#include "image/ImageLayout.h"
#include "image/RecordSync.h"
#include "journals/JournalCodeFormat.h"
#include "viewers/TMK_ViewJournalsDlg.h"
#include "viewers/ViewerTransactions.h"
#include "widgets/MessageBoxes.h"

namespace mk {

namespace {

constexpr int kJournalSections[] = {kTripsSection, kCountersSection, kErrorsSection};

} // namespace

bool runJournalTransaction(QWidget *parent, TMK &model)
{
    // Clearing works on the records; a cancelled viewer must not leave them cleared, or the
    // next write to the device would carry the clearing after all.
    SectionSnapshot snapshot(model, {std::begin(kJournalSections), std::end(kJournalSections)});

    // The lookup runs for the image held now, so codes are never written in the format of an
    // image viewed earlier.
    TMK_ViewJournalsDlg dialog(model, journalErrorCodeFormat(model), parent);
    if (execDialog(dialog) == QDialog::Accepted) {
        snapshot.commit();
        return true;
    }
    snapshot.rollback();
    return false;
}

} // namespace mk
