// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/SimulatedDevice.h"

#include "base/Error.h"
#include "image/DeviceRecorded.h"
#include "image/ImageLayout.h"
#include "link/FrameCodec.h"

#include <QStringList>
#include <algorithm>

namespace mk {

namespace {

// A trip just ended, as the device records it: the trip journal moves back one entry behind a
// new one, and the overall and trip averages go on a little.
void recordTrip(QByteArray &memory)
{
    const QByteArray image = imageFromMemory(memory);
    const ImageHeader header = ImageHeader::parse(image);
    const SectionEntry trips = header.sections[kTripsSection], counters = header.sections[kCountersSection];
    if (!trips.usable() || !counters.usable())
        return;
    const int journal = trips.address + kTripJournalOffset; // device address: image position + 32
    const int bytes = (kJournalEntryCount - 1) * kJournalEntrySize;
    if (journal + bytes + kJournalEntrySize > memory.size() ||
        counters.address + kRecordSizes[kCountersSection] > memory.size())
        return;
    memory.replace(journal + kJournalEntrySize, bytes, memory.mid(journal, bytes));
    Record entry(kJournalEntrySize); // 09.03 10:00, ten minutes and 5 km on 1.5 l of petrol
    const JournalEntryLayout &l = kJournalEntryLayout;
    setEntryField(entry, 0, l.minutes, 600);
    setEntryField(entry, 0, l.day, 9);
    setEntryField(entry, 0, l.month, 3);
    setEntryField(entry, 0, l.seconds, 600);
    setEntryField(entry, 0, l.metres, 5000);
    setEntryField(entry, 0, l.fuel1, 1500);
    memory.replace(journal, kJournalEntrySize, entry.bytes());
    const auto addU32 = [&memory](int at, quint32 add) {
        quint32 v = 0;
        for (int i = 3; i >= 0; --i)
            v = v << 8 | quint8(memory[at + i]);
        v += add;
        for (int i = 0; i < 4; ++i)
            memory[at + i] = char(v >> (8 * i));
    };
    for (const AccumulatorLayout &set : {kAccumulatorLayouts[0], kAccumulatorLayouts[1]}) {
        addU32(counters.address + set.time, 10);
        addU32(counters.address + set.distance, 100);
    }
}

} // namespace

namespace {

struct FaultName
{
    const char *name;
    Fault kind;
};

constexpr FaultName kFaultNames[] = {
    {"drop-byte", Fault::DropByte}, {"bad-checksum", Fault::BadChecksum},
    {"busy", Fault::Busy},          {"zero-header", Fault::ZeroHeader},
    {"silence", Fault::Silence},    {"short-frame", Fault::ShortFrame},
    {"late", Fault::Late},          {"duplicate", Fault::Duplicate},
    {"stray", Fault::Stray},
};

// A late answer may come up to ten minutes late; beyond that it is no longer a late answer.
constexpr int kMaxLateMs = 600000;

quint16 wordAt(const QByteArray &bytes, int pos) { return quint16(quint8(bytes[pos]) | (quint8(bytes[pos + 1]) << 8)); }

QByteArray word(quint16 v)
{
    QByteArray b(2, '\0');
    b[0] = char(v & 0xFF);
    b[1] = char(v >> 8);
    return b;
}

void closeFrame(QByteArray &frame)
{
    frame[0] = char(frame.size());
    frame[frame.size() - 1] = char(frameChecksum(frame.constData(), int(frame.size()) - 1));
}

} // namespace

std::vector<FaultRule> parseFaultRules(const QString &text)
{
    std::vector<FaultRule> rules;
    for (const QString &item : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList parts = item.trimmed().split(QLatin1Char(':'));
        const bool late = parts[0] == QLatin1String("late");
        bool ok = parts.size() == 2 || (late && parts.size() == 3);
        const double rate = ok ? parts[1].toDouble(&ok) : 0;
        const int lateMs = ok && parts.size() == 3 ? parts[2].toInt(&ok) : kDefaultLateMs;
        if (!ok || rate < 0 || rate > 1 || lateMs < 0 || lateMs > kMaxLateMs)
            throw Error(ErrorKind::BadValue,
                        QStringLiteral("Неверное описание сбоя \"%1\": нужно ВИД:ДОЛЯ, доля от 0 до 1 "
                                       "(для late можно ВИД:ДОЛЯ:МС, задержка до %2 мс)")
                            .arg(item)
                            .arg(kMaxLateMs));
        const FaultName *found = nullptr;
        for (const FaultName &f : kFaultNames)
            if (parts[0] == QLatin1String(f.name))
                found = &f;
        if (!found)
            throw Error(ErrorKind::BadValue,
                        QStringLiteral("Неизвестный вид сбоя \"%1\" (drop-byte, bad-checksum, busy, "
                                       "zero-header, silence, short-frame, late, duplicate, stray)")
                            .arg(parts[0]));
        rules.push_back({found->kind, rate, lateMs});
    }
    return rules;
}

int memorySizeForAddress(quint8 address) { return address == 0xFE ? 32768 : 8192; }

QByteArray imageFromMemory(const QByteArray &memory)
{
    const int half = int(memory.size()) / 2;
    return memory.mid(kBlockSize, half - kBlockSize) + memory.mid(half + kBlockSize);
}

QByteArray memoryFromImage(const QByteArray &image, int memorySize)
{
    const int half = memorySize / 2;
    if (image.size() > memorySize - 2 * kBlockSize)
        throw Error(ErrorKind::BadValue,
                    QStringLiteral("Образ памяти (%1 байт) не помещается в память устройства (%2 байт)")
                        .arg(image.size())
                        .arg(memorySize));
    QByteArray memory(memorySize, '\0');
    const int first = qMin(int(image.size()), half - kBlockSize);
    memory.replace(kBlockSize, first, image.left(first));
    const QByteArray rest = image.mid(first);
    memory.replace(half + kBlockSize, int(rest.size()), rest);
    return memory;
}

SimulatedDevice::SimulatedDevice(const DeviceConfig &config, QByteArray memory)
    : m_config(config), m_memory(std::move(memory))
{
    m_memory.resize(m_config.memorySize, '\0');
}

QByteArray SimulatedDevice::memory() const
{
    std::lock_guard lock(m_mutex);
    return m_memory;
}

void SimulatedDevice::setMemory(const QByteArray &memory)
{
    std::lock_guard lock(m_mutex);
    m_memory = memory;
    m_memory.resize(m_config.memorySize, '\0');
}

void SimulatedDevice::setWriteQuirks(const WriteQuirks &quirks)
{
    std::lock_guard lock(m_mutex);
    m_quirks = quirks;
}

void SimulatedDevice::setFaultRules(std::vector<FaultRule> rules, quint64 seed)
{
    std::lock_guard lock(m_mutex);
    m_rules = std::move(rules);
    m_random.seed(seed);
}

void SimulatedDevice::setFaultChooser(FaultChooser chooser, int lateMs)
{
    std::lock_guard lock(m_mutex);
    m_chooser = std::move(chooser);
    m_chosenLateMs = lateMs;
}

std::vector<QByteArray> SimulatedDevice::requests() const
{
    std::lock_guard lock(m_mutex);
    return m_requests;
}

void SimulatedDevice::clearRequests()
{
    std::lock_guard lock(m_mutex);
    m_requests.clear();
}

std::optional<FaultRule> SimulatedDevice::chooseFault(const QByteArray &request)
{
    if (m_chooser)
        if (std::optional<Fault> f = m_chooser(request))
            return FaultRule{*f, 1.0, m_chosenLateMs};
    std::optional<FaultRule> chosen;
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    for (const FaultRule &rule : m_rules) {
        const double draw = uniform(m_random); // one draw per rule keeps a seed's run repeatable
        if (!chosen && draw < rule.rate)
            chosen = rule;
    }
    return chosen;
}

QByteArray SimulatedDevice::frame(quint8 status, const QByteArray &values) const
{
    QByteArray f(kFrameValuesAt, '\0');
    f[1] = char(m_config.address);
    f[2] = 1;
    f[3] = 0;
    f[4] = char(status);
    f += values;
    f += '\0';
    closeFrame(f);
    return f;
}

std::optional<QByteArray> SimulatedDevice::answer(const QByteArray &request)
{
    std::optional<DeviceAnswer> a = respond(request);
    return a ? std::optional(std::move(a->bytes)) : std::nullopt;
}

std::optional<DeviceAnswer> SimulatedDevice::respond(const QByteArray &request)
{
    std::lock_guard lock(m_mutex);
    if (request.size() < kMinFrameLength || quint8(request[0]) != request.size() || !frameSumIsZero(request) ||
        quint8(request[1]) != m_config.address)
        return std::nullopt;
    m_requests.push_back(request);
    const quint8 cmd = quint8(request[4]);
    if (cmd != command::kIdentify && cmd != command::kReadBlock && cmd != command::kBeginSectionWrite &&
        cmd != command::kWriteChunk && cmd != command::kEndSectionWrite)
        return std::nullopt;

    const std::optional<FaultRule> fault = chooseFault(request);
    const Fault kind = fault ? fault->kind : Fault::Silence;
    if (fault && kind == Fault::Silence)
        return std::nullopt;
    if (kind == Fault::Busy)
        return DeviceAnswer{frame(kBusyStatus, {})};
    const QByteArray args = request.mid(kFrameValuesAt, request.size() - kFrameValuesAt - 1);
    const std::optional<QByteArray> values = carryOut(cmd, args);
    DeviceAnswer out{values ? frame(cmd, *values) : frame(kBusyStatus, {})};
    QByteArray &bytes = out.bytes;
    if (!fault)
        return out;
    switch (kind) {
    case Fault::DropByte: bytes.remove(1 + int(m_random() % quint64(bytes.size() - 1)), 1); break;
    case Fault::BadChecksum: bytes[bytes.size() - 1] = char(bytes[bytes.size() - 1] ^ 0x5A); break;
    case Fault::ZeroHeader:
        bytes[1] = bytes[2] = bytes[3] = 0;
        closeFrame(bytes);
        break;
    case Fault::ShortFrame:
        bytes = bytes.left(5);
        closeFrame(bytes);
        break;
    case Fault::Late: out.lateMs = fault->lateMs; break;
    case Fault::Duplicate: bytes += QByteArray(bytes); break;
    case Fault::Stray: bytes.prepend(char(m_random() & 0xFF)); break;
    default: break;
    }
    return out;
}

std::optional<QByteArray> SimulatedDevice::carryOut(quint8 cmd, const QByteArray &args)
{
    const int size = int(m_memory.size());
    switch (cmd) {
    case command::kIdentify: return QByteArray(1, char(m_config.identifyFirstByte)) + word(m_config.modelCode);
    case command::kReadBlock: {
        if (args.size() < 2)
            return std::nullopt;
        const int at = kBlockSize * wordAt(args, 0);
        if (at + kBlockSize > size)
            return std::nullopt;
        return m_memory.mid(at, kBlockSize);
    }
    case command::kBeginSectionWrite: {
        if (args.size() < 4)
            return std::nullopt;
        const int address = wordAt(args, 0), length = wordAt(args, 2);
        if (address + length > size)
            return std::nullopt;
        if (m_quirks.recordAtFirstWrite && !m_recorded) {
            m_recorded = true;
            recordTrip(m_memory);
        }
        m_pending = SectionWrite{address, length, QByteArray(length, '\0'), std::vector<bool>(size_t(length), false)};
        m_lastApplied.reset();
        return QByteArray();
    }
    case command::kWriteChunk: {
        if (!m_pending || args.size() < 4)
            return std::nullopt;
        const int index = wordAt(args, 0), count = wordAt(args, 2);
        const int at = index * kBlockSize;
        if (count > kBlockSize || args.size() != 4 + count || at + count > m_pending->length)
            return std::nullopt;
        QByteArray chunk = args.mid(4);
        if (++m_chunksWritten == m_quirks.storeWrongChunk && chunk.size() >= 2) {
            chunk[0] = char(chunk[0] + 1);
            chunk[1] = char(chunk[1] - 1);
        }
        m_pending->data.replace(at, count, chunk);
        std::fill_n(m_pending->received.begin() + at, count, true);
        return QByteArray();
    }
    case command::kEndSectionWrite: {
        if (args.size() < 4)
            return std::nullopt;
        const int address = wordAt(args, 0), length = wordAt(args, 2);
        if (!m_pending)
            return m_lastApplied == std::make_pair(address, length) ? std::optional(QByteArray()) : std::nullopt;
        const SectionWrite w = *m_pending;
        m_pending.reset();
        const bool complete = std::all_of(w.received.begin(), w.received.end(), [](bool b) { return b; });
        if (w.address != address || w.length != length || !complete)
            return std::nullopt;
        m_memory.replace(address, length, w.data);
        m_lastApplied = std::make_pair(address, length);
        return QByteArray();
    }
    default: return std::nullopt;
    }
}

QString SimulatedDevice::describe(const QByteArray &request)
{
    if (request.size() < kMinFrameLength)
        return QStringLiteral("short frame %1").arg(QString::fromLatin1(request.toHex(' ')));
    const QString addr = QStringLiteral("%1").arg(quint8(request[1]), 2, 16, QLatin1Char('0')).toUpper();
    const QByteArray args = request.mid(kFrameValuesAt, request.size() - kFrameValuesAt - 1);
    const auto w = [&](int pos) { return args.size() >= pos + 2 ? int(wordAt(args, pos)) : -1; };
    switch (quint8(request[4])) {
    case command::kIdentify: return addr + QStringLiteral(" identify");
    case command::kReadBlock: return addr + QStringLiteral(" read block %1").arg(w(0));
    case command::kBeginSectionWrite:
        return addr +
               QStringLiteral(" begin section write at 0x%1, %2 bytes").arg(w(0), 4, 16, QLatin1Char('0')).arg(w(2));
    case command::kWriteChunk: return addr + QStringLiteral(" write chunk %1, %2 bytes").arg(w(0)).arg(w(2));
    case command::kEndSectionWrite:
        return addr +
               QStringLiteral(" end section write at 0x%1, %2 bytes").arg(w(0), 4, 16, QLatin1Char('0')).arg(w(2));
    default: return addr + QStringLiteral(" command %1").arg(quint8(request[4]));
    }
}

} // namespace mk
