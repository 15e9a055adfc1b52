// SPDX-License-Identifier: GPL-3.0-or-later
// mktool backups: the device memories kept before writes, newest first.

#include "Command.h"
#include "SystemWords.h"
#include "link/Backup.h"
#include "link/BackupList.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace mk::tool {

namespace {

const char *kindKey(BackupEntry::Kind kind)
{
    switch (kind) {
    case BackupEntry::Backup: return "backup";
    case BackupEntry::Foreign: return "foreign";
    case BackupEntry::Damaged: return "damaged";
    }
    return "";
}

int runBackups(const QStringList &argv)
{
    const Args args(argv, {QStringLiteral("--dir")}, {QStringLiteral("--json")});
    if (!args.ok() || !args.positional().isEmpty())
        return usageError(QStringLiteral("backups"), args.ok() ? QStringLiteral("файлы здесь не нужны") : args.error());
    const QString dir = args.value(QStringLiteral("--dir"), defaultBackupDir());
    const std::vector<BackupEntry> list = listBackups(dir);
    if (args.has(QStringLiteral("--json"))) {
        QJsonArray items;
        for (const BackupEntry &e : list) {
            QJsonObject o{{QStringLiteral("kind"), QString::fromLatin1(kindKey(e.kind))},
                          {QStringLiteral("path"), QDir::toNativeSeparators(e.path)},
                          {QStringLiteral("time"), e.when.toString(Qt::ISODate)}};
            if (e.kind == BackupEntry::Backup) {
                o[QStringLiteral("model_code")] = int(e.modelCode);
                o[QStringLiteral("model_name")] = e.modelName;
                o[QStringLiteral("settings_version")] = qint64(e.settingsVersion);
            } else {
                o[QStringLiteral("problem")] = e.problem;
            }
            items.append(o);
        }
        out(QString::fromUtf8(
            QJsonDocument(QJsonObject{{QStringLiteral("dir"), QDir::toNativeSeparators(dir)}, {QStringLiteral("backups"), items}})
                .toJson(QJsonDocument::Indented)));
        return kOk;
    }
    QString text = QStringLiteral("%1\n").arg(QDir::toNativeSeparators(dir));
    if (list.empty())
        text += QStringLiteral("(копий нет)\n");
    for (const BackupEntry &e : list) {
        const QString when = e.when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (e.kind == BackupEntry::Backup)
            text += QStringLiteral("%1  0x%2  %3  версия настроек %4  %5\n")
                        .arg(when)
                        .arg(e.modelCode, 4, 16, QLatin1Char('0'))
                        .arg(e.modelName.isEmpty() ? QStringLiteral("(модель без названия)") : e.modelName)
                        .arg(e.settingsVersion)
                        .arg(e.fileName);
        else
            text += QStringLiteral("%1  %2: %3  %4\n").arg(when, backupKindText(e.kind), e.problem, e.fileName);
    }
    out(text);
    return kOk;
}

const CommandRegistrar
    kBackups({QStringLiteral("backups"), QStringLiteral("[--dir DIR] [--json]"),
              QStringLiteral("список копий памяти МК, сохранённых перед записью (папка по умолчанию: %1), новые "
                             "первыми: время, код и название модели, версия настроек; чужие и повреждённые файлы "
                             "отмечены")
                  .arg(dataFolderShown() + QDir::separator() + QStringLiteral("backups")),
              runBackups});

} // namespace
} // namespace mk::tool
