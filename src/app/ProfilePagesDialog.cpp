// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProfilePagesDialog.h"

#include "settings/NamedSettings.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace mk {

bool ProfilePagesDialog::isVehiclePage(PageId page)
{
    return page == PageId::Corrections || page == PageId::Tank || page == PageId::Service;
}

ProfilePagesDialog::ProfilePagesDialog(QWidget *parent, std::function<bool(PageId page)> shown) : QDialog(parent)
{
    setObjectName(QStringLiteral("ProfilePagesDialog"));
    setWindowTitle(QStringLiteral("Экспорт профиля"));
    auto *label = new QLabel(QStringLiteral("Страницы настроек, которые войдут в профиль. Пробег с поправками, "
                                            "тарировка бака и даты ТО относятся к этому автомобилю и без отметки "
                                            "в профиль не попадут; журналы в профиль не входят никогда."),
                             this);
    label->setWordWrap(true);
    auto *grid = new QGridLayout;
    int i = 0;
    for (const SettingsPage &page : settingsPages()) {
        if (page.parent)
            continue; // the inner pages follow their page
        if (shown && !shown(page.id))
            continue;
        auto *box = new QCheckBox(page.caption, this);
        box->setObjectName(QStringLiteral("cb_") + page.tab);
        box->setChecked(!isVehiclePage(page.id));
        m_boxes << box;
        grid->addWidget(box, i / 3, i % 3);
        ++i;
    }
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *save = buttons->addButton(QStringLiteral("&Экспортировать…"), QDialogButtonBox::AcceptRole);
    save->setObjectName(QStringLiteral("bExport"));
    QPushButton *cancel = buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("bCancel"));
    save->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // Nothing ticked, nothing to export.
    const auto follow = [this, save] { save->setEnabled(!pages().isEmpty()); };
    for (QCheckBox *box : m_boxes)
        connect(box, &QCheckBox::toggled, this, follow);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    setMinimumWidth(520);
}

QStringList ProfilePagesDialog::pages() const
{
    QStringList ticked;
    for (const QCheckBox *box : m_boxes)
        if (box->isChecked())
            ticked << box->text();
    return ticked;
}

} // namespace mk
