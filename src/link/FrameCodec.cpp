// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/FrameCodec.h"

#include "base/Error.h"
#include "base/Text.h"

#include <cstring>

namespace mk {

namespace {

QString answerTooShortText() { return QStringLiteral("RS232. Ответ устройства короче ожидаемого."); }

} // namespace

quint8 frameChecksum(const char *bytes, int count)
{
    unsigned sum = 0;
    for (int i = 0; i < count; ++i)
        sum += quint8(bytes[i]);
    return quint8((0x100 - (sum & 0xFF)) & 0xFF);
}

bool frameSumIsZero(const QByteArray &frame)
{
    unsigned sum = 0;
    for (char c : frame)
        sum += quint8(c);
    return (sum & 0xFF) == 0;
}

void Frame::BeginFrame()
{
    m_txLen = 1;
    m_expectedValues = -1;
}

void Frame::BeginCommand(quint8 address, quint8 command)
{
    BeginFrame();
    AppendByte(address);
    PutWord(1);
    AppendByte(command);
}

void Frame::AppendByte(quint8 value)
{
    // The checksum needs the index after the last value, and N = TxLen + 1 must stay <= 255.
    if (m_txLen < 1 || m_txLen >= kMaxFrameLength - 1)
        throw Error(ErrorKind::BadValue,
                    QStringLiteral("RS232. Запрос к устройству длиннее %1 байт.").arg(kMaxFrameLength));
    m_txBuf[size_t(m_txLen++)] = value;
}

void Frame::PutWord(quint16 value)
{
    AppendByte(quint8(value & 0xFF));
    AppendByte(quint8(value >> 8));
}

void Frame::PutLongInt(qint32 value)
{
    const auto v = quint32(value);
    for (int i = 0; i < 4; ++i)
        AppendByte(quint8(v >> (8 * i)));
}

void Frame::PutSingle(float value)
{
    qint32 v;
    std::memcpy(&v, &value, 4);
    PutLongInt(v);
}

void Frame::PutBytes(const QByteArray &bytes)
{
    for (char c : bytes)
        AppendByte(quint8(c));
}

void Frame::CloseFrame()
{
    m_txBuf[0] = quint8(m_txLen + 1);
    m_txBuf[size_t(m_txLen)] = frameChecksum(reinterpret_cast<const char *>(m_txBuf.data()), m_txLen);
}

QByteArray Frame::request() const
{
    const int n = m_txBuf[0] == 0 ? kFrameBufferSize : m_txBuf[0];
    return QByteArray(reinterpret_cast<const char *>(m_txBuf.data()), n);
}

bool Frame::CheckReply() const { return frameSumIsZero(answer()); }

QByteArray Frame::answer() const { return QByteArray(reinterpret_cast<const char *>(m_rxBuf.data()), m_rxBuf[0]); }

quint8 *Frame::beginAnswer()
{
    m_answerLength = 0;
    m_rxBuf[0] = 0;
    return m_rxBuf.data();
}

void Frame::acceptAnswer()
{
    m_answerLength = m_rxBuf[0];
    m_rxPos = kFrameValuesAt;
}

const quint8 *Frame::take(int count)
{
    // Values end before the checksum byte at index N - 1.
    if (m_rxPos < kFrameValuesAt || m_rxPos + count > m_answerLength - 1)
        throw Error(ErrorKind::Refused, answerTooShortText());
    const quint8 *p = m_rxBuf.data() + m_rxPos;
    m_rxPos += count;
    return p;
}

quint8 Frame::ReadByte() { return *take(1); }

quint16 Frame::GetWord()
{
    const quint8 *p = take(2);
    return quint16(p[0] | (p[1] << 8));
}

qint32 Frame::GetLongInt()
{
    const quint8 *p = take(4);
    return qint32(quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16) | (quint32(p[3]) << 24));
}

float Frame::GetSingle()
{
    const qint32 v = GetLongInt();
    float f;
    std::memcpy(&f, &v, 4);
    return f;
}

QString Frame::GetString()
{
    QByteArray bytes;
    for (quint8 c = ReadByte(); c != 0; c = ReadByte())
        bytes.append(char(c));
    return fromWin1251(bytes);
}

QByteArray Frame::GetBytes(int count)
{
    const quint8 *p = take(count);
    return QByteArray(reinterpret_cast<const char *>(p), count);
}

std::vector<QByteArray> FrameAssembler::feed(const char *bytes, int count)
{
    std::vector<QByteArray> frames;
    m_pending.append(bytes, count);
    for (;;) {
        while (!m_pending.isEmpty() && quint8(m_pending[0]) < kMinFrameLength)
            m_pending.remove(0, 1);
        if (m_pending.isEmpty())
            break;
        const int n = quint8(m_pending[0]);
        if (m_pending.size() < n)
            break;
        frames.push_back(m_pending.left(n));
        m_pending.remove(0, n);
    }
    return frames;
}

} // namespace mk
