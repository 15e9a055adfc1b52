// SPDX-License-Identifier: GPL-3.0-or-later
// The COM port on Windows through plain Win32 calls, opened for ordinary (not overlapped) I/O:
// every wait is a ReadFile that the system ends by its COMMTIMEOUTS, the wait for the rest of a
// frame included (systemLinkClock), so no Sleep of the system timer's coarse ticks stays inside
// an exchange. Overlapped I/O with WaitCommEvent is not used: a port whose driver cannot report
// its modem lines (Wine's COM ports on a pseudo-terminal) never signals the event, and the
// exchange hung on it.
// A port is opened by one program at a time, and the system answers "access denied" to every
// other one; the user is not missing any right.

#include "link/SerialPortIo.h"

#include "base/Error.h"
#include "base/SystemError.h"
#include "link/SerialPort.h"

#include <QtGlobal>

#include <string>
#include <windows.h>

namespace mk {

namespace {

// "\\.\COM12": the form every port number takes, two digits included.
std::wstring deviceName(const QString &node)
{
    const QString name = node.startsWith(QLatin1String("\\\\")) ? node : QStringLiteral("\\\\.\\") + node;
    return name.toStdWString();
}

bool heldByAnother(DWORD error)
{
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION || error == ERROR_BUSY;
}

class Win32PortIo;
// The port this thread has open: the object lives and dies on the thread that opened it.
thread_local Win32PortIo *t_openPort = nullptr;

// The most a wait for the rest of a frame asks for: a frame is at most 255 bytes.
constexpr int kMaxAwaitedBytes = 256;

class Win32PortIo final : public SerialPortIo
{
public:
    explicit Win32PortIo(HANDLE handle) : m_handle(handle)
    {
        t_openPort = this;
        m_dcb.DCBlength = sizeof m_dcb;
        if (!GetCommState(m_handle, &m_dcb)) {
            m_dcb = DCB{};
            m_dcb.DCBlength = sizeof m_dcb;
            m_dcb.BaudRate = CBR_9600;
            m_dcb.ByteSize = 8;
        }
        // Raw bytes both ways: no flow control, no replaced or dropped characters; the link
        // does its own handshake through RTS when it needs one.
        m_dcb.fBinary = TRUE;
        m_dcb.fOutxCtsFlow = FALSE;
        m_dcb.fOutxDsrFlow = FALSE;
        m_dcb.fDsrSensitivity = FALSE;
        m_dcb.fOutX = FALSE;
        m_dcb.fInX = FALSE;
        m_dcb.fErrorChar = FALSE;
        m_dcb.fNull = FALSE;
        m_dcb.fAbortOnError = FALSE;
        m_dcb.fDtrControl = DTR_CONTROL_DISABLE;
        m_dcb.fRtsControl = RTS_CONTROL_DISABLE;
        apply();
        SetupComm(m_handle, 16384, 4096);
        setReadTimeout(1);
    }
    ~Win32PortIo() override
    {
        if (t_openPort == this)
            t_openPort = nullptr;
        CloseHandle(m_handle);
    }

