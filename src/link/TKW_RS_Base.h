#pragma once
// The one serial port of the program: which of the ports 1..32 exist, opening one with the
// fixed line settings (115200 baud, 8 data bits, no parity, two stop bits), the baud rate,
// DTR/RTS, purges, and the port number kept in the ini file under "RS232"/"Port".
// The port is opened at the start of an exchange and closed at its end, on the thread that
// runs the exchange.

#include "link/FrameCodec.h"
#include "link/PortBackend.h"

#include <QString>
#include <array>
#include <memory>

class QSettings;

namespace mk {

constexpr quint32 kLinkBaudRate = 115200;

class TKW_RS_Base : public TKWBaseInterface
{
public:
    explicit TKW_RS_Base(std::shared_ptr<PortBackend> backend = systemPortBackend());
    ~TKW_RS_Base() override;
    TKW_RS_Base(const TKW_RS_Base &) = delete;
    TKW_RS_Base &operator=(const TKW_RS_Base &) = delete;

    // Probes ports 1..32 (closing the open port first); returns how many are present.
    int ScanPorts();
    // The lowest present port, or 0.
    int FirstPort() const;
    // Selects port n (the first present port when n is absent) and opens it with the stored
    // line settings, DTR raised and the receive queue purged. n <= 0 changes nothing.
    // Throws Error "Нет свободного COM-порта!" when no port is present, and Error when the
    // user may not open the port. Any other failure leaves the port closed silently; the next
    // exchange then reports no link.
    void OpenPort(int n);
    // true: OpenPort with PortNumber; false: ClosePort.
    void Reopen(bool open);
    void ClosePort();

    // Applies b; BaudRate then holds what the driver accepted.
    void SetBaudRate(quint32 b);
    void SetByteSize(quint8 v);
    void SetParity(quint8 v);
    void SetStopBits(quint8 v);
    void SetDTR();
    void SetRTS();
    void ClearRTS();
    void PurgeRx();
    void PurgeTx();

    // Key "Port" in the group SectionName; loading opens the stored port.
    void LoadSettings(QSettings &ini);
    void SaveSettings(QSettings &ini) const;

    int PortCount() const { return m_portCount; }
    bool PortPresent(int n) const { return n >= 1 && n <= kMaxPorts && m_portPresent[size_t(n)]; }
    bool IsOpen() const { return m_isOpen; }
    int PortNumber() const { return m_portNumber; }
    quint32 BaudRate() const { return m_baudRate; }
    quint8 ByteSize() const { return m_byteSize; }
    quint8 Parity() const { return m_parity; }
    quint8 StopBits() const { return m_stopBits; }
    const QString &SectionName() const { return m_sectionName; }
    // How messages and lists name port n ("COM3 (/dev/ttyACM0)" on Linux).
    QString portLabel(int n) const { return m_backend->label(n); }
    // How the port list names it ("COM3 — /dev/ttyACM0" on Linux).
    QString portDisplayName(int n) const { return m_backend->displayName(n); }
    // The device's stable name leading to port n ("/dev/mk-0"), or empty.
    QString portDeviceLink(int n) const { return m_backend->deviceLink(n); }

    PortBackend &backend() const { return *m_backend; }
    Clock &clock() const { return m_backend->clock(); }

protected:
    static constexpr int kMaxPorts = 32;
    // The open port, or null.
    PortIo *port() const { return m_isOpen ? m_port.get() : nullptr; }
    void setLineDefaults();

    QString m_sectionName = QStringLiteral("RS232Base");
    int m_portCount = 0;
    std::array<bool, kMaxPorts + 1> m_portPresent{};
    bool m_isOpen = false;
    int m_portNumber = 0;
    quint32 m_baudRate = 0;
    quint8 m_byteSize = 0;
    quint8 m_parity = 0;
    quint8 m_stopBits = 0;

private:
    std::shared_ptr<PortBackend> m_backend;
    std::unique_ptr<PortIo> m_port;
};

} // namespace mk
