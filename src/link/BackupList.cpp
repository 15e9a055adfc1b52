// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/BackupList.h"

#include "link/Backup.h"

#include "base/Error.h"
#include "base/FileIo.h"
#include "image/ImageDeviceModel.h"
#include "image/SettingsFile.h"
#include "image/TMK.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace mk {

namespace {

// "mk-20261208-143005-8002.tcset", "-2", "-3" ... when a name was taken.
const QRegularExpression kBackupName(QStringLiteral("^mk-(\\d{8}-\\d{6})-([0-9a-f]{4})(-\\d+)?\\.tcset$"));

void describe(BackupEntry &entry, quint16 codeInName)
{
    const auto damaged = [&entry](const QString &why) {
        entry.kind = BackupEntry::Damaged;
        entry.problem = why;
    };
    try {
        const SettingsFileContent content = decodeSettingsFile(readFileNoLink(entry.path, kMaxSettingsFileSize));
        TMK model;
        model.replaceImage(content.modelCode, content.image);
        entry.modelCode = content.modelCode;
        entry.settingsVersion = model.settingsVersion();
        if (content.modelCode != codeInName)
            return damaged(QStringLiteral("код модели в файле (%1) не тот, что в имени")
                               .arg(content.modelCode, 4, 16, QLatin1Char('0')));
        if (!model.missingSections().isEmpty() || model.header().count == 0)
            return damaged(QStringLiteral("образ памяти неполный или повреждён"));
        try {
            entry.modelName = SelectDeviceModel(content.modelCode, 0, entry.settingsVersion).ModelName;
        } catch (const Error &) {
            // a version the model table cannot look up: the backup is still whole
        }
    } catch (const Error &e) {
        damaged(e.text());
    }
}

} // namespace

QString backupKindText(BackupEntry::Kind kind)
{
    switch (kind) {
    case BackupEntry::Backup: return QStringLiteral("Резервная копия");
    case BackupEntry::Foreign: return QStringLiteral("Чужой файл");
    case BackupEntry::Damaged: return QStringLiteral("Повреждён");
    }
    return {};
}

std::vector<BackupEntry> listBackups(const QString &dir)
{
    std::vector<BackupEntry> list;
    // Regular files only: a link named like a backup is passed over, never followed.
    const QFileInfoList files = QDir(dir).entryInfoList(QDir::Files | QDir::NoSymLinks, QDir::Name);
    for (const QFileInfo &info : files) {
        if (info.isSymLink() || !info.isFile())
            continue;
        BackupEntry entry;
        entry.path = info.absoluteFilePath();
        entry.fileName = info.fileName();
        entry.when = info.lastModified();
        const QRegularExpressionMatch m = kBackupName.match(info.fileName());
        const QDateTime named = m.hasMatch() ? QDateTime::fromString(m.captured(1), kBackupTimeFormat) : QDateTime();
        if (!named.isValid()) {
            entry.kind = BackupEntry::Foreign;
            entry.problem = QStringLiteral("не резервная копия этой программы");
        } else {
            entry.when = named;
            describe(entry, quint16(m.captured(2).toUInt(nullptr, 16)));
        }
        list.push_back(std::move(entry));
    }
    std::stable_sort(list.begin(), list.end(), [](const BackupEntry &a, const BackupEntry &b) {
        if (a.when != b.when)
            return a.when > b.when;
        return a.fileName < b.fileName; // "-2" (taken later) before the first of the same second
    });
    return list;
}

} // namespace mk
