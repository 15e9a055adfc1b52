// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/TrustedRead.h"

#include "base/Error.h"
#include "link/DeviceRequest.h"
#include "link/ExchangeTexts.h"
#include "link/LinkTrace.h"
#include "link/TKW_RS.h"

#include <QSet>
#include <map>

namespace mk {

namespace {

class TrustedReader
{
public:
    TrustedReader(TKW_RS &link, quint8 address, quint16 modelCode, const std::vector<int> &blocks)
        : m_frame(link.frame()),
          m_protocol(link.protocol()),
          m_address(address),
          m_modelCode(modelCode),
          m_blocks(blocks),
          m_data(blocks.size())
    {}

    std::optional<QByteArray> run(Progress &progress, bool cancellable, const BlockGauge &gauge)
    {
        for (size_t i = 0; i < m_blocks.size(); ++i) {
            // Nothing held changes until the read is complete, so stopping here is harmless.
            if (cancellable && progress.cancelled())
                return std::nullopt;
            if (m_runOfRepeats)
                m_redo.push_back(i);
            else
                readInStep(i);
            readAgain();
            progress.setValue(gauge(i));
        }
        while (!m_kept.empty() || !m_redo.empty()) {
            probeAndSettle();
            readAgain();
        }
        QByteArray all;
        all.reserve(qsizetype(m_blocks.size()) * kBlockSize);
        for (const QByteArray &block : m_data)
            all += block;
        return all;
    }

private:
    // The block's answer, or nothing when every attempt failed on a line that answers: a noisy
    // line costs the block another try, not the read. A line silent through every attempt has
    // lost the device, and that error ends the read.
    std::optional<QByteArray> readBlock(size_t i)
    {
        beginDeviceRequest(m_frame, m_address, command::kReadBlock);
        m_frame.PutWord(quint16(m_blocks[i]));
        m_inStep = false;
        if (!exchangeOnLiveLine())
            return std::nullopt;
        return m_frame.GetBytes(kBlockSize);
    }

    bool exchangeOnLiveLine()
    {
        try {
            m_protocol.Exchange();
            return true;
        } catch (const Error &e) {
            if (!m_protocol.lastExchangeHeard())
                throw;
            m_lastLinkError = e;
            return false;
        }
    }

    // Gives up on a line that stays too bad to read: with the link's own words where the last
    // try failed on the link.
    [[noreturn]] void giveUp()
    {
        if (m_lastLinkError)
            throw *m_lastLinkError;
        throw Error(ErrorKind::Refused, kUnsteadyReadText);
    }

    // An identify answered at the first attempt, with nothing stale before it, by the device's
    // own model code: no answer nobody asked for was waiting. Then the blocks kept since the
    // last such probe stand; otherwise they are read again.
    // A probe that refused one read-block answer equal to the last block kept, and was then
    // answered after the line was drained, is as good: the refused answer was a second copy of
    // the one kept, or the block's own answer behind a copy equal to it, so the block is right
    // either way (a device that answers some block twice every time is still read).
    void probeAndSettle()
    {
        const quint64 before = m_protocol.disturbances(), refusedBefore = m_protocol.refusedAnswers();
        beginDeviceRequest(m_frame, m_address, command::kIdentify);
        const bool answered = exchangeOnLiveLine();
        if (answered)
            m_frame.GetByte();
        const bool sameDevice = answered && m_frame.GetWord() == m_modelCode;
        const quint64 faults = m_protocol.disturbances() - before;
        const QByteArray &refused = m_protocol.lastRefusedAnswer();
        const bool copyOfLastKept = faults >= 1 && m_protocol.refusedAnswers() == refusedBefore + 1 &&
                                    !m_kept.empty() && refused.size() == kFrameValuesAt + kBlockSize + 1 &&
                                    refused.mid(kFrameValuesAt, kBlockSize) == m_data[m_kept.back()];
        m_inStep = sameDevice && (faults == 0 || copyOfLastKept);
        if (m_inStep) {
            m_kept.clear();
            m_failedProbes = 0;
            return;
        }
        qCDebug(lcExchange).noquote()
            << QStringLiteral("probe disturbed (%1 fault(s)%2): %3 block(s) kept since the last probe read again")
                   .arg(faults)
                   .arg(sameDevice ? QString() : QStringLiteral(", another model code"))
                   .arg(m_kept.size());
        if (++m_failedProbes > kSettleTries) {
            qCDebug(lcExchange).noquote() << QStringLiteral("probes keep failing: give up");
            giveUp();
        }
        m_protocol.drainLine();
        m_redo.insert(m_redo.begin(), m_kept.begin(), m_kept.end());
        m_kept.clear();
    }

