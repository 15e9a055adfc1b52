// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/DeviceExchange.h"

#include "image/ImageLayout.h"
#include "image/RecordSync.h"
#include "image/DeviceRecorded.h"
#include "image/TMK.h"
#include "link/Backup.h"
#include "link/DeviceRequest.h"
#include "link/ExchangeTexts.h"
#include "link/LinkTexts.h"
#include "link/Protocol.h"
#include "link/TKW_RS.h"
#include "link/TrustedRead.h"

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
        return Error(QStringLiteral("Таблица секций в памяти МК повреждена (%1). Запись не выполнена.").arg(what));
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
// as it is now. Returns whether any block of the image changed.
bool settleBlocks(TKW_RS &link, const DeviceIdentity &device, const std::vector<int> &blocks, QByteArray &image,
                  Progress &progress)
{
    const auto read = [&](const std::vector<int> &which, const BlockGauge &gauge) {
        return *readBlocksTrusted(link, device.address, device.modelCode, which, progress, false, gauge);
    };
    const QByteArray again =
        read(blocks, [&](size_t i) { return percent(double(i + 1), double(blocks.size())); });
    bool changed = false;
    for (size_t i = 0; i < blocks.size(); ++i) {
        const int pos = imagePosOfBlock(blocks[i], device.memorySize);
        QList<QByteArray> readings = {image.mid(pos, kBlockSize), again.mid(qsizetype(i) * kBlockSize, kBlockSize)};
        while (!readings.mid(0, readings.size() - 1).contains(readings.last())) {
            if (readings.size() > kSettleTries)
                throw Error(kUnsteadyReadText);
            readings.append(read({blocks[i]}, [](size_t) { return 100; }));
        }
        if (readings.last() != readings.first()) {
            image.replace(pos, kBlockSize, readings.last());
            changed = true;
        }
    }
    return changed;
}

// Marks the image bytes of a section's recorded units that the write leaves as the device has
// them: the device may change them again before they are read back.
void markLeftToDevice(const TMK &toWrite, const TMK &device, int section, QByteArray &ignored)
{
    const SectionEntry e = toWrite.header().sections[size_t(section)];
    for (const RecordedPart &part : deviceRecordedParts())
        for (const RecordedUnit &unit : part.units) {
            if (unit.section != section ||
                unitBytes(toWrite.record(section).bytes(), unit) != unitBytes(device.record(section).bytes(), unit))
                continue;
            for (const ByteSpan &span : unit.spans)
                for (int at = span.begin; at < span.end && at < e.contentLength(); ++at)
                    ignored[e.contentPos() + at] = '\1';
        }
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
}

void verifyWrite(TKW_RS &link, const DeviceIdentity &device, const std::vector<SectionEntry> &sections,
                 const std::vector<bool> &written, const QByteArray &ignored, WriteOutcome &outcome,
                 Progress &progress);

} // namespace

WriteFailure::WriteFailure(Kind kind, const QString &text, int section, const QString &backupPath)
    : Error(text), m_kind(kind), m_section(section), m_backupPath(backupPath)
{}

WriteFailure::WriteFailure(const QString &linkMessage, int section, const QString &backupPath)
    : WriteFailure(Interrupted,
                   QStringLiteral("%1\nЗапись прервана на секции %2; секции до неё уже записаны. "
                                  "Память МК до записи сохранена в файле %3")
                       .arg(linkMessage)
                       .arg(section)
                       .arg(backupPath),
                   section, backupPath)
{}

WriteFailure WriteFailure::mismatch(int section, int deviceAddress, const QString &backupPath)
{
    return WriteFailure(Mismatch,
                        QStringLiteral("Проверка записи не прошла: секция %1 в МК отличается от записанной "
                                       "(первое расхождение по адресу %2).\nПамять МК до записи сохранена в файле %3")
                            .arg(section)
                            .arg(deviceAddress)
                            .arg(backupPath),
                        section, backupPath);
}

