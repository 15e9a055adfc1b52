// SPDX-License-Identifier: GPL-3.0-or-later
// Where file dialogs start on Windows: Documents, whether the ini lies beside the program or not
// (the installer puts the program in a folder of its own that the user may write, which is no
// place for settings files).

#include "widgets/IniFile.h"

#include <QDir>
#include <QFileInfo>

namespace mk {

QString fileFolderFor(const QString &, const QString &, const QString &documentsDir)
{
    return !documentsDir.isEmpty() && QFileInfo(documentsDir).isDir() ? documentsDir : QDir::homePath();
}

} // namespace mk