    // Whether these bytes came before in this read; remembers them.
    bool repeats(const QByteArray &answer)
    {
        const qsizetype before = m_seen.size();
        m_seen.insert(answer);
        return m_seen.size() == before;
    }

    // The next block on a line believed in step: kept unless the answer is in doubt.
    void readInStep(size_t i)
    {
        const quint64 before = m_protocol.disturbances();
        const std::optional<QByteArray> answer = readBlock(i);
        if (answer && !repeats(*answer) && m_protocol.disturbances() == before) {
            const QByteArray &got = *answer;
            m_data[i] = got;
            m_kept.push_back(i);
            // A block of one byte value (erased memory, zeros) mostly starts a run of such blocks.
            m_runOfRepeats = got.count(got[0]) == got.size();
            if (m_kept.size() >= size_t(kProbeEvery))
                probeAndSettle();
            return;
        }
        qCDebug(lcExchange).noquote() << QStringLiteral("block %1 in doubt (%2): read again after a probe")
                                             .arg(m_blocks[i])
                                             .arg(!answer ? QStringLiteral("every attempt failed")
                                                  : m_protocol.disturbances() == before
                                                      ? QStringLiteral("same bytes as an earlier block")
                                                      : QStringLiteral("line disturbed"));
        m_redo.push_back(i);
    }

    // Reads each block to be read again right after a clean probe; the next clean probe makes
    // it stand.
    void readAgain()
    {
        while (!m_redo.empty()) {
            if (!m_inStep) {
                probeAndSettle();
                continue;
            }
            const size_t i = m_redo.front();
            m_redo.erase(m_redo.begin());
            if (++m_tries[i] > kSettleTries) {
                qCDebug(lcExchange).noquote()
                    << QStringLiteral("block %1 read %2 times without a clean answer: give up")
                           .arg(m_blocks[i])
                           .arg(kSettleTries);
                giveUp();
            }
            const quint64 before = m_protocol.disturbances();
            const std::optional<QByteArray> answer = readBlock(i);
            if (answer)
                repeats(*answer);
            if (!answer || m_protocol.disturbances() != before) {
                m_protocol.drainLine();
                m_redo.insert(m_redo.begin(), i);
                continue;
            }
            const QByteArray &got = *answer;
            m_data[i] = got;
            m_kept.push_back(i);
            // Inside a run of equal blocks the next answer would be in doubt again: it is read
            // after a probe at once.
            m_runOfRepeats = i > 0 && got == m_data[i - 1];
        }
    }

    Frame &m_frame;
    LinkProtocol &m_protocol;
    const quint8 m_address;
    const quint16 m_modelCode;
    const std::vector<int> &m_blocks;
    std::vector<QByteArray> m_data;
    QSet<QByteArray> m_seen;
    std::vector<size_t> m_kept; // blocks kept since the last clean probe, in the order read
    std::vector<size_t> m_redo; // blocks to be read again, each right after a clean probe
    std::map<size_t, int> m_tries;
    int m_failedProbes = 0;
    std::optional<Error> m_lastLinkError; // the last exchange that failed on a line that answers
    bool m_inStep = false;                // a clean probe was the last exchange
    bool m_runOfRepeats = false;
};

} // namespace

std::optional<QByteArray> readBlocksTrusted(TKW_RS &link, quint8 address, quint16 modelCode,
                                            const std::vector<int> &blocks, Progress &progress, bool cancellable,
                                            const BlockGauge &gauge)
{
    return TrustedReader(link, address, modelCode, blocks).run(progress, cancellable, gauge);
}

} // namespace mk
