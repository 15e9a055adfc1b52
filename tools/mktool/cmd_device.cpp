// SPDX-License-Identifier: GPL-3.0-or-later
// mktool identify / read / write: the device exchange on the command line.

#include "Command.h"
#include "DiffReport.h"
#include "SystemWords.h"
#include "TerminalProgress.h"
#include "base/FileIo.h"
#include "image/RecordSync.h"
#include "image/SettingsFile.h"
#include "image/TMK.h"
#include "link/Backup.h"
#include "link/DeviceExchange.h"
#include "link/ExchangeTexts.h"
#include "link/PortDiscovery.h"
#include "link/PortMap.h"
#include "link/TKW_RS.h"
#include "session/DeviceSession.h"
#include "settings/RecordedUnitTexts.h"
#include "settings/SettingsDiff.h"

#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>
#include <algorithm>
#include <optional>
#include <set>
#include <utility>

namespace mk::tool {

namespace {

const QString kPortOption = QStringLiteral("--port");
const QString kWaitOption = QStringLiteral("--wait");
constexpr int kDefaultWaitSeconds = 10;

// Options checked before any port is searched: a bad value is a usage error, found at once.
struct DeviceOptions
{
    int waitSeconds = kDefaultWaitSeconds;
    int portNumber = 0; // 0: --port names a node, or is absent
};

// Throws Error with the usage message for an out-of-range or malformed value.
DeviceOptions parseDeviceOptions(const Args &args)
{
    DeviceOptions o;
    o.waitSeconds = int(parseNumber(args.value(kWaitOption, QString::number(kDefaultWaitSeconds)), kWaitOption, 86400));
    if (args.has(kPortOption)) {
        const QString value = args.value(kPortOption);
        // "40" and "COM40" are the port number; anything else is a node.
        const std::optional<int> n = typedPortNumber(value);
        if (n && (*n < 1 || *n > kMaxPortNumber))
            throw Error(QStringLiteral("Номер порта должен быть от 1 до %1: %2").arg(kMaxPortNumber).arg(value));
        o.portNumber = n.value_or(0);
    }
    return o;
}

// --port N or COMn (1..kMaxPortNumber) or --port NODE; without it the device is searched for
// as the GUI does, again and again until it appears, for --wait seconds (0: until Ctrl-C),
// saying that it waits. False when the user stopped the wait; throws the search's Error when
// the time is up.
bool selectPort(SerialPort &port, const Args &args, const DeviceOptions &options, const TerminalProgress &progress)
{
    if (!args.has(kPortOption)) {
        QElapsedTimer clock;
        clock.start();
        // Each new reason is told once: another kind, or the same on another port.
        std::optional<std::pair<ErrorKind, QString>> told;
        for (;;) {
            try {
                FindDevicePort(port, true);
                return true;
            } catch (const Error &e) {
                if (options.waitSeconds > 0 && clock.elapsed() >= qint64(options.waitSeconds) * 1000)
                    throw;
                if (const std::pair reason{e.kind(), e.context().port}; reason != told) {
                    told = reason;
                    err(QStringLiteral("%1 Жду, пока МК появится (%2Ctrl+C - прервать)...\n")
                            .arg(e.text(), options.waitSeconds > 0
                                               ? QStringLiteral("до %1 с; ").arg(options.waitSeconds)
                                               : QString()));
                }
            }
            if (progress.interrupted())
                return false;
            QThread::msleep(200);
        }
    }
    // A port named by --port is looked for once, or with --wait until it appears (a stable name
    // such as /dev/mk-0 exists only while the device is plugged in).
    const QString value = args.value(kPortOption);
    const bool wait = args.has(kWaitOption);
    QElapsedTimer clock;
    clock.start();
    bool told = false;
    for (;;) {
        int n = options.portNumber;
        if (n == 0)
            n = assignPortForNode(value);
        port.ScanPorts();
        if (n != 0 && port.PortPresent(n)) {
            port.OpenPort(n);
            port.ClosePort();
            return true;
        }
        const QString missing = QStringLiteral("Порт %1 не найден.").arg(n ? port.label(n) : value);
        if (!wait || (options.waitSeconds > 0 && clock.elapsed() >= qint64(options.waitSeconds) * 1000)) {
            ErrorContext where;
            where.port = n ? port.label(n) : value;
            throw Error(ErrorKind::PortMissing, missing, where);
        }
        if (!told) {
            told = true;
            err(QStringLiteral("%1 Жду, пока он появится (%2Ctrl+C - прервать)...\n")
                    .arg(missing,
                         options.waitSeconds > 0 ? QStringLiteral("до %1 с; ").arg(options.waitSeconds) : QString()));
        }
        if (progress.interrupted())
            return false;
        QThread::msleep(200);
    }
}

// The exit code of an exchange that ended without a result.
int notDone(const TerminalProgress &progress)
{
    if (progress.timedOut()) {
        failure(QStringLiteral("МК не ответил. Проверьте соединение и порт (--port)."));
        return kFailed;
    }
    failure(QStringLiteral("Прервано."));
    return kCancelled;
}

int runIdentify(const QStringList &argv)
{
    const Args args(argv, {kPortOption, kWaitOption}, {QStringLiteral("--json")});
    if (!args.ok() || !args.positional().isEmpty())
        return usageError(QStringLiteral("identify"),
                          args.ok() ? QStringLiteral("файлы здесь не нужны") : args.error());
    DeviceOptions options;
    try {
        options = parseDeviceOptions(args);
    } catch (const Error &e) {
        return usageError(QStringLiteral("identify"), e.text());
    }
    TKW_RS link;
    TerminalProgress progress(options.waitSeconds);
    if (!selectPort(link.port(), args, options, progress))
        return notDone(progress);
    progress.setPort(link.port().label(link.port().PortNumber()));
    const std::optional<DeviceIdentity> device = identifyDevice(link, progress);
    progress.finish();
    if (!device)
        return notDone(progress);
    const QString address = QStringLiteral("0x%1")
                                .arg(device->address, 2, 16, QLatin1Char('0'))
                                .toUpper()
                                .replace(QLatin1String("0X"), QLatin1String("0x"));
    const QString code = QStringLiteral("0x%1")
                             .arg(device->modelCode, 4, 16, QLatin1Char('0'))
                             .toUpper()
                             .replace(QLatin1String("0X"), QLatin1String("0x"));
    if (args.has(QStringLiteral("--json"))) {
        const QJsonObject o{{QStringLiteral("port"), link.port().PortNumber()},
                            {QStringLiteral("node"), nodeForPort(link.port().PortNumber())},
                            {QStringLiteral("address"), device->address},
                            {QStringLiteral("memory_size"), device->memorySize},
                            {QStringLiteral("model_code"), device->modelCode}};
        out(QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Indented)));
    } else {
        out(QStringLiteral(
                "Порт:             %1\nАдрес:            %2\nПамять:           %3 байт\nКод модели:       %4\n")
                .arg(link.port().label(link.port().PortNumber()), address)
                .arg(device->memorySize)
                .arg(code));
    }
    return kOk;
}

