// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Экспорт профиля": which pages of settings go into the profile. Pages that hold what belongs to
// this one car (the odometer and its corrections, the tank calibration, the service dates) start
// unticked, so that a profile carries only what suits the next car.

#include "settings/PageId.h"

#include <QDialog>
#include <QStringList>
#include <functional>

class QCheckBox;

namespace mk {

class ProfilePagesDialog : public QDialog
{
    Q_OBJECT
public:
    // Offers the pages that `shown` accepts (every page when not given): those the model shows.
    explicit ProfilePagesDialog(QWidget *parent = nullptr, std::function<bool(PageId page)> shown = {});

    // The captions of the pages ticked.
    QStringList pages() const;
    // Whether the page starts unticked.
    static bool isVehiclePage(PageId page);

private:
    QList<QCheckBox *> m_boxes;
};

} // namespace mk