WriteFailure WriteFailure::unverified(const QString &linkMessage, const QString &backupPath)
{
    return WriteFailure(Unverified,
                        QStringLiteral("%1\nНастройки отправлены в МК, но проверить запись не удалось. "
                                       "Память МК до записи сохранена в файле %2")
                            .arg(linkMessage, backupPath),
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
            return DeviceIdentity{c.address, c.memorySize, link.frame().GetWord()};
        } catch (const Error &) {
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

// The first written section whose read-back differs from what was sent, as a failure; bytes
// marked in `ignored` (image positions) are not compared.
std::optional<WriteFailure> firstDifference(const std::vector<SectionEntry> &sections, const std::vector<bool> &written,
                                            const QByteArray &ignored, const QByteArray &image, const QByteArray &back,
                                            int base, const QString &backupPath)
{
    for (size_t i = 0; i < sections.size(); ++i) {
        if (!written[i])
            continue;
        const SectionEntry &e = sections[i];
        const QByteArray sent = image.mid(e.contentPos(), e.contentLength());
        const QByteArray got = back.mid(e.address - base, e.contentLength());
        for (int at = 0; at < sent.size(); ++at)
            if ((at >= got.size() || sent[at] != got[at]) && !ignored[e.contentPos() + at])
                return WriteFailure::mismatch(int(i), e.address + at, backupPath);
    }
    return std::nullopt;
}

// Reads back the blocks that hold the written sections (one read of the written range) and
// compares them with what was sent; the outcome's image then holds what the device returned.
void verifyWrite(TKW_RS &link, const DeviceIdentity &device, const std::vector<SectionEntry> &sections,
                 const std::vector<bool> &written, const QByteArray &ignored, WriteOutcome &outcome,
                 Progress &progress)
{
    // Sections left unwritten are read back too, so that the outcome holds what the device
    // holds there now.
    int first = std::numeric_limits<int>::max(), last = -1;
    for (const SectionEntry &e : sections) {
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
    // called unverified or wrong: a disturbed line must not make a good write look bad.
    QByteArray back;
    std::optional<WriteFailure> failure;
    for (int reading = 1; reading <= kVerifyReadings; ++reading) {
        if (reading > 1)
            link.protocol().drainLine();
        try {
            back = *readBlocksTrusted(link, device.address, device.modelCode, blocks, progress, false,
                                      [&](size_t i) { return percent(double(i + 1), double(blocks.size())); });
        } catch (const Error &e) {
            failure = WriteFailure::unverified(e.text(), outcome.backupPath);
            continue;
        }
        failure = firstDifference(sections, written, ignored, outcome.image, back, base, outcome.backupPath);
        if (!failure)
            break;
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
    return writeDevice(link, model, progress, WriteOptions{backupDir, RecordedData::FollowDevice, confirm, {}});
}

std::optional<WriteOutcome> writeDevice(TKW_RS &link, const TMK &model, Progress &progress,
                                        const WriteOptions &options)
{
    if (!model.hasImage())
        throw Error(QStringLiteral("Нет настроек для записи: сначала считайте их из МК или из файла."));
    requireCompleteSettings(model); // before the port opens: nothing reaches the device
    PortSession session(link.port());
    const std::optional<DeviceIdentity> device = connectDevice(link, progress);
    if (!device)
        return std::nullopt;
    if (device->modelCode != model.modelCode())
        throw Error(kModelMismatchText);
    std::optional<QByteArray> fresh = readImage(link, *device, progress);
    if (!fresh)
        return std::nullopt;

    // Every byte the write depends on is confirmed by a second reading: the header and the
    // sections it names (all in the first half of the memory).
    int end = kHeaderSize;
    for (const SectionEntry &e : sectionsToWrite(*fresh, device->memorySize))
        end = qMax(end, e.contentPos() + qMax(0, e.contentLength()));
    progress.setText(kConfirmingText);
    progress.setValue(0);
    QByteArray deviceNow = *fresh;
    settleBlocks(link, *device, blocksOf(0, end), deviceNow, progress);

    // The user's records go into the device's own image; everything else stays the device's.
    TMK merged = mergeRecords(model, device->modelCode, deviceNow, options.recorded);
    if (merged.settingsVersion() != model.settingsVersion())
        throw Error(kVersionMismatchText);
    const std::vector<SectionEntry> sections = sectionsToWrite(merged.image(), device->memorySize);
    if (options.confirm) {
        TMK current, toWrite;
        current.replaceImage(device->modelCode, deviceNow);
        toWrite.replaceImage(device->modelCode, merged.image());
        if (!options.confirm(current, toWrite))
            return std::nullopt;
    }

    WriteOutcome outcome{*device, saveBackup(options.backupDir, device->modelCode, deviceNow), merged.image(), {}, false};
    if (options.backupSaved)
        options.backupSaved(outcome.backupPath);
    progress.setText(kWritingText);
    progress.setValue(0);
    progress.setGaugeVisible(true);
    progress.setCancelAllowed(false);
    const bool follow = options.recorded == RecordedData::FollowDevice;
    std::vector<bool> written(sections.size(), false);
    QByteArray ignored(deviceNow.size(), '\0');
    for (size_t i = 0; i < sections.size(); ++i) {
        const int k = int(i);
        const SectionEntry &e = sections[i];
        // Section 11 is never the program's to change: like the sections of what the device
        // records, it goes back only if it would change, so a stale copy never lands on a newer one.
        const bool devicesOwn = k == kUndecodedSection || (k < kSectionCount && holdsDeviceRecorded(k));
        if (devicesOwn && e.contentLength() > 0) {
            // What the device recorded since it was read (a trip ended meanwhile) is not written over.
            if (follow) {
                try {
                    NullProgress quiet; // the gauge goes on counting sections
                    if (settleBlocks(link, *device, blocksOf(e.contentPos(), e.contentPos() + e.contentLength()),
                                     deviceNow, quiet)) {
                        merged = mergeRecords(model, device->modelCode, deviceNow, options.recorded);
                        outcome.image = merged.image();
                        outcome.recordedMeanwhile = true;
                    }
                } catch (const Error &err) {
                    throw WriteFailure(err.text(), k, outcome.backupPath);
                }
            }
            TMK now;
            now.replaceImage(device->modelCode, deviceNow);
            markLeftToDevice(merged, now, k, ignored);
            if (follow && outcome.image.mid(e.contentPos(), e.contentLength()) ==
                              deviceNow.mid(e.contentPos(), e.contentLength())) {
                outcome.sectionsLeft.append(k);
                progress.setValue(percent(double(i + 1), double(sections.size())));
                continue;
            }
        }
        // The write answers all look alike, so a lost chunk can hide behind a repeated answer
        // until the device refuses the end of the section; a section is whole or not applied,
        // so it is sent once more from its beginning on a drained line. A device that stayed
        // silent through all the link's attempts is gone: it is reported at once.
        for (int attempt = 1;; ++attempt) {
            try {
                writeSection(link, device->address, e, outcome.image);
                break;
            } catch (const Error &err) {
                if (attempt >= kSectionWriteTries || err.text() == kNoLinkText)
                    throw WriteFailure(err.text(), k, outcome.backupPath);
                link.protocol().drainLine();
            }
        }
        written[i] = true;
        progress.setValue(percent(double(i + 1), double(sections.size())));
    }
    verifyWrite(link, *device, sections, written, ignored, outcome, progress);
    return outcome;
}

} // namespace mk