int runRead(const QStringList &argv)
{
    const Args args(argv, {kPortOption, kWaitOption, QStringLiteral("-o")}, {});
    if (!args.ok() || !args.positional().isEmpty() || !args.has(QStringLiteral("-o")))
        return usageError(QStringLiteral("read"),
                          args.ok() ? QStringLiteral("нужен файл результата (-o ФАЙЛ.tcset)") : args.error());
    DeviceOptions options;
    try {
        options = parseDeviceOptions(args);
    } catch (const Error &e) {
        return usageError(QStringLiteral("read"), e.text());
    }
    // The memory read would be lost if the file could not be written afterwards.
    checkOutputWritable(args.value(QStringLiteral("-o")));
    TKW_RS link;
    TerminalProgress progress(options.waitSeconds);
    if (!selectPort(link.port(), args, options, progress))
        return notDone(progress);
    progress.setPort(link.port().label(link.port().PortNumber()));
    TMK model;
    const bool read = readSettings(link, model, progress);
    progress.finish();
    if (!read)
        return notDone(progress);
    writeSettingsOutput(model, args.value(QStringLiteral("-o")));
    return kOk;
}

// --take UNIT[,UNIT...]: the units of what the device records to write from the file.
std::set<RecordedUnitId> parseTake(const Args &args)
{
    std::set<RecordedUnitId> take;
    if (!args.has(QStringLiteral("--take")))
        return take;
    for (const QString &name : args.value(QStringLiteral("--take")).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const std::optional<RecordedUnitId> unit = recordedUnitByName(name.trimmed());
        if (!unit) {
            QStringList names;
            for (const RecordedUnit &u : deviceRecordedUnits())
                names << recordedUnitName(u.id);
            throw Error(QStringLiteral("--take: нет такой части данных МК: %1 (есть: %2)")
                            .arg(name.trimmed(), names.join(QStringLiteral(", "))));
        }
        take.insert(*unit);
    }
    return take;
}

