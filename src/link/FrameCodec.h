// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The frames on the wire, without any I/O. A frame is
//   N, address, header word, command or status, values..., checksum
// where N counts every byte including itself and the checksum (6..255), the checksum makes
// all N bytes add up to 0 modulo 256, and values are little-endian.
// Frame builds a request in TxBuf and reads the answer's values out of RxBuf.

#include <QByteArray>
#include <QString>
#include <array>
#include <vector>

namespace mk {

constexpr int kFrameBufferSize = 256;
constexpr int kMaxFrameLength = 255;
constexpr int kMinFrameLength = 6; // header and checksum, no values
constexpr int kFrameValuesAt = 5;  // the first argument of a request, the first value of an answer
constexpr quint8 kBusyStatus = 0xFF;

// The byte that makes the sum of the frame's bytes 0 modulo 256.
quint8 frameChecksum(const char *bytes, int count);
// A frame (length byte included) whose bytes add up to 0 modulo 256.
bool frameSumIsZero(const QByteArray &frame);

// One request and the answer to it, as bytes: a value that does no I/O, so the protocol fills
// it and the exchange builds and reads it.
class Frame
{
public:
    // Building a request.
    void BeginFrame();
    // Address, the header word 1 and the command: every request starts so. The answer may
    // have any shape until ExpectValues says which.
    void BeginCommand(quint8 address, quint8 command);
    // The answer to this request carries exactly this many values and echoes the command as
    // its status; an answer of another shape belongs to another request (LinkProtocol refuses it).
    void ExpectValues(int count) { m_expectedValues = count; }
    // -1 when any shape is taken.
    int expectedValues() const { return m_expectedValues; }
    // Throws Error before the request would need more than 255 bytes.
    void AppendByte(quint8 value);
    void PutByte(quint8 value) { AppendByte(value); }
    void PutWord(quint16 value);
    void PutLongInt(qint32 value);
    void PutSingle(float value);
    void PutBytes(const QByteArray &bytes);
    // Sets the length byte and the checksum; TxLen stays at the checksum's index.
    void CloseFrame();
    // The request as sent: the first TxBuf[0] bytes (256 when it is 0).
    QByteArray request() const;

    // Reading the answer's values, in order from offset 5. Reading past the last value
    // throws Error rather than returning stale buffer bytes.
    quint8 ReadByte();
    quint8 GetByte() { return ReadByte(); }
    quint16 GetWord();
    qint32 GetLongInt();
    float GetSingle();
    // Windows-1251 characters up to a 0 byte, which is consumed.
    QString GetString();
    QByteArray GetBytes(int count);
    // True if the first RxBuf[0] bytes of the answer add up to 0 modulo 256.
    bool CheckReply() const;
    // The answer as received: the first RxBuf[0] bytes.
    QByteArray answer() const;

    const std::array<quint8, kFrameBufferSize> &TxBuf() const { return m_txBuf; }
    const std::array<quint8, kFrameBufferSize> &RxBuf() const { return m_rxBuf; }
    int TxLen() const { return m_txLen; }
    int RxPos() const { return m_rxPos; }

    // Receiving: the last answer stops being readable and RxBuf (length byte cleared) is
    // handed to the receiver to fill; an accepted answer makes its values readable from offset 5.
    quint8 *beginAnswer();
    void acceptAnswer();

private:
    const quint8 *take(int count);

    std::array<quint8, kFrameBufferSize> m_txBuf{};
    std::array<quint8, kFrameBufferSize> m_rxBuf{};
    int m_txLen = 0;
    int m_rxPos = 0;
    int m_answerLength = 0; // N of the last accepted answer, 0 when none
    int m_expectedValues = -1;
};

// Cuts a byte stream into frames by their length bytes (the device's side of the line).
// A length byte below 6 cannot start a frame and is skipped.
class FrameAssembler
{
public:
    std::vector<QByteArray> feed(const char *bytes, int count);
    bool hasPartial() const { return !m_pending.isEmpty(); }
    void reset() { m_pending.clear(); }

private:
    QByteArray m_pending;
};

} // namespace mk
