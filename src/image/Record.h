// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A fixed-size section record with bounds-checked little-endian accessors.

#include <QByteArray>
#include <QtGlobal>
#include <cstring>
#include <utility>

namespace mk {

class Record
{
public:
    Record() = default;
    explicit Record(int size) : m_bytes(size, '\0') {}

    int size() const { return int(m_bytes.size()); }
    const QByteArray &bytes() const { return m_bytes; }
    QByteArray &bytes() { return m_bytes; }
    bool operator==(const Record &other) const = default;

    quint8 u8(int off) const { return quint8(at(off, 1)[0]); }
    qint8 s8(int off) const { return qint8(u8(off)); }
    quint16 u16(int off) const { return quint16(load(off, 2)); }
    qint16 s16(int off) const { return qint16(u16(off)); }
    quint32 u32(int off) const { return quint32(load(off, 4)); }
    qint32 s32(int off) const { return qint32(u32(off)); }
    quint64 u64(int off) const { return load(off, 8); }
    float f32(int off) const
    {
        quint32 v = u32(off);
        float f;
        std::memcpy(&f, &v, 4);
        return f;
    }

    void setU8(int off, quint8 v) { store(off, v, 1); }
    void setU16(int off, quint16 v) { store(off, v, 2); }
    void setU32(int off, quint32 v) { store(off, v, 4); }
    void setU64(int off, quint64 v) { store(off, v, 8); }
    void setF32(int off, float f)
    {
        quint32 v;
        std::memcpy(&v, &f, 4);
        setU32(off, v);
    }

    QByteArray raw(int off, int len) const { return QByteArray(at(off, len), len); }
    void setRaw(int off, const QByteArray &data)
    {
        char *p = at(off, int(data.size()));
        std::memcpy(p, data.constData(), size_t(data.size()));
    }

private:
    // An offset outside the record is a programming error in a field table: fail loudly.
    const char *at(int off, int len) const
    {
        Q_ASSERT_X(off >= 0 && len >= 0 && off + len <= m_bytes.size(), "Record", "offset out of record");
        if (off < 0 || len < 0 || off + len > m_bytes.size())
            qFatal("Record access %d+%d outside %d bytes", off, len, int(m_bytes.size()));
        return m_bytes.constData() + off;
    }
    char *at(int off, int len)
    {
        std::as_const(*this).at(off, len);
        return m_bytes.data() + off;
    }
    quint64 load(int off, int len) const
    {
        const auto *p = reinterpret_cast<const uchar *>(at(off, len));
        quint64 v = 0;
        for (int i = len - 1; i >= 0; --i)
            v = (v << 8) | p[i];
        return v;
    }
    void store(int off, quint64 v, int len)
    {
        auto *p = reinterpret_cast<uchar *>(at(off, len));
        for (int i = 0; i < len; ++i, v >>= 8)
            p[i] = uchar(v & 0xFF);
    }

    QByteArray m_bytes;
};

} // namespace mk
