// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The write preview's list of what the device records (journals, averages, odometer, service
// counters) where the settings differ from the device: both values and a check box "write from
// the settings" per unit. Units the user changed in this session are written and stay ticked;
// any other can be ticked to be written from the settings instead of kept as in the device.

#include "image/RecordSync.h"

#include <QTableWidget>
#include <set>
#include <vector>

namespace mk {

class TMK;

class RecordedChoicesView : public QTableWidget
{
    Q_OBJECT
public:
    RecordedChoicesView(const std::vector<RecordedDifference> &differences, const TMK &device, const TMK &settings,
                        QWidget *parent = nullptr);

    // The units the user ticked beside those already written from the settings.
    std::set<RecordedUnitId> chosen() const;
    // Every column whole and every row, so that the preview opens showing them.
    QSize sizeHint() const override;

private:
    std::vector<RecordedDifference> m_differences;
};

} // namespace mk
