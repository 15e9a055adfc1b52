// SPDX-License-Identifier: GPL-3.0-or-later
// Where file dialogs start on Linux: a copy run from a folder of its own (its ini beside it) keeps
// its files there too; an installed one starts in Documents. The user's ini lies in ~/.config.

#include "widgets/IniFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace mk {

QString userIniFolder() { return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation); }

QString fileFolderFor(const QString &iniPath, const QString &programDir, const QString &documentsDir)
{
    if (QFileInfo(iniPath).absolutePath() == QDir(programDir).absolutePath())
        return programDir;
    return !documentsDir.isEmpty() && QFileInfo(documentsDir).isDir() ? documentsDir : QDir::homePath();
}

} // namespace mk
