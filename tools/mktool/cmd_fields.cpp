// SPDX-License-Identifier: GPL-3.0-or-later
// mktool set: the editor's settings by name, on the command line (diff: cmd_diff.cpp).

#include "Command.h"
#include "SettingsFileReport.h"
#include "base/Error.h"
#include "catalogs/DeviceModel.h"
#include "image/SettingsFile.h"
#include "image/RecordSync.h"
#include "image/TMK.h"
#include "settings/EditSession.h"
#include "settings/FieldTable.h"
#include "settings/NamedSettings.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <array>

namespace mk::tool {

namespace {

// Applies NAME=VALUE assignments in order, with the editor's conversions and checks. Throws Error
// naming the setting; the model may then hold part of the assignments (the caller writes nothing).
void applyAssignments(TMK &tmk, const QStringList &assignments)
{
    // The editor would not open on this model either (protocol index or version above 255).
    EditSession session(tmk);
    SettingsContext &ctx = session.context();
    for (const QString &a : assignments) {
        const qsizetype eq = a.indexOf(QLatin1Char('='));
        if (eq <= 0)
            throw Error(QStringLiteral("%1: ожидается ИМЯ=ЗНАЧЕНИЕ").arg(a));
        const QString name = a.left(eq);
        const QString text = a.mid(eq + 1);
        const NamedSetting *setting = findNamedSetting(name);
        if (!setting)
            throw Error(QStringLiteral("%1: нет такой настройки").arg(name));
        // The value would never reach the file: the section it lives in is not there.
        if (!tmk.sectionHeld(setting->section))
            throw Error(QStringLiteral("%1: в файле нет секции %2").arg(name).arg(setting->section));
        // What the editor would not let be changed here is refused, naming why.
        if (const QString why = settingRefusal(*setting, tmk, ctx); !why.isEmpty())
            throw Error(why);
        try {
            storeSettingText(*setting, tmk, text, ctx);
        } catch (const Error &e) {
            throw Error(QStringLiteral("%1: %2").arg(name, e.text()));
        }
    }
    session.commit();
}

int runSet(const QStringList &argv)
{
    const Args args(argv, {QStringLiteral("-o")}, {});
    if (!args.ok())
        return usageError(QStringLiteral("set"), args.error());
    if (args.positional().size() < 2 || !args.has(QStringLiteral("-o")))
        return usageError(QStringLiteral("set"),
                          QStringLiteral("нужны файл настроек, хотя бы одно ИМЯ=ЗНАЧЕНИЕ и -o ФАЙЛ"));
    // After "--" only the file may come ("set -o q.tcset Name=V -- -x.tcset"); without it the
    // file is the first argument.
    const QStringList files = args.afterEnd();
    if (files.size() > 1)
        return usageError(QStringLiteral("set"), QStringLiteral("после «--» - только файл настроек"));
    const QString file = files.isEmpty() ? args.positional().first() : files.first();
    const QStringList assignments =
        files.isEmpty() ? args.positional().mid(1) : args.positional().mid(0, args.positional().size() - 1);
    TMK tmk;
    loadSettings(tmk, file);
    // In a tangled table one setting lands in two places.
    requireSoundTable(tmk, QStringLiteral("Настройки не изменены."));
    applyAssignments(tmk, assignments);
    writeSettingsOutput(tmk, args.value(QStringLiteral("-o")));
    return kOk;
}

const CommandRegistrar kSet({QStringLiteral("set"), QStringLiteral("FILE NAME=VALUE [NAME=VALUE ...] -o OUT.tcset"),
                             QStringLiteral("меняет настройки по имени с преобразованиями и проверками редактора"),
                             runSet});
} // namespace
} // namespace mk::tool
