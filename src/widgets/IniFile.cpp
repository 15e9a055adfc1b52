// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/IniFile.h"

#include "base/StdStreams.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace mk {

namespace {

QString keyPath(const QString &section, const QString &key) { return section + QLatin1Char('/') + key; }

bool folderWritable(const QString &folder)
{
    // The folder's permission bits do not tell about read-only mounts: try a file.
    QFile probe(QDir(folder).filePath(QStringLiteral(".mkconf-write-probe")));
    if (!probe.open(QIODevice::WriteOnly))
        return false;
    probe.close();
    probe.remove();
    return true;
}

} // namespace

QString iniPathFor(const QString &programFile, const QString &userConfigDir)
{
    const QFileInfo program(programFile);
    const QString name = program.completeBaseName() + QStringLiteral(".ini");
    const QString beside = program.absoluteDir().filePath(name);
    // A program under /usr belongs to the package manager even when the administrator could
    // write there: no ini file is left beside it.
    const bool packaged = program.absolutePath().startsWith(QLatin1String("/usr/"));
    if (!packaged &&
        (QFileInfo::exists(beside) ? QFileInfo(beside).isWritable() : folderWritable(program.absolutePath())))
        return beside;
    QDir().mkpath(userConfigDir);
    return QDir(userConfigDir).filePath(name);
}

QString defaultIniPath()
{
    return iniPathFor(QCoreApplication::applicationFilePath(), userIniFolder());
}

QString defaultFileFolder()
{
    return fileFolderFor(defaultIniPath(), QCoreApplication::applicationDirPath(),
                         QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
}

IniFile::IniFile(const QString &path) : m_path(path)
{
    if (!QFileInfo::exists(path)) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(textLineEnds(" \n")); // the line ends QSettings writes here too
    }
    m_settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
}

IniFile::~IniFile() { flush(); }

int IniFile::readInteger(const QString &section, const QString &key, int fallback) const
{
    bool ok = false;
    const int value = m_settings->value(keyPath(section, key)).toString().trimmed().toInt(&ok);
    return ok ? value : fallback;
}

bool IniFile::readBool(const QString &section, const QString &key, bool fallback) const
{
    const QString text = m_settings->value(keyPath(section, key)).toString().trimmed();
    bool ok = false;
    const int number = text.toInt(&ok);
    if (ok)
        return number != 0;
    if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    return fallback;
}

void IniFile::writeInteger(const QString &section, const QString &key, int value)
{
    m_settings->setValue(keyPath(section, key), value);
}

void IniFile::writeBool(const QString &section, const QString &key, bool value)
{
    m_settings->setValue(keyPath(section, key), value ? 1 : 0);
}

bool IniFile::flush()
{
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

} // namespace mk
