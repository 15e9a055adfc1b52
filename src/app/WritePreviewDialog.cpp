#include "app/WritePreviewDialog.h"

#include "app/SettingsDiffView.h"
#include "settings/SettingsDiff.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace mk {

WritePreviewDialog::WritePreviewDialog(const SettingsDiff &diff, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("WritePreviewDialog"));
    setWindowTitle(QStringLiteral("Запись настроек в МК"));
    auto *label = new QLabel(
        QStringLiteral("Настроек МК, которые изменятся при записи: %1. Записать?").arg(diff.changeCount()), this);
    label->setObjectName(QStringLiteral("lCount"));
    label->setWordWrap(true);
    auto *view = new SettingsDiffView(diff, QStringLiteral("Сейчас в МК"), QStringLiteral("Будет записано"), this);
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *write = buttons->addButton(QStringLiteral("&Записать"), QDialogButtonBox::AcceptRole);
    write->setObjectName(QStringLiteral("bWrite"));
    QPushButton *cancel = buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("bCancel"));
    // Nothing is written by a stray Enter: the user chooses.
    cancel->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(view, 1);
    layout->addWidget(buttons);
    resize(720, 460);
}

} // namespace mk