QJsonArray recordedJson(const std::vector<RecordedDifference> &differences, const TMK &device, const TMK &settings)
{
    QJsonArray list;
    for (const RecordedDifference &d : differences)
        list.append(QJsonObject{{QStringLiteral("unit"), recordedUnitName(d.unit)},
                                {QStringLiteral("caption"), recordedUnitCaption(d.unit)},
                                {QStringLiteral("device"), recordedUnitValue(d.unit, device)},
                                {QStringLiteral("settings"), recordedUnitValue(d.unit, settings)},
                                {QStringLiteral("written"), d.fromSettings}});
    return list;
}

int runWrite(const QStringList &argv)
{
    const Args args(argv, {kPortOption, kWaitOption, QStringLiteral("--backup-dir"), QStringLiteral("--take")},
                    {QStringLiteral("--dry-run"), QStringLiteral("--json"), QStringLiteral("--restore")});
    if (!args.ok() || args.positional().size() != 1)
        return usageError(QStringLiteral("write"),
                          args.ok() ? QStringLiteral("нужен ровно один файл настроек") : args.error());
    const bool dryRun = args.has(QStringLiteral("--dry-run"));
    const bool restore = args.has(QStringLiteral("--restore"));
    if (args.has(QStringLiteral("--json")) && !dryRun)
        return usageError(QStringLiteral("write"), QStringLiteral("--json - только вместе с --dry-run"));
    DeviceOptions options;
    WriteOptions write;
    try {
        options = parseDeviceOptions(args);
        write.take = parseTake(args);
    } catch (const Error &e) {
        return usageError(QStringLiteral("write"), e.text());
    }
    TMK model;
    loadSettings(model, args.positional().first());
    const WritableSettings settings = WritableSettings::check(model); // refused before any port is searched or opened
    TKW_RS link;
    TerminalProgress progress(options.waitSeconds);
    if (!selectPort(link.port(), args, options, progress))
        return notDone(progress);
    progress.setPort(link.port().label(link.port().PortNumber()));
    // A dry run stops where the write would start: after the fresh read and the merge. A write
    // says first what of the device's own records differs from the file and whose copy it
    // writes, and what a restore replaces.
    std::optional<WritePreviewData> preview;
    TMK deviceBefore;
    write.backupDir = args.value(QStringLiteral("--backup-dir"), defaultBackupDir());
    write.recorded = restore ? RecordedData::FromSettings : RecordedData::FollowDevice;
    write.confirm = [&](const TMK &device, const TMK &toWrite) {
        deviceBefore = device;
        preview = writePreviewData(device, model, toWrite, write.recorded);
        if (dryRun)
            return false;
        progress.finish();
        const QStringList lines = restore ? QStringList() : recordedDifferenceLines(preview->recorded, device, model);
        if (!lines.isEmpty())
            out(QStringLiteral("Данные, которые ведёт МК, в файле другие:\n  %1\n")
                    .arg(lines.join(QStringLiteral("\n  "))));
        if (!preview->restoreReplaces.isEmpty())
            out(QStringLiteral("Восстановление копии заменит более новые данные МК:\n  %1\n")
                    .arg(preview->restoreReplaces.join(QStringLiteral("\n  "))));
        return true;
    };
    // Said before the first section goes out, so that whatever ends the write, the user knows
    // where the device's memory is kept.
    bool backupTold = false;
    write.backupSaved = [&](const QString &path) {
        progress.finish();
        out(QStringLiteral("Копия памяти МК: %1\n").arg(QDir::toNativeSeparators(path)));
        backupTold = true;
    };
    std::optional<WriteOutcome> outcome;
    try {
        outcome = writeSettings(link, settings, progress, write);
    } catch (const WriteFailure &e) {
        progress.finish();
        failure(e.text());
        if (!backupTold)
            out(QStringLiteral("Копия памяти МК: %1\n").arg(QDir::toNativeSeparators(e.backupPath())));
        return kFailed;
    }
    progress.finish();
    if (dryRun && preview) {
        const std::vector<RecordedDifference> &recorded = preview->recorded;
        const QStringList &replaced = preview->restoreReplaces;
        if (args.has(QStringLiteral("--json"))) {
            QJsonObject json = diffJson(preview->diff);
            json.insert(QStringLiteral("recordedKept"), QJsonArray::fromStringList(preview->plan.kept));
            json.insert(QStringLiteral("recordedWritten"), QJsonArray::fromStringList(preview->plan.written));
            json.insert(QStringLiteral("recorded"), recordedJson(recorded, deviceBefore, model));
            if (restore)
                json.insert(QStringLiteral("restoreReplaces"), QJsonArray::fromStringList(replaced));
            out(QString::fromUtf8(QJsonDocument(json).toJson(QJsonDocument::Indented)));
        } else if (preview->nothingToWrite()) {
            out(QStringLiteral("Настройки в МК уже такие же: записывать нечего.\n"));
        } else {
            QString text = diffReportText(preview->diff) + preview->plan.text();
            if (const QStringList lines = recordedDifferenceLines(recorded, deviceBefore, model);
                !lines.isEmpty() && !restore)
                text += QStringLiteral("\nДанные, которые ведёт МК, в файле другие:\n  %1")
                            .arg(lines.join(QStringLiteral("\n  ")));
            if (!replaced.isEmpty())
                text += QStringLiteral("\nВосстановление копии заменит более новые данные МК:\n  %1")
                            .arg(replaced.join(QStringLiteral("\n  ")));
            if (!restore && std::any_of(recorded.begin(), recorded.end(),
                                        [](const RecordedDifference &d) { return !d.fromSettings; }))
                text += QStringLiteral("\nЗаписать из файла: --take ЧАСТЬ[,ЧАСТЬ...] (имена в скобках).");
            out(text + QStringLiteral("\nНичего не записано (--dry-run).\n"));
        }
        return kOk;
    }
    if (!outcome)
        return notDone(progress);
    if (outcome->recordedMeanwhile)
        out(QStringLiteral("МК пополнил журналы или счётчики во время записи; записанное их сохранило.\n"));
    out(kWrittenText + QLatin1Char('\n'));
    return kOk;
}

