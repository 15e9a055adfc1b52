// Steps whose dialogs have not been built yet: each tells the user so and changes nothing.
// The file that defines a step's real dialog removes that step's definition from here.

#include "app/MessageBoxes.h"
#include "app/Transactions.h"

namespace mk {

namespace {

void announceLaterVersion(QWidget *parent, const QString &step)
{
    showInformation(parent, QStringLiteral("Шаг «%1» появится в следующей версии программы.").arg(step));
}

} // namespace

bool runEditTransaction(QWidget *parent, TMK &)
{
    announceLaterVersion(parent, QStringLiteral("Редактировать настройки"));
    return false;
}

} // namespace mk
