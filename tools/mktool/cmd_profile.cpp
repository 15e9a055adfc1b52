// SPDX-License-Identifier: GPL-3.0-or-later
// mktool profile / apply: a standard set of settings taken from one car and applied to the next.

#include "Command.h"
#include "SystemWords.h"
#include "base/Error.h"
#include "base/FileIo.h"
#include "image/SettingsFile.h"
#include "image/TMK.h"
#include "settings/NamedSettings.h"
#include "settings/Profile.h"
#include "settings/RecordedUnitTexts.h"
#include "settings/SettingsDiff.h"
#include "settings/ShownValue.h"

#include <QTemporaryDir>

namespace mk::tool {

namespace {

constexpr qint64 kMaxProfileSize = 4 * 1024 * 1024;

int runProfile(const QStringList &argv)
{
    const Args args(argv, {QStringLiteral("--pages"), QStringLiteral("-o")}, {});
    if (!args.ok())
        return usageError(QStringLiteral("profile"), args.error());
    if (args.positional().size() != 1 || !args.has(QStringLiteral("-o")))
        return usageError(QStringLiteral("profile"), QStringLiteral("нужны файл настроек и -o P.json"));
    QStringList pages;
    if (args.has(QStringLiteral("--pages")))
        pages = args.value(QStringLiteral("--pages")).split(QLatin1Char(','), Qt::SkipEmptyParts);
    TMK tmk;
    loadSettings(tmk, args.positional().first());
    writeOutput(args.value(QStringLiteral("-o")), exportProfile(tmk, pages));
    return kOk;
}

// The settings the profile changed, one line each, as every comparison names them.
QStringList changes(const TMK &before, const TMK &after)
{
    QStringList lines;
    for (const DiffPage &page : diffSettings(before, after).pages)
        for (const SettingChange &c : page.changes)
            if (c.kind == ChangeKind::Setting)
                lines << QStringLiteral("%1 / %2: %3 → %4").arg(page.page, c.label(), c.before, c.after);
    return lines;
}

// Applies the profile; false (problems listed on stderr) when anything does not fit.
bool applyTo(TMK &model, const QByteArray &profile)
{
    const std::vector<ProfileProblem> problems = applyProfile(model, profile);
    for (const ProfileProblem &p : problems)
        err(p.name.isEmpty() ? p.message + QLatin1Char('\n') : QStringLiteral("%1: %2\n").arg(p.name, p.message));
    if (!problems.empty())
        failure(QStringLiteral("Профиль не применён, замечаний: %1. Ничего не изменено.").arg(problems.size()));
    return problems.empty();
}

int runCommand(const QString &name, const QStringList &args)
{
    for (const Command &c : commands())
        if (c.name == name)
            return c.run(args);
    throw Error(QStringLiteral("нет команды %1").arg(name));
}

// Reads the device, applies, shows the changes and writes through the write command (backup,
// verification).
int applyToDevice(const Args &args, const QByteArray &profile)
{
    QStringList linkOptions;
    for (const QString &option : {QStringLiteral("--port"), QStringLiteral("--wait")})
        if (args.has(option))
            linkOptions << option << args.value(option);
    QTemporaryDir dir;
    if (!dir.isValid())
        throw Error(QStringLiteral("Не удалось создать временную папку."));
    const QString read = dir.filePath(QStringLiteral("device.tcset")),
                  edited = dir.filePath(QStringLiteral("applied.tcset"));
    if (const int code = runCommand(QStringLiteral("read"), linkOptions + QStringList{QStringLiteral("-o"), read});
        code != kOk)
        return code;
    TMK before;
    loadSettings(before, read);
    TMK model = before;
    if (!applyTo(model, profile))
        return kFailed;
    const QStringList changed = changes(before, model);
    if (changed.isEmpty()) {
        out(QStringLiteral("Профиль ничего не меняет: в МК ничего не записано.\n"));
        return kOk;
    }
    out(changed.join(QLatin1Char('\n')) + QStringLiteral("\nИзменится настроек: %1.\n").arg(changed.size()));
    saveSettingsFile(model, edited);
    QStringList writeArgs{edited};
    writeArgs << linkOptions;
    // What the profile changes of the device's own counters is the user's change: written.
    QStringList take;
    for (const RecordedUnit &unit : deviceRecordedUnits())
        if (before.sectionHeld(unit.section) &&
            unitBytes(before.record(unit.section).bytes(), unit) != unitBytes(model.record(unit.section).bytes(), unit))
            take << recordedUnitName(unit.id);
    if (!take.isEmpty())
        writeArgs << QStringLiteral("--take") << take.join(QLatin1Char(','));
    if (args.has(QStringLiteral("--backup-dir")))
        writeArgs << QStringLiteral("--backup-dir") << args.value(QStringLiteral("--backup-dir"));
    return runCommand(QStringLiteral("write"), writeArgs);
}

int runApply(const QStringList &argv)
{
    const Args args(
        argv,
        {QStringLiteral("-o"), QStringLiteral("--port"), QStringLiteral("--wait"), QStringLiteral("--backup-dir")},
        {QStringLiteral("--device")});
    if (!args.ok())
        return usageError(QStringLiteral("apply"), args.error());
    const bool device = args.has(QStringLiteral("--device"));
    if (device ? args.positional().size() != 1 || args.has(QStringLiteral("-o"))
               : args.positional().size() != 2 || !args.has(QStringLiteral("-o")))
        return usageError(QStringLiteral("apply"),
                          QStringLiteral("нужны профиль и либо ФАЙЛ.tcset -o ФАЙЛ.tcset, либо --device"));
    if (args.value(QStringLiteral("-o")) == QLatin1String("-"))
        return usageError(QStringLiteral("apply"),
                          QStringLiteral("итог пишется в стандартный вывод; -o - здесь нельзя"));
    const QByteArray profile = readInput(args.positional().first(), kMaxProfileSize);
    if (device)
        return applyToDevice(args, profile);
    TMK before;
    loadSettings(before, args.positional()[1]);
    TMK model = before;
    if (!applyTo(model, profile))
        return kFailed;
    const QStringList changed = changes(before, model);
    // Saved first: the changes are reported only once they are in the file.
    saveSettingsFile(model, args.value(QStringLiteral("-o")));
    if (!changed.isEmpty())
        out(changed.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    out(QStringLiteral("Изменено настроек: %1.\n").arg(changed.size()));
    return kOk;
}

const CommandRegistrar
    kProfile({QStringLiteral("profile"), QStringLiteral("FILE.tcset [--pages NAMES] -o P.json"),
              QStringLiteral("выгружает настройки, которые показывает модель файла, по имени и показываемому значению, "
                             "в профиль JSON (UTF-8); --pages - заголовки страниц или имена вкладок через запятую"),
              runProfile});
const CommandRegistrar
    kApply({QStringLiteral("apply"),
            QStringLiteral("P.json FILE.tcset -o OUT.tcset | P.json --device %1 [--wait SECONDS] [--backup-dir DIR]")
                .arg(portOptionUsage()),
            QStringLiteral("применяет профиль к файлу настроек или к МК (считать, применить, перечислить изменения, "
                           "записать с копией и проверкой); каждая настройка, которая не подходит этой модели, "
                           "перечисляется, и тогда ничего не меняется и не записывается"),
            runApply});

} // namespace
} // namespace mk::tool