    quint32 setBaudRate(quint32 baud) override
    {
        m_dcb.BaudRate = baud;
        apply();
        DCB readBack{};
        readBack.DCBlength = sizeof readBack;
        return GetCommState(m_handle, &readBack) ? quint32(readBack.BaudRate) : 0;
    }
    void setByteSize(quint8 bits) override
    {
        m_dcb.ByteSize = BYTE(qBound(5, int(bits), 8));
        apply();
    }
    void setParity(quint8 parity) override
    {
        // The codes are Windows' own: NOPARITY, ODDPARITY, EVENPARITY, MARKPARITY, SPACEPARITY.
        m_dcb.Parity = parity <= SPACEPARITY ? BYTE(parity) : BYTE(NOPARITY);
        m_dcb.fParity = m_dcb.Parity != NOPARITY;
        apply();
    }
    void setStopBits(quint8 code) override
    {
        m_stopBitsCode = code == kOneStopBit || code == kOneAndHalfStopBits ? code : quint8(kTwoStopBits);
        m_dcb.StopBits = code == kOneStopBit ? ONESTOPBIT : code == kOneAndHalfStopBits ? ONE5STOPBITS : TWOSTOPBITS;
        apply();
    }
    // Kept in the line settings as well: every SetCommState sets the lines as they say.
    void setDtr(bool on) override
    {
        m_dcb.fDtrControl = on ? DTR_CONTROL_ENABLE : DTR_CONTROL_DISABLE;
        EscapeCommFunction(m_handle, on ? SETDTR : CLRDTR); // refused on some ports: carry on
    }
    void setRts(bool on) override
    {
        m_dcb.fRtsControl = on ? RTS_CONTROL_ENABLE : RTS_CONTROL_DISABLE;
        EscapeCommFunction(m_handle, on ? SETRTS : CLRRTS);
    }
    void purgeRx() override
    {
        m_held.clear();
        PurgeComm(m_handle, PURGE_RXCLEAR | PURGE_RXABORT);
    }
    void purgeTx() override { PurgeComm(m_handle, PURGE_TXCLEAR | PURGE_TXABORT); }

    void write(const QByteArray &bytes) override
    {
        // Returns when the driver has taken every byte, or when the write time-out (set with
        // the read time-outs) ends a line that does not move; the answer that then never comes
        // ends the exchange.
        const char *data = bytes.constData();
        qsizetype left = bytes.size();
        while (left > 0) {
            DWORD written = 0;
            if (!WriteFile(m_handle, data, DWORD(left), &written, nullptr) || written == 0)
                return;
            data += written;
            left -= qsizetype(written);
        }
    }

    int read(char *buffer, int max) override
    {
        int n = 0;
        if (!m_held.isEmpty()) {
            n = int(qMin<qsizetype>(max, m_held.size()));
            memcpy(buffer, m_held.constData(), size_t(n));
            m_held.remove(0, n);
        }
        if (n < max) {
            // Only what the driver already holds, so that ReadFile returns at once.
            const DWORD queued = queuedBytes();
            DWORD got = 0;
            if (queued > 0 && ReadFile(m_handle, buffer + n, qMin<DWORD>(DWORD(max - n), queued), &got, nullptr))
                n += int(got);
        }
        return n;
    }

    void waitForBytes(int timeoutMs) override
    {
        if (!m_held.isEmpty() || timeoutMs <= 0 || queuedBytes() > 0)
            return;
        // One byte asked for: ReadFile returns as soon as it has come, or empty when timeoutMs
        // have passed. The bytes after it are taken by read() from the driver's queue.
        setReadTimeout(DWORD(timeoutMs));
        char byte = 0;
        DWORD got = 0;
        if (!ReadFile(m_handle, &byte, 1, &got, nullptr)) {
            // A port that failed (unplugged) answers at once; wait out the time like a silent
            // one instead of letting the caller spin until its deadline.
            Sleep(DWORD(timeoutMs));
            return;
        }
        if (got == 1)
            m_held.append(byte);
    }

    // The bytes that us microseconds bring on the line, waited for in ReadFile: it returns once
    // they have come, at once when the driver holds them already, and after us at the latest.
    void awaitLineTime(qint64 us)
    {
        const qint64 byteUs =
            lineByteTimeUs(quint32(m_dcb.BaudRate), m_dcb.ByteSize, m_dcb.Parity != NOPARITY, m_stopBitsCode);
        const int wanted = byteUs > 0 ? int(qMin<qint64>(us / byteUs, kMaxAwaitedBytes)) : 0;
        const int fromDriver = wanted - int(m_held.size());
        if (fromDriver <= 0 || DWORD(fromDriver) <= queuedBytes())
            return;
        setReadTimeout(DWORD((us + 999) / 1000));
        char buffer[kMaxAwaitedBytes];
        DWORD got = 0;
        if (!ReadFile(m_handle, buffer, DWORD(fromDriver), &got, nullptr)) {
            // A port that failed (unplugged): the time passes as it would have on the line.
            steadyClock().sleepUs(us);
            return;
        }
        m_held.append(buffer, qsizetype(got));
    }

private:
    void apply() { SetCommState(m_handle, &m_dcb); }

