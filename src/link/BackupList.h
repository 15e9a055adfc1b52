// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The backups folder as a list: what each file holds, newest first. Files that are no backup of
// this program, or that cannot be read as one, are listed as such; none stops the listing.

#include <QDateTime>
#include <QString>
#include <vector>

namespace mk {

struct BackupEntry
{
    enum Kind { Backup, Foreign, Damaged };
    Kind kind = Backup;
    QString path;
    QString fileName;
    QDateTime when;        // the time in the backup's name; the file's modification time otherwise
    quint16 modelCode = 0; // Backup only
    QString modelName;     // "" when the model table has no name for it
    quint32 settingsVersion = 0;
    QString problem; // Foreign and Damaged: why, in the user's words
};

// Every regular file of the folder but hidden ones (a backup being written is hidden until
// complete); links, FIFOs, devices and sockets are passed over.
// A missing folder gives an empty list.
std::vector<BackupEntry> listBackups(const QString &dir);

// "Резервная копия", "Чужой файл", "Повреждён".
QString backupKindText(BackupEntry::Kind kind);

} // namespace mk
