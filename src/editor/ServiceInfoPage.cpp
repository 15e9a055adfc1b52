// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/ServiceInfoPage.h"

#include "catalogs/DeviceModel.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace mk {

using namespace Qt::StringLiterals;

ServiceInfoPage::ServiceInfoPage(QWidget *tabSheet, EditorHost &host) : EditorPage(tabSheet, host)
{
    auto *top = new QVBoxLayout(tabSheet);
    auto *grid = new QTableWidget(2, 2, tabSheet);
    grid->setObjectName(u"sgServiceInfo"_s);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setItem(0, 0, new QTableWidgetItem(u"Проект"_s));
    grid->setItem(1, 0, new QTableWidgetItem(u"Протокол"_s));
    grid->horizontalHeader()->setStretchLastSection(true);
    top->addWidget(grid);
    grid->setItem(0, 1, new QTableWidgetItem(host.device().ModelName));
    const TProtBase *p = CurrentProtocol(host.device());
    grid->setItem(1, 1, new QTableWidgetItem(p ? p->Name : QString()));
}

} // namespace mk