    DWORD queuedBytes() const
    {
        DWORD errors = 0;
        COMSTAT status{};
        return ClearCommError(m_handle, &errors, &status) ? status.cbInQue : 0;
    }

    // A read ends when its count has come or ms have passed since it began (no interval time-out,
    // Windows' and Wine's reading alike). Set only when it changes: each frame waits by a few
    // time-outs in turn, and each change is a call into the driver.
    void setReadTimeout(DWORD ms)
    {
        ms = qMax<DWORD>(ms, 1); // 0 everywhere would be a read without any time-out
        if (ms == m_readTimeoutMs)
            return;
        COMMTIMEOUTS t{};
        t.ReadIntervalTimeout = 0;
        t.ReadTotalTimeoutMultiplier = 0;
        t.ReadTotalTimeoutConstant = ms;
        // A frame is a few hundred bytes; a line that takes more than this does not move.
        t.WriteTotalTimeoutMultiplier = 1;
        t.WriteTotalTimeoutConstant = 2000;
        if (SetCommTimeouts(m_handle, &t))
            m_readTimeoutMs = ms;
    }

    HANDLE m_handle;
    DCB m_dcb{};
    quint8 m_stopBitsCode = kTwoStopBits;
    // Bytes a wait has already taken from the driver, handed out by the next read.
    QByteArray m_held;
    DWORD m_readTimeoutMs = 0; // 0: not set yet
};

// The steady clock whose microsecond sleeps wait in the thread's open port.
class LineClock final : public Clock
{
public:
    qint64 nowMs() override { return steadyClock().nowMs(); }
    // The link's pauses (between attempts) are not waits for bytes.
    void sleepMs(int ms) override { steadyClock().sleepMs(ms); }
    void sleepUs(qint64 us) override
    {
        if (us <= 0)
            return;
        if (t_openPort)
            t_openPort->awaitLineTime(us);
        else
            steadyClock().sleepUs(us);
    }
};

} // namespace

Clock &systemLinkClock()
{
    static LineClock clock;
    return clock;
}

std::unique_ptr<SerialPortIo> SerialPortIo::open(const QString &node, const QString &portLabel)
{
    const HANDLE h = CreateFileW(deviceName(node).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND)
            return nullptr;
        // Held by another program, or refused for a reason only the system's code tells (a
        // driver that fails, a device that went away half-way): the code goes with the message.
        ErrorContext context;
        context.port = portLabel;
        context.windowsCode = quint32(code);
        context.systemMessage = windowsErrorMessage(code);
        if (heldByAnother(code))
            throw Error(ErrorKind::PortBusy, portInUseText(portLabel), context);
        throw Error(ErrorKind::PortDenied, permissionDeniedText(portLabel), context);
    }
    return std::make_unique<Win32PortIo>(h);
}

QString permissionDeniedText(const QString &portLabel)
{
    return QStringLiteral("Windows не даёт открыть порт %1. Закройте программы, которые могут работать с ним, "
                          "и повторите; если не поможет, переподключите МК или перезагрузите компьютер.")
        .arg(portLabel);
}

QString portInUseText(const QString &portLabel)
{
    return QStringLiteral("Порт %1 занят другой программой (терминалом, другой программой настройки или "
                          "диагностики). Закройте её и повторите.")
        .arg(portLabel);
}

PortOpening tryOpeningNode(const QString &node, int *systemCode)
{
    const HANDLE h = CreateFileW(deviceName(node).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD code = h == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    if (systemCode)
        *systemCode = int(code);
    if (h != INVALID_HANDLE_VALUE) {
        CloseHandle(h);
        return PortOpening::Open;
    }
    return heldByAnother(code) ? PortOpening::InUse : PortOpening::Other;
}

} // namespace mk
