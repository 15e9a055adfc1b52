// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DemoDevice.h"

#include "image/FactoryImage.h"
#include "link/LinkTexts.h"
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
    m_line = startDemoLine(*m_device);
}

DemoDevice::~DemoDevice() = default;

DeviceSearchSource DemoDevice::searchSource() const
{
    DeviceSearchSource source;
    const QString node = m_line->node();
    source.serialNodes = [node] {
        SerialNodeInfo info;
        info.node = node;
        info.vendorId = kDeviceUsbVendor;
        info.productId = kDeviceUsbProduct;
        info.description = kDeviceMarker + QStringLiteral(" МК (имитатор)");
        info.manufacturer = kDeviceMarker;
        return QList<SerialNodeInfo>{info};
    };
    return source;
}

} // namespace mk
