// mktool identify / read / write: the device exchange on the command line.

#include "Command.h"
#include "DiffReport.h"
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
#include "settings/SettingsDiff.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

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
        bool isNumber = false;
        const int n = value.toInt(&isNumber);
        if (isNumber && (n < 1 || n > kMaxPortNumber))
            throw Error(QStringLiteral("Номер порта должен быть от 1 до %1: %2").arg(kMaxPortNumber).arg(value));
        o.portNumber = isNumber ? n : 0;
    }
    return o;
}

// --port N (1..32) or --port NODE; without it the device is searched for as the GUI does.
void selectPort(SerialPort &port, const Args &args, const DeviceOptions &options)
{
    if (!args.has(kPortOption)) {
        FindDevicePort(port, true);
        return;
    }
    const QString value = args.value(kPortOption);
    int n = options.portNumber;
    if (n == 0) {
        n = assignPortForNode(value);
        port.ScanPorts();
    }
    if (n == 0 || !port.PortPresent(n))
        throw Error(QStringLiteral("Порт %1 не найден.").arg(n ? port.label(n) : value));
    port.OpenPort(n);
    port.ClosePort();
}

// The exit code of an exchange that ended without a result.
int notDone(const TerminalProgress &progress)
{
    if (progress.timedOut()) {
        err(QStringLiteral("МК не ответил. Проверьте соединение и порт (--port).\n"));
        return kFailed;
    }
    err(QStringLiteral("Прервано.\n"));
    return kCancelled;
}

int runIdentify(const QStringList &argv)
{
    const Args args(argv, {kPortOption, kWaitOption}, {QStringLiteral("--json")});
    if (!args.ok() || !args.positional().isEmpty())
        return usageError(QStringLiteral("identify"), args.ok() ? QStringLiteral("no files are taken") : args.error());
    DeviceOptions options;
    try {
        options = parseDeviceOptions(args);
    } catch (const Error &e) {
        return usageError(QStringLiteral("identify"), e.text());
    }
    TKW_RS link;
    selectPort(link.port(), args, options);
    TerminalProgress progress(options.waitSeconds);
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
                "port:             %1\naddress:          %2\nmemory:           %3 bytes\nmodel code:       %4\n")
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
                          args.ok() ? QStringLiteral("an output file (-o FILE.tcset) is required") : args.error());
    DeviceOptions options;
    try {
        options = parseDeviceOptions(args);
    } catch (const Error &e) {
        return usageError(QStringLiteral("read"), e.text());
    }
    // The memory read would be lost if the file could not be written afterwards.
    checkOutputWritable(args.value(QStringLiteral("-o")));
    TKW_RS link;
    selectPort(link.port(), args, options);
    TerminalProgress progress(options.waitSeconds);
    const std::optional<DeviceImage> got = readDevice(link, progress);
    progress.finish();
    if (!got)
        return notDone(progress);
    TMK model;
    model.replaceImage(got->device.modelCode, got->image);
    writeSettingsOutput(model, args.value(QStringLiteral("-o")));
    return kOk;
}

int runWrite(const QStringList &argv)
{
    const Args args(argv, {kPortOption, kWaitOption, QStringLiteral("--backup-dir")},
                    {QStringLiteral("--dry-run"), QStringLiteral("--json"), QStringLiteral("--restore")});
    if (!args.ok() || args.positional().size() != 1)
        return usageError(QStringLiteral("write"),
                          args.ok() ? QStringLiteral("exactly one settings file is required") : args.error());
    const bool dryRun = args.has(QStringLiteral("--dry-run"));
    if (args.has(QStringLiteral("--json")) && !dryRun)
        return usageError(QStringLiteral("write"), QStringLiteral("--json goes with --dry-run"));
    DeviceOptions options;
    try {
        options = parseDeviceOptions(args);
    } catch (const Error &e) {
        return usageError(QStringLiteral("write"), e.text());
    }
    TMK model;
    loadSettings(model, args.positional().first());
    requireCompleteSettings(model); // refused before any port is searched or opened
    TKW_RS link;
    selectPort(link.port(), args, options);
    TerminalProgress progress(options.waitSeconds);
    // A dry run stops where the write would start: after the fresh read and the merge.
    std::optional<SettingsDiff> preview;
    RecordedPlan plan;
    WriteOptions write;
    write.backupDir = args.value(QStringLiteral("--backup-dir"), defaultBackupDir());
    write.recorded = args.has(QStringLiteral("--restore")) ? RecordedData::FromSettings : RecordedData::FollowDevice;
    if (dryRun)
        write.confirm = [&preview, &plan](const TMK &device, const TMK &toWrite) {
            preview = diffSettings(device, toWrite);
            plan = recordedPlan(device, toWrite);
            return false;
        };
    // Said before the first section goes out, so that whatever ends the write, the user knows
    // where the device's memory is kept.
    bool backupTold = false;
    write.backupSaved = [&](const QString &path) {
        progress.finish();
        out(QStringLiteral("backup: %1\n").arg(path));
        backupTold = true;
    };
    std::optional<WriteOutcome> outcome;
    try {
        outcome = writeDevice(link, model, progress, write);
    } catch (const WriteFailure &e) {
        progress.finish();
        err(e.text() + QLatin1Char('\n'));
        if (!backupTold)
            out(QStringLiteral("backup: %1\n").arg(e.backupPath()));
        return kFailed;
    }
    progress.finish();
    if (preview) {
        if (args.has(QStringLiteral("--json"))) {
            QJsonObject json = diffJson(*preview);
            json.insert(QStringLiteral("recordedKept"), QJsonArray::fromStringList(plan.kept));
            json.insert(QStringLiteral("recordedWritten"), QJsonArray::fromStringList(plan.written));
            out(QString::fromUtf8(QJsonDocument(json).toJson(QJsonDocument::Indented)));
        } else if (preview->identical()) {
            out(QStringLiteral("Настройки в МК уже такие же: записывать нечего.\n"));
        } else {
            out(diffReportText(*preview) + plan.text() + QStringLiteral("\nНичего не записано (--dry-run).\n"));
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

const QString kPortHelp = QStringLiteral("[--port N|NODE] [--wait SECONDS]");

const CommandRegistrar kIdentify({QStringLiteral("identify"), kPortHelp + QStringLiteral(" [--json]"),
                                  QStringLiteral("finds the device and prints its address, memory size and model code"),
                                  runIdentify});
const CommandRegistrar kRead({QStringLiteral("read"), kPortHelp + QStringLiteral(" -o FILE.tcset"),
                              QStringLiteral("reads the whole device memory into a settings file"), runRead});
const CommandRegistrar kWrite(
    {QStringLiteral("write"),
     QStringLiteral("FILE.tcset ") + kPortHelp + QStringLiteral(" [--backup-dir DIR] [--restore] [--dry-run [--json]]"),
     QStringLiteral("writes a settings file's sections to the device, after saving the device's memory "
                    "as a backup (default folder: ~/.local/share/mkconf/backups); prints the backup's path. "
                    "Without --port the device is searched for by its USB identity; --wait is how long to "
                    "look for it (default 10 s, 0 = until Ctrl-C). --dry-run reads the device and prints what a write "
                    "would change, by page (--json: as JSON), and writes nothing. The journals, averages and service "
                    "counters the device keeps stay as the device has them; --restore writes the file's instead "
                    "(restoring a backup as a whole)"),
     runWrite});

} // namespace
} // namespace mk::tool
