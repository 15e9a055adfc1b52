// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// mktool's commands register themselves here; main() dispatches on the first argument.

#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace mk {
class TMK;
}

namespace mk::tool {

// Exit codes shared by every command.
enum ExitCode {
    kOk = 0,
    kFailed = 1,    // the operation failed (file, device, value)
    kUsage = 2,     // bad command line
    kCancelled = 3, // interrupted by the user
};

struct Command
{
    QString name;
    QString usage;   // one line: arguments and options
    QString summary; // what it does
    std::function<int(const QStringList &args)> run;
};

std::vector<Command> &commands();

struct CommandRegistrar
{
    explicit CommandRegistrar(Command command) { commands().push_back(std::move(command)); }
};

// Output helpers: UTF-8 on stdout/stderr. A failed write to stdout throws Error.
void out(const QString &text);     // text, with the system's line ends (CR LF on Windows)
void out(const QByteArray &bytes); // bytes exactly: a file's contents (a CSV table)
void err(const QString &text);
// Writes a command's result to the file path, or to standard output when path is "-".
void writeOutput(const QString &path, const QByteArray &data);
// The settings file of the model written the same way.
void writeSettingsOutput(const mk::TMK &model, const QString &path);
// Throws Error when the result could not be written at path (standard output always can).
void checkOutputWritable(const QString &path);
// A runtime error: "mktool: TEXT" on stderr.
void failure(const QString &text);
// A usage error: prints the message and the command's usage, returns kUsage.
int usageError(const QString &command, const QString &message);

// A command's options: "--name value", "--name=value", "-o value" and bare flags; "--" ends
// the options, everything after it is a positional argument ("mktool info -- -x.tcset").
class Args
{
public:
    Args(const QStringList &args, const QStringList &valueOptions, const QStringList &flagOptions);
    bool ok() const { return m_error.isEmpty(); }
    const QString &error() const { return m_error; }
    bool has(const QString &name) const { return m_values.contains(name) || m_flags.contains(name); }
    QString value(const QString &name, const QString &fallback = {}) const { return m_values.value(name, fallback); }
    const QStringList &positional() const { return m_positional; }
    // The positional arguments given after "--" (the last ones of positional()).
    QStringList afterEnd() const;

private:
    QMap<QString, QString> m_values;
    QStringList m_flags;
    QStringList m_positional;
    qsizetype m_afterEnd = 0;
    QString m_error;
};

// A file argument: "-" is standard input (read once), anything else a file's path.
QByteArray readInput(const QString &path, qint64 maxSize);
// How a file argument is named in messages: its path, or "стандартный ввод" for "-".
QString shownInput(const QString &path);

enum class SettingsCheck {
    Refuse, // a header no device memory can have: Error, the model unchanged
    Accept, // loaded as it is (a support report describes what it was given)
};
// Loads a settings file (or "-": standard input) into the model; a file that lacks sections its
// header names loads, with a warning on stderr naming them.
void loadSettings(mk::TMK &model, const QString &path, SettingsCheck check = SettingsCheck::Refuse);

// Parses "0x0101", "257" and the like; throws mk::Error with the given field name.
quint32 parseNumber(const QString &text, const QString &what, quint32 max);

} // namespace mk::tool
