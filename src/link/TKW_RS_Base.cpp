#include "link/TKW_RS_Base.h"

#include "link/LinkTexts.h"
#include "base/Error.h"

#include <QSettings>

namespace mk {

TKW_RS_Base::TKW_RS_Base(std::shared_ptr<PortBackend> backend) : m_backend(std::move(backend))
{
    ScanPorts();
    // Without any port the fields stay zero; OpenPort reports the missing port when asked.
    if (m_portCount > 0) {
        m_portNumber = FirstPort();
        setLineDefaults();
    }
}

TKW_RS_Base::~TKW_RS_Base()
{
    ClosePort();
}

void TKW_RS_Base::setLineDefaults()
{
    m_baudRate = kLinkBaudRate;
    m_byteSize = 8;
    m_parity = 0;
    m_stopBits = kTwoStopBits;
}

int TKW_RS_Base::ScanPorts()
{
    ClosePort();
    m_portCount = 0;
    for (int n = 1; n <= kMaxPorts; ++n) {
        m_portPresent[size_t(n)] = m_backend->probe(n);
        if (m_portPresent[size_t(n)])
            ++m_portCount;
    }
    return m_portCount;
}

int TKW_RS_Base::FirstPort() const
{
    for (int n = 1; n <= kMaxPorts; ++n)
        if (m_portPresent[size_t(n)])
            return n;
    return 0;
}

void TKW_RS_Base::OpenPort(int n)
{
    if (n <= 0)
        return;
    m_portNumber = PortPresent(n) ? n : FirstPort();
    if (m_portNumber == 0)
        throw Error(kNoFreePortText);
    ClosePort();
    m_port = m_backend->open(m_portNumber);
    if (!m_port)
        return;
    // The port is usable from here on; the settings below go to the driver.
    m_isOpen = true;
    SetBaudRate(m_baudRate);
    SetByteSize(m_byteSize);
    SetParity(m_parity);
    SetStopBits(m_stopBits);
    SetDTR();
    PurgeRx();
}

void TKW_RS_Base::Reopen(bool open)
{
    if (open)
        OpenPort(m_portNumber);
    else
        ClosePort();
}

void TKW_RS_Base::ClosePort()
{
    m_port.reset();
    m_isOpen = false;
}

void TKW_RS_Base::SetBaudRate(quint32 b)
{
    m_baudRate = b;
    if (PortIo *p = port()) {
        const quint32 readBack = p->setBaudRate(b);
        if (readBack != 0)
            m_baudRate = readBack;
    }
}

void TKW_RS_Base::SetByteSize(quint8 v)
{
    m_byteSize = v;
    if (PortIo *p = port())
        p->setByteSize(v);
}

void TKW_RS_Base::SetParity(quint8 v)
{
    m_parity = v;
    if (PortIo *p = port())
        p->setParity(v);
}

void TKW_RS_Base::SetStopBits(quint8 v)
{
    m_stopBits = v;
    if (PortIo *p = port())
        p->setStopBits(v);
}

void TKW_RS_Base::SetDTR()
{
    if (PortIo *p = port())
        p->setDtr(true);
}

void TKW_RS_Base::SetRTS()
{
    if (PortIo *p = port())
        p->setRts(true);
}

void TKW_RS_Base::ClearRTS()
{
    if (PortIo *p = port())
        p->setRts(false);
}

void TKW_RS_Base::PurgeRx()
{
    if (PortIo *p = port())
        p->purgeRx();
}

void TKW_RS_Base::PurgeTx()
{
    if (PortIo *p = port())
        p->purgeTx();
}

void TKW_RS_Base::LoadSettings(QSettings &ini)
{
    ini.beginGroup(m_sectionName);
    const int n = ini.value(QStringLiteral("Port"), m_portNumber).toInt();
    ini.endGroup();
    OpenPort(n);
}

void TKW_RS_Base::SaveSettings(QSettings &ini) const
{
    ini.beginGroup(m_sectionName);
    ini.setValue(QStringLiteral("Port"), m_portNumber);
    ini.endGroup();
}

} // namespace mk
