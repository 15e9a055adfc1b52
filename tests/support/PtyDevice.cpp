#include "support/PtyDevice.h"

#include "link/PortMap.h"
#include "model/FactoryImage.h"

namespace mk::test {

namespace {

DeviceConfig configFor(quint8 address, quint16 modelCode)
{
    return DeviceConfig{address, modelCode, memorySizeForAddress(address)};
}

QByteArray factoryMemory(quint8 address, quint16 modelCode, quint32 version)
{
    const int size = memorySizeForAddress(address);
    QByteArray memory = memoryFromImage(makeFactoryImage(modelCode, version, size), size);
    // Something the program never reads in the two blocks it skips.
    memory.replace(0, 32, QByteArray(32, char(0xEE)));
    memory.replace(size / 2, 32, QByteArray(32, char(0xDD)));
    return memory;
}

} // namespace

PtyDevice::PtyDevice(quint8 address, quint16 modelCode, quint32 settingsVersion, QByteArray memory)
    : device(configFor(address, modelCode),
             memory.isEmpty() ? factoryMemory(address, modelCode, settingsVersion) : memory),
      sim(device)
{
    sim.start();
    port = 29;
    setPortOverride(port, sim.slavePath());
    link = std::make_unique<TKW_RS>();
    link->OpenPort(port);
    link->ClosePort();
}

PtyDevice::~PtyDevice()
{
    link.reset();
    sim.stop();
    setPortOverride(port, {});
}

std::vector<std::pair<int, int>> requestWords(const std::vector<QByteArray> &requests, quint8 command)
{
    std::vector<std::pair<int, int>> words;
    for (const QByteArray &r : requests) {
        if (quint8(r[4]) != command)
            continue;
        const auto w = [&r](int at) { return r.size() > at + 2 ? quint8(r[at]) | (quint8(r[at + 1]) << 8) : -1; };
        words.emplace_back(w(5), w(7));
    }
    return words;
}

} // namespace mk::test