const QString kPortHelp = portOptionUsage() + QStringLiteral(" [--wait SECONDS]");

const CommandRegistrar kIdentify({QStringLiteral("identify"), kPortHelp + QStringLiteral(" [--json]"),
                                  QStringLiteral("находит МК и печатает его адрес, объём памяти и код модели"),
                                  runIdentify});
const CommandRegistrar kRead({QStringLiteral("read"), kPortHelp + QStringLiteral(" -o FILE.tcset"),
                              QStringLiteral("считывает всю память МК в файл настроек"), runRead});
const CommandRegistrar kWrite(
    {QStringLiteral("write"),
     QStringLiteral("FILE.tcset ") + kPortHelp +
         QStringLiteral(" [--backup-dir DIR] [--restore] [--take UNIT[,UNIT...]] [--dry-run [--json]]"),
     QStringLiteral("записывает разделы файла настроек в МК, сохранив перед этим копию его памяти "
                    "(папка по умолчанию: %1); печатает путь копии. "
                    "Без --port МК ищется по его USB-идентификатору; --wait - сколько его искать "
                    "(по умолчанию 10 с, 0 - пока не нажмут Ctrl+C); с --port и --wait порт ждут, пока он появится. "
                    "--dry-run считывает МК и печатает, что изменит "
                    "запись, по страницам (--json: в JSON), и ничего не записывает. Журналы, средние и сервисные "
                    "счётчики, которые ведёт МК, остаются такими, как в МК, и запись называет те, что в файле другие; "
                    "--take записывает названные из них из файла (trips, EngOilCntK, ...); --restore записывает их "
                    "все из файла (восстановление копии целиком) и сначала называет более новые данные МК, "
                    "которые оно заменит")
         .arg(dataFolderShown() + QDir::separator() + QStringLiteral("backups")),
     runWrite});

} // namespace
} // namespace mk::tool
