// SPDX-License-Identifier: GPL-3.0-or-later
// mksim: a simulated trip computer on a pseudo-terminal.
// The first line on standard output is the terminal's path; it serves until SIGINT or SIGTERM.

#include "base/CommandLineErrors.h"
#include "base/Error.h"
#include "base/FileIo.h"
#include "base/StdStreams.h"
#include "image/FactoryImage.h"
#include "image/SettingsFile.h"
#include "sim/PtySimulator.h"
#include "sim/SimulatedDevice.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <csignal>
#include <cstdio>
#include <pthread.h>

namespace {

QString usageText()
{
    return QStringLiteral(
               "mksim %1: имитатор МК на псевдотерминале\n"
               "Использование: mksim [ПАРАМЕТРЫ]\n"
               "  --model КОД           код модели, который сообщает МК (по умолчанию 1; с --image - из файла)\n"
               "  --address FC|FD|FE    адрес МК: у FC и FD 8192 байта памяти, у FE 32768 (по умолчанию FC)\n"
               "  --settings-version N  версия настроек заводского образа (по умолчанию 0)\n"
               "  --image ФАЙЛ.tcset    начать с образа этого файла настроек вместо заводского\n"
               "  --save ФАЙЛ.tcset     при выходе записать память МК файлом настроек\n"
               "  --line-rate БОД       выдавать байты с темпом линии этой скорости (11 бит на байт)\n"
               "  --delivery РЕЖИМ      как выданные байты приходят в терминал (по умолчанию byte):\n"
               "                        byte            каждый байт, когда он прошёл по линии (UART)\n"
               "                        packet[:РАЗМЕР] до РАЗМЕР байт (по умолчанию 64), когда последний\n"
               "                                        из них прошёл по линии (МК со своим портом USB)\n"
               "                        chunk:МКС       то, что прошло по линии, каждые МКС микросекунд\n"
               "                                        (переходник USB - последовательный порт)\n"
               "  --reply-delay МС      ждать столько миллисекунд перед каждым ответом\n"
               "  --fault ВИД:ДОЛЯ[,ВИД:ДОЛЯ...]  испортить эту долю (0..1) ответов; виды:\n"
               "                        drop-byte, bad-checksum, busy, zero-header, silence, short-frame,\n"
               "                        late (late:ДОЛЯ[:МС]: ответ начинается на МС мс позже, по умолчанию\n"
               "                        150, после обычных 100 мс ожидания; МК продолжает слушать и отвечает\n"
               "                        на повтор после него), duplicate (ответ дважды подряд),\n"
               "                        stray (один случайный байт перед ответом)\n"
               "  --seed N              начальное число выбора помех (по умолчанию 1)\n"
               "  --store-wrong-chunk N сохранить N-й записываемый блок (считая с 1) с двумя ошибками в\n"
               "                        байтах, которые не меняют их сумму\n"
               "  --record-at-write     закончить поездку, когда начнётся запись первой секции: новая\n"
               "                        запись в журнале поездок, средние чуть дальше\n"
               "  --log                 строка о каждом запросе в stderr\n"
               "  --help                эта справка\n"
               "  --version             версия программы\n"
               "  --                    конец параметров\n"
               "Первая строка в стандартном выводе - путь псевдотерминала, который нужно открыть.\n"
               "SIGINT или SIGTERM завершают работу (после --save).\n"
               "Коды завершения: 0 завершён сигналом, 1 ошибка, 2 неверная командная строка\n")
        .arg(QStringLiteral(MK_VERSION));
}

struct Options
{
    bool help = false;
    bool version = false; // mksim's own

