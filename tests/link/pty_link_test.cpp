// SPDX-License-Identifier: GPL-3.0-or-later
// The real port code (QSerialPort on a pseudo-terminal) against the simulated device.

#include "base/Error.h"
#include "link/DeviceExchange.h"
#include "link/PortMap.h"
#include "link/TKW_RS.h"
#include "sim/PtySimulator.h"
#include "sim/SimulatedDevice.h"
#include "support/PtyDevice.h"
#include "support/QtPrinters.h"

#include <atomic>
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
    link.port().ScanPorts();
    ASSERT_TRUE(link.port().PortPresent(31));
    link.port().OpenPort(31);
    ASSERT_TRUE(link.port().IsOpen()); // the refused DTR of a pseudo-terminal does not stop it
    EXPECT_EQ(link.port().PortNumber(), 31);
    EXPECT_EQ(link.port().BaudRate(), 115200u);
    link.protocol().SetFirstByteTimeout(100);

    link.protocol().CommandExchange(0xFE, 1);
    link.frame().GetByte();
    EXPECT_EQ(link.frame().GetWord(), 0x8002);

    link.frame().BeginCommand(0xFE, 5);
    link.frame().PutWord(600);
    link.protocol().Exchange();
    EXPECT_EQ(link.frame().GetBytes(32), patternMemory(32768).mid(600 * 32, 32));

    // Another address gets no answer.
    EXPECT_THROW(link.protocol().CommandExchange(0xFC, 1), Error);
    link.port().ClosePort();
    setPortOverride(31, {});
}

TEST(PtyLink, ALateAnswerNeverShiftsARead)
{
    // One block's first answer comes late, at delays around the 100 ms time-out and the retry
    // 50 ms after it; the device answers the retry too, after the late answer.
    struct Row
    {
        int lateMs;
        int lineRate;
        const char *delivery;
    };
    for (const Row row : {Row{120, 0, "byte"}, Row{160, 0, "byte"}, Row{250, 0, "byte"}, Row{350, 0, "byte"},
                          Row{250, 115200, "packet"}}) {
        SCOPED_TRACE(std::to_string(row.lateMs) + " ms late, " + row.delivery + " at " + std::to_string(row.lineRate));
        PtySimulatorOptions options;
        options.lineRate = row.lineRate;
        options.delivery = Delivery::parse(QString::fromLatin1(row.delivery));
        PtyDevice d(0xFC, 0x0101, 3, patternMemory(8192), options);
        std::atomic<bool> struck{false};
        d.device.setFaultChooser(
            [&struck](const QByteArray &r) -> std::optional<Fault> {
                if (quint8(r[4]) != 5 || quint8(r[5]) != 60 || struck.exchange(true))
                    return std::nullopt;
                return Fault::Late;
            },
            row.lateMs);
        RecordingProgress progress;
        try {
            const std::optional<DeviceImage> got = readDevice(*d.link, progress);
            ASSERT_TRUE(got);
            EXPECT_EQ(got->image, imageFromMemory(d.device.memory()));
        } catch (const Error &e) {
            ADD_FAILURE() << "one late answer made the read fail: " << e.text().toStdString();
        }
        EXPECT_TRUE(struck);
    }
}

} // namespace
} // namespace mk::test
