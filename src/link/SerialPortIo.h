#pragma once
// The real port: a serial device node (or pseudo-terminal) through QSerialPort.
// The object lives and dies on the thread that opened it, like the exchange that uses it.

#include "link/PortIo.h"

#include <QString>
#include <memory>

class QSerialPort;

namespace mk {

class SerialPortIo : public PortIo
{
public:
    ~SerialPortIo() override;

    // Opens the node for reading and writing. Returns null when the node cannot be opened
    // (absent); throws Error when the user lacks the right to open it or another program
    // holds it.
    // portLabel names the port in messages ("COM3 (/dev/ttyACM0)").
    static std::unique_ptr<SerialPortIo> open(const QString &node, const QString &portLabel);

    quint32 setBaudRate(quint32 baud) override;
    void setByteSize(quint8 bits) override;
    void setParity(quint8 parity) override;
    void setStopBits(quint8 code) override;
    void setDtr(bool on) override;
    void setRts(bool on) override;
    void purgeRx() override;
    void purgeTx() override;
    void write(const QByteArray &bytes) override;
    int read(char *buffer, int max) override;
    void waitForBytes(int timeoutMs) override;

private:
    explicit SerialPortIo(std::unique_ptr<QSerialPort> port);
    std::unique_ptr<QSerialPort> m_port;
};

// What the system says when the node is opened and closed again at once: Qt reports a
// permission error both for a refusal and for a port another program holds, and the user needs
// different advice for the two.
enum class PortOpening { Open, Forbidden, InUse, Other };
PortOpening tryOpeningNode(const QString &node);

// The message for a port the user may not open.
QString permissionDeniedText(const QString &portLabel);
// The message for a port another program has open.
QString portInUseText(const QString &portLabel);

} // namespace mk
