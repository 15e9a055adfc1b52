// The real port code (QSerialPort on a pseudo-terminal) against the simulated device.

#include "link/PortMap.h"
#include "link/PtySimulator.h"
#include "link/SimulatedDevice.h"
#include "link/TKW_RS.h"
#include "model/Error.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace mk::test {
namespace {

QByteArray patternMemory(int size)
{
    QByteArray m(size, '\0');
    for (int i = 0; i < size; ++i)
        m[i] = char((i * 7 + i / 256) & 0xFF);
    return m;
}

TEST(PtyLink, IdentifyAndBlockReadThroughTheSerialPort)
{
    SimulatedDevice device({0xFE, 0x8002, 32768}, patternMemory(32768));
    PtySimulator sim(device);
    sim.start();
    setPortOverride(31, sim.slavePath());

    TKW_RS link;
    ASSERT_TRUE(link.PortPresent(31));
    link.OpenPort(31);
    ASSERT_TRUE(link.IsOpen()); // the refused DTR of a pseudo-terminal does not stop it
    EXPECT_EQ(link.PortNumber(), 31);
    EXPECT_EQ(link.BaudRate(), 115200u);
    link.SetFirstByteTimeout(100);

    link.CommandExchange(0xFE, 1);
    link.GetByte();
    EXPECT_EQ(link.GetWord(), 0x8002);

    link.BeginCommand(0xFE, 5);
    link.PutWord(600);
    link.Exchange();
    EXPECT_EQ(link.GetBytes(32), patternMemory(32768).mid(600 * 32, 32));

    // Another address gets no answer.
    EXPECT_THROW(link.CommandExchange(0xFC, 1), Error);
    link.ClosePort();
    setPortOverride(31, {});
}

} // namespace
} // namespace mk::test
