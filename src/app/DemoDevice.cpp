#include "app/DemoDevice.h"

#include "base/Error.h"
#include "image/FactoryImage.h"
#include "link/LinkTexts.h"
#include "link/PortMap.h"
#include "sim/PtySimulator.h"
#include "sim/SimulatedDevice.h"

namespace mk {

namespace {

constexpr quint8 kDemoAddress = 0xFC;

} // namespace

DemoDevice::DemoDevice(quint16 modelCode, quint32 settingsVersion)
{
    DeviceConfig config;
    config.address = kDemoAddress;
    config.modelCode = modelCode;
    config.memorySize = memorySizeForAddress(kDemoAddress);
    const QByteArray image = makeFactoryImage(modelCode, settingsVersion, config.memorySize);
    m_device = std::make_unique<SimulatedDevice>(config, memoryFromImage(image, config.memorySize));
    m_simulator = std::make_unique<PtySimulator>(*m_device);
    m_simulator->start();
    m_port = assignPortForNode(m_simulator->slavePath());
    if (m_port == 0)
        throw Error(kNoFreePortText);
}

DemoDevice::~DemoDevice()
{
    if (m_port)
        setPortOverride(m_port, QString());
    m_simulator->stop();
}

QString DemoDevice::node() const { return m_simulator->slavePath(); }

DeviceSearchSource DemoDevice::searchSource() const
{
    DeviceSearchSource source;
    const QString slave = node();
    source.serialNodes = [slave] {
        SerialNodeInfo info;
        info.node = slave;
        info.vendorId = kDeviceUsbVendor;
        info.productId = kDeviceUsbProduct;
        info.description = kDeviceMarker + QStringLiteral(" МК (имитатор)");
        info.manufacturer = kDeviceMarker;
        return QList<SerialNodeInfo>{info};
    };
    return source;
}

} // namespace mk
