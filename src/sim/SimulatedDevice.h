// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A simulated trip computer: its memory and its answers to the device commands. It runs in
// the test process behind an in-memory port, and on a pseudo-terminal for mksim and the demo.
// The commands it answers are in link/Protocol.h.
// Frames for another address, with a bad checksum or an unknown command get no answer; a
// request the device cannot carry out gets the busy status.

#include "link/Protocol.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <mutex>
#include <optional>
#include <random>
#include <vector>

namespace mk {

// Injected faults: what goes wrong with one answer.
enum class Fault {
    DropByte,    // one byte of the answer never arrives
    BadChecksum, // the answer's bytes do not add up to 0
    Busy,        // the device answers busy and does nothing
    ZeroHeader,  // the answer's header bytes 1..3 are 0
    Silence,     // the request is lost: no answer at all
    ShortFrame,  // an answer with a length byte of 5
    Late,        // the answer comes after the client has given up; the retry is answered too
    Duplicate,   // the answer is sent twice, back to back
    Stray,       // one byte of noise comes before the answer
};

// How late a late answer comes unless told: past the 100 ms first-byte time-out of most
// commands and past the 50 ms pause before the retry, so it meets the retry on the line.
constexpr int kDefaultLateMs = 150;

struct FaultRule
{
    Fault kind;
    double rate;                 // 0..1: the share of answers it hits
    int lateMs = kDefaultLateMs; // Late only: how much later than usual the answer starts
};

// "drop-byte:0.1,busy:0.05,late:0.01:300"; throws Error on an unknown kind, a rate outside
// 0..1, or a delay given to another kind than late.
std::vector<FaultRule> parseFaultRules(const QString &text);

// What the device puts on the line for one request: the bytes, and how much later than
// usual they start (a late answer).
struct DeviceAnswer
{
    QByteArray bytes;
    int lateMs = 0;
};

// What the device does wrong, or on its own, while it is written.
struct WriteQuirks
{
    // The n-th write chunk (counted from 1; 0: none) is stored with two byte errors that keep
    // its byte sum, as a flaw no frame checksum shows.
    int storeWrongChunk = 0;
    // A trip ends as the first section write begins: a new entry in front of the trip journal,
    // the overall and trip averages on by 10 s and 100 m.
    bool recordAtFirstWrite = false;
};

struct DeviceConfig
{
    quint8 address = 0xFC;
    quint16 modelCode = 1;
    int memorySize = 8192;
    quint8 identifyFirstByte = 0x01; // the byte before the model code in the identify answer
};

// The memory size of the device class at an address: 8192 at 0xFC and 0xFD, 32768 at 0xFE.
int memorySizeForAddress(quint8 address);

// The image the program reads (memory without the first 32 bytes of each half) and back.
QByteArray imageFromMemory(const QByteArray &memory);
// Throws Error when the image does not fit; a shorter image leaves the rest zero.
QByteArray memoryFromImage(const QByteArray &image, int memorySize);

class SimulatedDevice
{
public:
    explicit SimulatedDevice(const DeviceConfig &config, QByteArray memory = {});

    const DeviceConfig &config() const { return m_config; }

    // The answer to one request frame, or nothing when the device stays silent.
    // Safe to call from the thread that serves the line while others read the memory.
    std::optional<DeviceAnswer> respond(const QByteArray &request);
    // The same without its timing, for callers that put the bytes on the line at once.
    std::optional<QByteArray> answer(const QByteArray &request);

    QByteArray memory() const;
    void setMemory(const QByteArray &memory);

    void setWriteQuirks(const WriteQuirks &quirks);

    // Random faults with a fixed seed, so a run can be repeated.
    void setFaultRules(std::vector<FaultRule> rules, quint64 seed);
    // Chooses the fault for each request before the random rules do (tests aim faults with it);
    // a late answer chosen so comes lateMs late.
    using FaultChooser = std::function<std::optional<Fault>(const QByteArray &request)>;
    void setFaultChooser(FaultChooser chooser, int lateMs = kDefaultLateMs);

    // Every request frame addressed to this device, in order.
    std::vector<QByteArray> requests() const;
    void clearRequests();

    // "FE read block 17" and the like, for logs.
    static QString describe(const QByteArray &request);

private:
    struct SectionWrite
    {
        int address = 0;
        int length = 0;
        QByteArray data;
        std::vector<bool> received;
    };

    // The answer's values, or nothing when the command fails (busy).
    std::optional<QByteArray> carryOut(quint8 command, const QByteArray &args);
    // The fault for this request and, for a late answer, its delay.
    std::optional<FaultRule> chooseFault(const QByteArray &request);
    QByteArray frame(quint8 status, const QByteArray &values) const;

    DeviceConfig m_config;
    mutable std::mutex m_mutex;
    QByteArray m_memory;
    std::optional<SectionWrite> m_pending;
    // The last section applied, so that a repeated end command (its answer was lost) succeeds.
    std::optional<std::pair<int, int>> m_lastApplied;
    std::vector<FaultRule> m_rules;
    std::mt19937_64 m_random;
    FaultChooser m_chooser;
    int m_chosenLateMs = kDefaultLateMs;
    std::vector<QByteArray> m_requests;
    WriteQuirks m_quirks;
    int m_chunksWritten = 0;
    bool m_recorded = false;
};

} // namespace mk