    mk::DeviceConfig device;
    bool modelGiven = false;
    quint32 settingsVersion = 0;
    QString image, save, faults;
    quint64 seed = 1;
    int lineRate = 0, replyDelay = 0;
    mk::WriteQuirks quirks;
    mk::Delivery delivery;
    bool log = false;
};

quint64 number(const QString &text, const QString &what, quint64 max)
{
    bool ok = false;
    const quint64 v = text.toULongLong(&ok, 0);
    if (!ok || v > max)
        throw mk::Error(QStringLiteral("неверное значение --%1: «%2»").arg(what, text));
    return v;
}

// Arguments as QCoreApplication::arguments() gives them (program first); throws Error on a bad one.
Options parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QStringList valued = {QStringLiteral("model"),
                                QStringLiteral("address"),
                                QStringLiteral("settings-version"),
                                QStringLiteral("image"),
                                QStringLiteral("save"),
                                QStringLiteral("line-rate"),
                                QStringLiteral("delivery"),
                                QStringLiteral("reply-delay"),
                                QStringLiteral("fault"),
                                QStringLiteral("seed"),
                                QStringLiteral("store-wrong-chunk")};
    for (const QString &name : valued)
        parser.addOption(QCommandLineOption(name, QString(), QStringLiteral("value")));
    parser.addOption(QCommandLineOption(QStringLiteral("log")));
    parser.addOption(QCommandLineOption(QStringLiteral("record-at-write")));
    parser.addOption(QCommandLineOption(QStringLiteral("version")));
    parser.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}));
    if (!parser.parse(arguments)) {
        throw mk::Error(mk::commandLineError(parser, arguments));
    }
    if (!parser.positionalArguments().isEmpty())
        throw mk::Error(QStringLiteral("лишний параметр «%1»").arg(parser.positionalArguments().first()));
    Options o;
    o.help = parser.isSet(QStringLiteral("help"));
    o.version = parser.isSet(QStringLiteral("version"));
    const auto given = [&](const char *name) { return parser.isSet(QLatin1String(name)); };
    const auto value = [&](const char *name) { return parser.value(QLatin1String(name)); };
    if (given("model")) {
        o.device.modelCode = quint16(number(value("model"), QStringLiteral("model"), 0xFFFF));
        o.modelGiven = true;
    }
    if (given("address")) {
        QString v = value("address").toUpper();
        if (v.startsWith(QLatin1String("0X")))
            v = v.mid(2);
        if (v != QLatin1String("FC") && v != QLatin1String("FD") && v != QLatin1String("FE"))
            throw mk::Error(QStringLiteral("--address - это FC, FD или FE"));
        o.device.address = quint8(v.toUInt(nullptr, 16));
        o.device.memorySize = mk::memorySizeForAddress(o.device.address);
    }
    if (given("settings-version"))
        o.settingsVersion = quint32(number(value("settings-version"), QStringLiteral("settings-version"), 0xFFFFFFFFu));
    o.image = value("image");
    o.save = value("save");
    if (given("line-rate"))
        o.lineRate = int(number(value("line-rate"), QStringLiteral("line-rate"), 4000000));
    if (given("delivery"))
        o.delivery = mk::Delivery::parse(value("delivery"));
    if (given("reply-delay"))
        o.replyDelay = int(number(value("reply-delay"), QStringLiteral("reply-delay"), 600000));
    o.faults = value("fault");
    if (given("seed"))
        o.seed = number(value("seed"), QStringLiteral("seed"), ~quint64(0));
    o.log = given("log");
    if (given("store-wrong-chunk"))
        o.quirks.storeWrongChunk = int(number(value("store-wrong-chunk"), QStringLiteral("store-wrong-chunk"), 100000));
    o.quirks.recordAtFirstWrite = given("record-at-write");
    return o;
}

QByteArray initialMemory(Options &o)
{
    if (o.image.isEmpty())
        return mk::memoryFromImage(mk::makeFactoryImage(o.device.modelCode, o.settingsVersion, o.device.memorySize),
                                   o.device.memorySize);
    const mk::SettingsFileContent file = mk::decodeSettingsFile(mk::readWholeFile(o.image, mk::kMaxSettingsFileSize));
    if (!o.modelGiven)
        o.device.modelCode = file.modelCode;
    return mk::memoryFromImage(file.image, o.device.memorySize);
}

int run(const QStringList &arguments)
{
    Options o;
    std::vector<mk::FaultRule> faults;
    try {
        o = parse(arguments);
        faults = mk::parseFaultRules(o.faults);
    } catch (const mk::Error &e) {
        (void)mk::writeStderr(QStringLiteral("mksim: %1; справка: mksim --help\n").arg(e.text()));
        return 2;
    }
    if (o.help) {
        mk::writeStdout(usageText());
        return 0;
    }
    if (o.version) {
        mk::writeStdout(QStringLiteral("mksim %1\n").arg(QStringLiteral(MK_VERSION)));
        return 0;
    }

    // Signals are taken by sigwait below; every thread started from here on blocks them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    mk::SimulatedDevice device(o.device, initialMemory(o));
    device.setFaultRules(faults, o.seed);
    device.setWriteQuirks(o.quirks);
    mk::PtySimulatorOptions simOptions;
    simOptions.lineRate = o.lineRate;
    simOptions.replyDelayMs = o.replyDelay;
    simOptions.delivery = o.delivery;
    QElapsedTimer clock;
    clock.start();
    if (o.log)
        simOptions.log = [&clock](const QString &line) {
            std::fprintf(stderr, "%10.3f %s\n", double(clock.nsecsElapsed()) / 1e9, line.toUtf8().constData());
        };
    mk::PtySimulator sim(device, simOptions);
    sim.start();
    mk::writeStdout(sim.slavePath().toLocal8Bit() + '\n');

    int signal = 0;
    sigwait(&stopSignals, &signal);
    sim.stop();
    if (!o.save.isEmpty())
        mk::writeFileAtomically(o.save,
                                mk::encodeSettingsFile(o.device.modelCode, mk::imageFromMemory(device.memory())));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    try {
        return run(app.arguments());
    } catch (const mk::Error &e) {
        (void)mk::writeStderr(QStringLiteral("mksim: %1\n").arg(e.text()));
        return 1;
    }
}
