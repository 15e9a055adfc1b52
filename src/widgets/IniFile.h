// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's small ini file: window placement, the automatic-search switch and the port.

#include <QSettings>
#include <QString>
#include <memory>

namespace mk {

// Where the ini file lives: beside the program file, named like it with the extension ".ini".
// When the program's folder is not writable, or lies under /usr (an installed program), the
// file lives in the user's configuration folder instead, under the same name.
QString defaultIniPath();
// That per-user folder: the configuration folder on Linux (~/.config), the program's own folder
// in the local application data on Windows (%LOCALAPPDATA%\mkconf, beside its lock and trace).
QString userIniFolder();
// The choice above for a given program file and per-user configuration folder.
QString iniPathFor(const QString &programFile, const QString &userConfigDir);

// Where the file dialogs start until the user picks a folder: the program's folder when the
// ini file lives there (Linux), otherwise (an installed program, and always on Windows) the
// user's documents folder, or the home folder when there is no documents folder.
QString defaultFileFolder();
QString fileFolderFor(const QString &iniPath, const QString &programDir, const QString &documentsDir);

class IniFile
{
public:
    // Creates the file with one line holding a single space when it does not exist yet.
    explicit IniFile(const QString &path);
    ~IniFile(); // writes what was changed

    int readInteger(const QString &section, const QString &key, int fallback) const;
    // Accepts numbers (0 is false) and the words true/false; anything else gives the fallback.
    bool readBool(const QString &section, const QString &key, bool fallback) const;
    // Integers and booleans are written as decimal numbers.
    void writeInteger(const QString &section, const QString &key, int value);
    void writeBool(const QString &section, const QString &key, bool value);

    // For parts that keep their own keys in the same file (the link's "RS232"/"Port").
    QSettings &settings() { return *m_settings; }
    const QSettings &settings() const { return *m_settings; }

    // Writes pending changes; false when the file could not be written.
    bool flush();
    QString path() const { return m_path; }

private:
    QString m_path;
    std::unique_ptr<QSettings> m_settings;
};

} // namespace mk
