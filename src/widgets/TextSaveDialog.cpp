// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/TextSaveDialog.h"

#include "widgets/IniFile.h"
#include "widgets/MessageBoxes.h"

#include <QFileDialog>
#include <QFileInfo>

namespace mk {

QString askTextSavePath(QWidget *parent, QString &folder, const QString &suggestedName)
{
    QFileDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("SaveTextDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("Текстовые файлы (*.txt)"));
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    dialog.setDirectory(folder.isEmpty() ? defaultFileFolder() : folder);
    if (!suggestedName.isEmpty())
        dialog.selectFile(suggestedName);
    if (execDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString path = dialog.selectedFiles().constFirst();
    folder = QFileInfo(path).absolutePath();
    return path;
}

} // namespace mk
