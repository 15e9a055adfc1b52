// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/DeviceExchange.h"

#include "image/DeviceRecorded.h"
#include "image/ImageLayout.h"
#include "image/RecordSync.h"
#include "image/TMK.h"
#include "link/Backup.h"
#include "link/DeviceRequest.h"
#include "link/ExchangeTexts.h"
#include "link/LinkTexts.h"
#include "link/LinkTrace.h"
#include "link/Protocol.h"
#include "link/TKW_RS.h"
#include "link/TrustedRead.h"

#include <QDir>
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace mk {

namespace {

// Opens the port for one operation and closes it on every way out.
class PortSession
{
public:
    explicit PortSession(SerialPort &port) : m_port(port)
    {
        m_port.Reopen(true);
        m_port.SetBaudRate(kLinkBaudRate);
    }
    ~PortSession() { m_port.Reopen(false); }

private:
    SerialPort &m_port;
};

int percent(double part, double whole) { return qBound(0, int(std::lround(100.0 * part / whole)), 100); }

// The sections the header names, checked so that no write goes outside them: a damaged table
// stops the write before anything is sent.
std::vector<SectionEntry> sectionsToWrite(const QByteArray &image, int memorySize)
{
    const ImageHeader header = ImageHeader::parse(image);
    const auto damaged = [](const QString &what) {
        return Error(ErrorKind::Damaged,
                     QStringLiteral("Таблица секций в памяти МК повреждена (%1). Запись не выполнена.").arg(what));
    };
    if (header.count > quint32(kSectionCount))
        throw damaged(QStringLiteral("секций %1, а бывает не больше %2").arg(header.count).arg(kSectionCount));
    std::vector<SectionEntry> sections;
    for (quint32 i = 0; i < header.count; ++i) {
        const SectionEntry e = header.sections[i];
        // Image position p is device address p + 32 only in the first half of the memory.
        if (!e.usable() || e.address + e.contentLength() > memorySize / 2)
            throw damaged(QStringLiteral("секция %1: адрес %2, длина %3").arg(i).arg(e.address).arg(e.length));
        sections.push_back(e);
    }
    TMK table;
    table.setImage(image);
    if (const QList<int> tangled = table.tangledSections(); !tangled.isEmpty())
        throw damaged(tangledText(tangled));
    return sections;
}

// Image position of a block's first byte: p is device address p + 32 in the first half of the
// memory and p + 64 in the second.
int imagePosOfBlock(int block, int memorySize)
{
    return block < memorySize / 64 ? (block - 1) * kBlockSize : (block - 2) * kBlockSize;
}

// The first-half blocks that hold image bytes [from, to).
std::vector<int> blocksOf(int from, int to)
{
    std::vector<int> blocks;
    for (int b = (from + kAddressBase) / kBlockSize; b <= (to - 1 + kAddressBase) / kBlockSize; ++b)
        blocks.push_back(b);
    return blocks;
}

// Reads the blocks again and settles each against what `image` holds of it: a block is taken
// once two of its readings (the image's among them) agree, so a reading spoilt in a way the
// frame checksum cannot see never stands alone, and a block the device changed since is taken
// as it is now. Returns whether any block of the image changed; nothing when cancellable and
// cancelled. Reads wait as reads do: a section write's long time-out would make every disturbed
// answer cost seconds.
std::optional<bool> settleBlocks(TKW_RS &link, const DeviceIdentity &device, const std::vector<int> &blocks,
                                 QByteArray &image, Progress &progress, bool cancellable)
{
    link.protocol().SetFirstByteTimeout(kIdentifyTimeoutMs);
    const auto read = [&](const std::vector<int> &which, const BlockGauge &gauge) {
        return readBlocksTrusted(link, device.address, device.modelCode, which, progress, cancellable, gauge);
    };
    const std::optional<QByteArray> again =
        read(blocks, [&](size_t i) { return percent(double(i + 1), double(blocks.size())); });
    if (!again)
        return std::nullopt;
    bool changed = false;
    for (size_t i = 0; i < blocks.size(); ++i) {
        const int pos = imagePosOfBlock(blocks[i], device.memorySize);
        QList<QByteArray> readings = {image.mid(pos, kBlockSize), again->mid(qsizetype(i) * kBlockSize, kBlockSize)};
        while (!readings.mid(0, readings.size() - 1).contains(readings.last())) {
            qCDebug(lcExchange).noquote()
                << QStringLiteral("block %1: reading %2 differs from those before, read again")
                       .arg(blocks[i])
                       .arg(readings.size());
            if (readings.size() > kSettleTries) {
                qCDebug(lcExchange).noquote()
                    << QStringLiteral("block %1: no two readings agree, give up").arg(blocks[i]);
                throw Error(ErrorKind::Refused, kUnsteadyReadText);
            }
            const std::optional<QByteArray> one = read({blocks[i]}, [](size_t) { return 100; });
            if (!one)
                return std::nullopt;
            readings.append(*one);
        }
        if (readings.last() != readings.first()) {
            image.replace(pos, kBlockSize, readings.last());
            changed = true;
        }
    }
    return changed;
}

void writeSection(TKW_RS &link, quint8 address, const SectionEntry &e, const QByteArray &image)
{
    const int length = e.contentLength();
    const QByteArray content = image.mid(e.contentPos(), length);
    Frame &frame = link.frame();
    LinkProtocol &protocol = link.protocol();
    protocol.SetFirstByteTimeout(kSectionWriteTimeoutMs);
    beginDeviceRequest(frame, address, command::kBeginSectionWrite);
    frame.PutWord(e.address);
    frame.PutWord(quint16(length));
    protocol.Exchange();
    for (int j = 0; j * kBlockSize < length; ++j) {
        const QByteArray chunk = content.mid(j * kBlockSize, kBlockSize);
        beginDeviceRequest(frame, address, command::kWriteChunk);
        frame.PutWord(quint16(j));
        frame.PutWord(quint16(chunk.size()));
        frame.PutBytes(chunk);
        protocol.Exchange();
    }
    beginDeviceRequest(frame, address, command::kEndSectionWrite);
    frame.PutWord(e.address);
    frame.PutWord(quint16(length));
    protocol.Exchange();
    qCDebug(lcExchange).noquote()
        << QStringLiteral("section at address %1, %2 bytes: sent and ended").arg(e.address).arg(length);
}

// What the write knows when it reads back: the sections, which of them it wrote, and since when
// the device may have recorded on its own.
struct WriteState
{
    std::vector<SectionEntry> sections;
    std::vector<bool> written;
    qint64 startedMs = 0;
};

void verifyWrite(TKW_RS &link, const DeviceIdentity &device, const WriteState &state, WriteOutcome &outcome,
                 Progress &progress);

// A write's merging, apart from its I/O: the settings' records go into the device's memory as
// last read; whose copy of what the device records is taken follows the options and, once the
// preview said yes, the units the user chose there.
class WriteMerge
{
public:
    WriteMerge(const TMK &model, quint16 modelCode, const WriteOptions &options)
        : m_model(model), m_modelCode(modelCode), m_options(options), m_take(options.take)
    {}

    // The first merge, into the memory as read before the write: the settings versions must match.
    void first(const QByteArray &deviceNow)
    {
        again(deviceNow);
        if (m_settingsVersion != m_model.settingsVersion())
            throw Error(ErrorKind::BadValue, kVersionMismatchText);
    }
    // Once more, after the device recorded something of its own (or the user chose other units).
    void again(const QByteArray &deviceNow)
    {
        const TMK merged = mergeRecords(m_model, m_modelCode, deviceNow, m_options.recorded, m_take);
        m_settingsVersion = merged.settingsVersion();
        m_image = merged.image();
    }
    // Asks the preview (none: yes) with the device's memory as read and what would be written,
    // then merges again with the units the user chose. false: nothing is to be written.
    bool confirm(const QByteArray &deviceNow)
    {
        if (m_options.confirm) {
            TMK current, toWrite;
            current.replaceImage(m_modelCode, deviceNow);
            toWrite.replaceImage(m_modelCode, m_image);
            if (!m_options.confirm(current, toWrite))
                return false;
        }
        if (m_options.chosenTake) {
            m_take = m_options.chosenTake();
            again(deviceNow);
        }
        return true;
    }
    // What the write sends.
    const QByteArray &image() const { return m_image; }

private:
    const TMK &m_model;
    quint16 m_modelCode;
    const WriteOptions &m_options;
    std::set<RecordedUnitId> m_take;
    QByteArray m_image;
    quint32 m_settingsVersion = 0;
};

// Sends section k. The write answers all look alike, so a lost chunk can hide behind a repeated
// answer until the device refuses the end of the section; a section is whole or not applied, so
// it is sent once more from its beginning on a drained line. A device that stayed silent through
// all the link's attempts is gone: it is reported at once.
void sendSection(TKW_RS &link, quint8 address, int k, const SectionEntry &e, const QByteArray &image,
                 const QString &backupPath, bool someWritten)
{
    for (int attempt = 1;; ++attempt) {
        try {
            writeSection(link, address, e, image);
            return;
        } catch (const Error &err) {
            if (attempt >= kSectionWriteTries || !link.protocol().lastExchangeHeard()) {
                qCDebug(lcExchange).noquote() << QStringLiteral("section %1: give up after %2 sending(s): %3")
                                                     .arg(k)
                                                     .arg(attempt)
                                                     .arg(err.text());
                throw WriteFailure(err, k, backupPath, someWritten);
            }
            qCDebug(lcExchange).noquote()
                << QStringLiteral("section %1: send again from its beginning after: %2").arg(k).arg(err.text());
            link.protocol().drainLine();
        }
    }
}

} // namespace

WriteFailure::WriteFailure(Stage stage, const Error &error, int section, const QString &backupPath)
    : Error(error), m_stage(stage), m_section(section), m_backupPath(backupPath)
{
    if (section >= 0)
        context().place = QStringLiteral("секция %1").arg(section);
}

WriteFailure::WriteFailure(const Error &linkError, int section, const QString &backupPath, bool someWritten)
    : WriteFailure(Interrupted,
                   linkError.withText(QStringLiteral("%1\nЗапись прервана на секции %2; %3 "
                                                     "Память МК до записи сохранена в файле %4")
                                          .arg(linkError.text())
                                          .arg(section)
                                          .arg(someWritten ? QStringLiteral("секции до неё уже записаны.")
                                                           : QStringLiteral("до неё ничего не записано."))
                                          .arg(QDir::toNativeSeparators(backupPath))),
                   section, backupPath)
{}

WriteFailure WriteFailure::mismatch(int section, int deviceAddress, const QString &backupPath)
{
    return WriteFailure(
        Mismatch,
        Error(ErrorKind::Damaged,
              QStringLiteral("Проверка записи не прошла: секция %1 в МК отличается от записанной "
                             "(первое расхождение по адресу %2).\nПамять МК до записи сохранена в файле %3")
                  .arg(section)
                  .arg(deviceAddress)
                  .arg(QDir::toNativeSeparators(backupPath))),
        section, backupPath);
}

WriteFailure WriteFailure::unverified(const Error &linkError, const QString &backupPath)
{
    return WriteFailure(
        Unverified,
        linkError.withText(QStringLiteral("%1\nНастройки отправлены в МК, но проверить запись не удалось. "
                                          "Память МК до записи сохранена в файле %2")
                               .arg(linkError.text(), QDir::toNativeSeparators(backupPath))),
        -1, backupPath);
}

std::optional<DeviceIdentity> connectDevice(TKW_RS &link, Progress &progress)
{
    progress.setText(kConnectingText);
    progress.setGaugeVisible(false);
    progress.setCancelAllowed(true);
    for (size_t attempt = 0;; ++attempt) {
        const DeviceCandidate c = kDeviceCandidates[attempt % kDeviceCandidates.size()];
        try {
            link.protocol().SetFirstByteTimeout(kIdentifyTimeoutMs);
            beginDeviceRequest(link.frame(), c.address, command::kIdentify);
            link.protocol().Exchange();
            link.frame().GetByte(); // its meaning is unknown; it is neither checked nor kept
            const DeviceIdentity found{c.address, c.memorySize, link.frame().GetWord()};
            qCDebug(lcExchange).noquote() << QStringLiteral("device at %1: model 0x%2, memory %3 bytes")
                                                 .arg(c.address, 2, 16, QLatin1Char('0'))
                                                 .arg(found.modelCode, 4, 16, QLatin1Char('0'))
                                                 .arg(found.memorySize);
            return found;
        } catch (const Error &e) {
            qCDebug(lcExchange).noquote()
                << QStringLiteral("no device at %1: %2").arg(c.address, 2, 16, QLatin1Char('0')).arg(e.text());
            if (progress.cancelled())
                return std::nullopt;
        }
    }
}

std::optional<QByteArray> readImage(TKW_RS &link, const DeviceIdentity &device, Progress &progress)
{
    progress.setText(kReadingText);
    progress.setValue(0);
    progress.setGaugeVisible(true);
    const int half = device.memorySize / 64; // blocks in half the memory
    std::vector<int> blocks;
    for (int h = 0; h < 2; ++h)
        for (int k = 1; k < half; ++k)
            blocks.push_back(h * half + k);
    const int lastBlock = device.memorySize / 32 - 1;
    return readBlocksTrusted(link, device.address, device.modelCode, blocks, progress, true,
                             [&](size_t i) { return percent(blocks[i], lastBlock - 1); });
}

namespace {

// How a read-back compares with what was written.
enum class ReadBack {
    Exact,       // every written byte as sent
    DeviceMoved, // as sent but for the device's own newer records
    Differs,     // some byte is neither
};

// Judges the read-back `back` (device addresses from `base`) of the written sections against
// what was sent (`image`); `failure` hears the first difference that is not the device's doing.
ReadBack judgeReadBack(const WriteState &state, const QByteArray &image, const QByteArray &back, int base,
                       qint64 elapsedMs, const QString &backupPath, std::optional<WriteFailure> &failure)
{
    ReadBack verdict = ReadBack::Exact;
    for (size_t i = 0; i < state.sections.size(); ++i) {
        if (!state.written[i])
            continue;
        const SectionEntry &e = state.sections[i];
        const int k = int(i);
        const QByteArray sent = image.mid(e.contentPos(), e.contentLength());
        const QByteArray got = back.mid(e.address - base, e.contentLength());
        if (sent == got)
            continue;
        bool moved = false;
        if (k < kSectionCount && holdsDeviceRecorded(k) && onlyDeviceRecorded(k, sent, got, elapsedMs, &moved) &&
            moved) {
            verdict = ReadBack::DeviceMoved;
            continue;
        }
        int at = 0;
        while (at < sent.size() && at < got.size() && sent[at] == got[at])
            ++at;
        failure = WriteFailure::mismatch(k, e.address + at, backupPath);
        qCDebug(lcExchange).noquote() << QStringLiteral(
                                             "read-back differs: section %1 at address %2 (sent %3, read %4)")
                                             .arg(k)
                                             .arg(e.address + at)
                                             .arg(QLatin1String(hexBytes(sent.mid(at, 16))),
                                                  QLatin1String(hexBytes(got.mid(at, 16))));
        return ReadBack::Differs;
    }
    return verdict;
}

// Reads back the blocks that hold the written sections (one read of the written range) and
// compares them with what was sent; the outcome's image then holds what the device returned.
void verifyWrite(TKW_RS &link, const DeviceIdentity &device, const WriteState &state, WriteOutcome &outcome,
                 Progress &progress)
{
    // Sections left unwritten are read back too, so that the outcome holds what the device
    // holds there now.
    int first = std::numeric_limits<int>::max(), last = -1;
    for (const SectionEntry &e : state.sections) {
        if (e.contentLength() <= 0)
            continue;
        first = qMin(first, e.address / kBlockSize);
        last = qMax(last, (e.address + e.contentLength() - 1) / kBlockSize);
    }
    if (last < 0)
        return;
    progress.setText(kVerifyingText);
    progress.setValue(0);
    std::vector<int> blocks;
    for (int b = first; b <= last; ++b)
        blocks.push_back(b);
    // Reads wait as after identification; the section writes' long time-out would make each
    // drain of a disturbed line last seconds.
    link.protocol().SetFirstByteTimeout(kIdentifyTimeoutMs);
    const int base = first * kBlockSize; // the device address of back[0]
    // A read-back that fails on the link, or disagrees, is read once more before the write is
    // called unverified or wrong: a disturbed line must not make a good write look bad. One
    // that shows the device's own newer records is taken only when a second reading agrees:
    // a byte stored wrong must not pass for a record of the device.
    QByteArray back, moved;
    std::optional<WriteFailure> failure;
    for (int reading = 1; reading <= kVerifyReadings + 1; ++reading) {
        if (reading > 1)
            link.protocol().drainLine();
        try {
            back = *readBlocksTrusted(link, device.address, device.modelCode, blocks, progress, false,
                                      [&](size_t i) { return percent(double(i + 1), double(blocks.size())); });
        } catch (const Error &e) {
            qCDebug(lcExchange).noquote() << QStringLiteral("read-back %1 failed: %2").arg(reading).arg(e.text());
            failure = WriteFailure::unverified(e, outcome.backupPath);
            continue;
        }
        const qint64 elapsed = link.port().clock().nowMs() - state.startedMs;
        const ReadBack verdict = judgeReadBack(state, outcome.image, back, base, elapsed, outcome.backupPath, failure);
        if (verdict == ReadBack::Exact) {
            qCDebug(lcExchange).noquote() << QStringLiteral("read-back %1: every written byte as sent").arg(reading);
            failure.reset();
            break;
        }
        qCDebug(lcExchange).noquote() << QStringLiteral("read-back %1: %2")
                                             .arg(reading)
                                             .arg(verdict == ReadBack::DeviceMoved
                                                      ? QStringLiteral("the device's own newer records")
                                                      : QStringLiteral("differs"));
        if (verdict == ReadBack::DeviceMoved) {
            if (back == moved) {
                failure.reset();
                outcome.recordedMeanwhile = true;
                break;
            }
            moved = back;
            failure = WriteFailure::unverified(Error(ErrorKind::Refused, kUnsteadyReadText), outcome.backupPath);
            continue;
        }
        if (reading >= kVerifyReadings && moved.isEmpty())
            break; // two readings that differ from what was sent: the device holds other bytes
    }
    if (failure)
        throw *failure;
    // Device address a is image position a - 32 in the first half of the memory.
    outcome.image.replace(base - kAddressBase, back.size(), back);
}

} // namespace

std::optional<DeviceIdentity> identifyDevice(TKW_RS &link, Progress &progress)
{
    PortSession session(link.port());
    return connectDevice(link, progress);
}

std::optional<DeviceImage> readDevice(TKW_RS &link, Progress &progress)
{
    PortSession session(link.port());
    const std::optional<DeviceIdentity> device = connectDevice(link, progress);
    if (!device)
        return std::nullopt;
    std::optional<QByteArray> image = readImage(link, *device, progress);
    if (!image)
        return std::nullopt;
    return DeviceImage{*device, std::move(*image)};
}

std::optional<WriteOutcome> writeDevice(TKW_RS &link, const TMK &model, Progress &progress, const QString &backupDir,
                                        const WriteConfirmation &confirm)
{
    WriteOptions options;
    options.backupDir = backupDir;
    options.confirm = confirm;
    return writeDevice(link, model, progress, options);
}

std::optional<WriteOutcome> writeDevice(TKW_RS &link, const TMK &model, Progress &progress, const WriteOptions &options)
{
    if (!model.hasImage())
        throw Error(ErrorKind::BadValue,
                    QStringLiteral("Нет настроек для записи: сначала считайте их из МК или из файла."));
    requireCompleteSettings(model); // before the port opens: nothing reaches the device
    PortSession session(link.port());
    const std::optional<DeviceIdentity> device = connectDevice(link, progress);
    if (!device)
        return std::nullopt;
    if (device->modelCode != model.modelCode())
        throw Error(ErrorKind::BadValue, kModelMismatchText);
    std::optional<QByteArray> fresh = readImage(link, *device, progress);
    if (!fresh)
        return std::nullopt;

    // Every byte the write depends on is confirmed by a second reading: the header and the
    // sections it names (all in the first half of the memory). Until the first section goes
    // out, Cancel stops the write with nothing written.
    WriteState state;
    state.startedMs = link.port().clock().nowMs();
    int end = kHeaderSize;
    for (const SectionEntry &e : sectionsToWrite(*fresh, device->memorySize))
        end = qMax(end, e.contentPos() + qMax(0, e.contentLength()));
    progress.setText(kConfirmingText);
    progress.setValue(0);
    QByteArray deviceNow = *fresh;
    if (!settleBlocks(link, *device, blocksOf(0, end), deviceNow, progress, true))
        return std::nullopt;

    // The user's records go into the device's own image; everything else stays the device's.
    WriteMerge merge(model, device->modelCode, options);
    merge.first(deviceNow);
    state.sections = sectionsToWrite(merge.image(), device->memorySize);
    if (!merge.confirm(deviceNow) || progress.cancelled())
        return std::nullopt;

    WriteOutcome outcome{
        *device, saveBackup(options.backupDir, device->modelCode, deviceNow), merge.image(), {}, false};
    if (options.backupSaved)
        options.backupSaved(outcome.backupPath);
    progress.setText(kWritingText);
    progress.setValue(0);
    progress.setGaugeVisible(true);
    const bool follow = options.recorded == RecordedData::FollowDevice;
    const std::vector<SectionEntry> &sections = state.sections;
    state.written.assign(sections.size(), false);
    const auto someWritten = [&state] { return std::count(state.written.begin(), state.written.end(), true) > 0; };
    bool started = false;
    for (size_t i = 0; i < sections.size(); ++i) {
        const int k = int(i);
        const SectionEntry &e = sections[i];
        const int pos = e.contentPos(), length = e.contentLength();
        // Section 11 is never the program's to change: like the sections of what the device
        // records, it goes back only if it would change, so a stale copy never lands on a newer one.
        const bool devicesOwn = k == kUndecodedSection || (k < kSectionCount && holdsDeviceRecorded(k));
        if (devicesOwn && length > 0) {
            // What the device recorded since it was read (a trip ended meanwhile) is not written
            // over. A change that is not the device's own record is a reading the line spoilt
            // twice alike: nothing of this section is sent on it.
            try {
                NullProgress quiet; // the gauge goes on counting sections
                // A read between section writes waits as every read does, not as a section write.
                link.protocol().SetFirstByteTimeout(kIdentifyTimeoutMs);
                const QByteArray before = deviceNow.mid(pos, length);
                if (*settleBlocks(link, *device, blocksOf(pos, pos + length), deviceNow, quiet, false)) {
                    bool moved = false;
                    const qint64 elapsed = link.port().clock().nowMs() - state.startedMs;
                    if (k == kUndecodedSection ||
                        !onlyDeviceRecorded(k, before, deviceNow.mid(pos, length), elapsed, &moved))
                        throw Error(ErrorKind::Refused, kUnsteadyReadText);
                    merge.again(deviceNow);
                    outcome.image = merge.image();
                    outcome.recordedMeanwhile = outcome.recordedMeanwhile || (moved && follow);
                }
            } catch (const Error &err) {
                throw WriteFailure(err, k, outcome.backupPath, someWritten());
            }
            // Section 11 goes back as the device has it, a restore's included.
            if (k == kUndecodedSection)
                outcome.image.replace(pos, length, deviceNow.mid(pos, length));
            if ((follow || k == kUndecodedSection) && outcome.image.mid(pos, length) == deviceNow.mid(pos, length)) {
                qCDebug(lcExchange).noquote() << QStringLiteral("section %1 left: nothing in it to change").arg(k);
                outcome.sectionsLeft.append(k);
                progress.setValue(percent(double(i + 1), double(sections.size())));
                continue;
            }
        }
        if (!started) {
            if (progress.cancelled())
                return std::nullopt;
            progress.setCancelAllowed(false);
            started = true;
        }
        sendSection(link, device->address, k, e, outcome.image, outcome.backupPath, someWritten());
        qCDebug(lcExchange).noquote() << QStringLiteral("section %1 written").arg(k);
        state.written[i] = true;
        progress.setValue(percent(double(i + 1), double(sections.size())));
    }
    verifyWrite(link, *device, state, outcome, progress);
    return outcome;
}

} // namespace mk
