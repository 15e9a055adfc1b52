#include "link/TrustedRead.h"

#include "base/Error.h"
#include "link/ExchangeTexts.h"
#include "link/Protocol.h"
#include "link/TKW_RS.h"

namespace mk {

namespace {

// How long to listen after the last answer for one nobody asked for: a device that answered
// some request twice is one answer ahead, and that answer follows the last one at once. Two
// answers' time on the line and 10 ms for the device and the driver.
int trailingAnswerWaitMs(const SerialPort &port)
{
    return 10 + int((2 * kBlockAnswerLength * port.byteTimeUs() + 999) / 1000);
}

// Blocks re-read together when a stretch is confirmed.
constexpr size_t kConfirmPiece = 16;

class TrustedReader
{
public:
    TrustedReader(TKW_RS &link, quint8 address, const std::vector<int> &blocks)
        : m_port(link.port()),
          m_frame(link.frame()),
          m_protocol(link.protocol()),
          m_address(address),
          m_blocks(blocks),
          m_data(blocks.size())
    {}

    std::optional<QByteArray> run(Progress &progress, bool cancellable, const BlockGauge &gauge)
    {
        startStretch(0);
        for (size_t i = 0; i < m_blocks.size(); ++i) {
            // Nothing held changes until the read is complete, so stopping here is harmless.
            if (cancellable && progress.cancelled())
                return std::nullopt;
            const quint64 before = m_protocol.disturbances();
            bool wrongShape = false;
            m_data[i] = readBlock(m_blocks[i], wrongShape);
            m_stretchStray = m_stretchStray || wrongShape;
            if (wrongShape || m_protocol.disturbances() != before) {
                confirm(m_stretchStart, i);
                startStretch(i + 1);
            }
            progress.setValue(gauge(i));
        }
        if (!m_protocol.lineStaysQuiet(trailingAnswerWaitMs(m_port)) && !m_blocks.empty()) {
            m_stretchStray = true;
            confirm(m_stretchStart, m_blocks.size() - 1);
        }
        QByteArray all;
        all.reserve(qsizetype(m_blocks.size()) * kBlockSize);
        for (const QByteArray &block : m_data)
            all += block;
        return all;
    }

private:
    // An answer of another shape belongs to another request: its place is only held, the
    // stretch is read again.
    QByteArray readBlock(int block, bool &wrongShape)
    {
        m_frame.BeginCommand(m_address, command::kReadBlock);
        m_frame.PutWord(quint16(block));
        m_protocol.Exchange();
        if (m_frame.RxBuf()[0] != kBlockAnswerLength) {
            wrongShape = true;
            return QByteArray(kBlockSize, '\0');
        }
        return m_frame.GetBytes(kBlockSize);
    }

    void startStretch(size_t first)
    {
        m_stretchStart = first;
        m_stretchStray = false;
        m_strayAtStart = m_protocol.strayBytes();
    }

    // Reads blocks first..last again, piece by piece on a drained line, until each piece can
    // be trusted. Short pieces keep a confirmation on a line that is often disturbed from
    // having to start over for every fault.
    void confirm(size_t first, size_t last)
    {
        const bool heldAgreeable = !m_stretchStray && m_protocol.strayBytes() == m_strayAtStart;
        m_protocol.drainLine();
        for (size_t from = first; from <= last; from += kConfirmPiece)
            confirmPiece(from, qMin(last, from + kConfirmPiece - 1), heldAgreeable);
    }

    void confirmPiece(size_t first, size_t last, bool heldAgreeable)
    {
        std::optional<std::vector<QByteArray>> agreeable;
        if (heldAgreeable)
            agreeable.emplace(m_data.begin() + qsizetype(first), m_data.begin() + qsizetype(last) + 1);
        for (int reading = 2; reading <= kStretchReadings; ++reading) {
            if (reading > 2)
                m_protocol.drainLine();
            const quint64 disturbancesBefore = m_protocol.disturbances();
            const quint64 strayBefore = m_protocol.strayBytes();
            bool wrongShape = false;
            std::vector<QByteArray> again;
            for (size_t i = first; i <= last; ++i)
                again.push_back(readBlock(m_blocks[i], wrongShape));
            m_protocol.lineStaysQuiet(trailingAnswerWaitMs(m_port));
            const bool stray = wrongShape || m_protocol.strayBytes() != strayBefore;
            const bool clean = !stray && m_protocol.disturbances() == disturbancesBefore;
            if (clean || (!stray && agreeable && *agreeable == again)) {
                std::copy(again.begin(), again.end(), m_data.begin() + qsizetype(first));
                // A piece that agreed after a disturbance leaves the line to be drained.
                if (!clean)
                    m_protocol.drainLine();
                return;
            }
            if (!stray)
                agreeable = std::move(again);
        }
        throw Error(kUnsteadyReadText);
    }

    const SerialPort &m_port;
    Frame &m_frame;
    LinkProtocol &m_protocol;
    const quint8 m_address;
    const std::vector<int> &m_blocks;
    std::vector<QByteArray> m_data;
    size_t m_stretchStart = 0;
    bool m_stretchStray = false;
    quint64 m_strayAtStart = 0;
};

} // namespace

std::optional<QByteArray> readBlocksTrusted(TKW_RS &link, quint8 address, const std::vector<int> &blocks,
                                            Progress &progress, bool cancellable, const BlockGauge &gauge)
{
    return TrustedReader(link, address, blocks).run(progress, cancellable, gauge);
}

} // namespace mk
