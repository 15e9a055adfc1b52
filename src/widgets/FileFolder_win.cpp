// SPDX-License-Identifier: GPL-3.0-or-later
// Where file dialogs start on Windows: Documents, whether the ini lies beside the program or not
// (the installer puts the program in a folder of its own that the user may write, which is no
// place for settings files). The user's ini, when none can lie beside the program, goes in the
// program's own folder of the local application data, not loose in it.

#include "widgets/IniFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace mk {

QString userIniFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/mkconf");
}

QString fileFolderFor(const QString &, const QString &, const QString &documentsDir)
{
    return !documentsDir.isEmpty() && QFileInfo(documentsDir).isDir() ? documentsDir : QDir::homePath();
}

} // namespace mk
