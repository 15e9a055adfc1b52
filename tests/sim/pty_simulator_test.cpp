// SPDX-License-Identifier: GPL-3.0-or-later
// The pseudo-terminal server's line: answers in order, a late one holding up those after it,
// duplicates and stray bytes as they are, in every way of delivery. Read raw, without the
// port code, so that every byte that reaches the terminal is seen.

#include "sim/PtySimulator.h"
#include "sim/SimulatedDevice.h"
#include "support/LinkFixture.h"
#include "support/PtyDevice.h"

#include <gtest/gtest.h>

namespace mk::test {
namespace {

QByteArray readBlock(quint16 block)
{
    return framed(QByteArray::fromHex("08FC0100 05") + char(block & 0xFF) + char(block >> 8));
}

QByteArray patternMemory()
{
    QByteArray m(8192, '\0');
    for (int i = 0; i < m.size(); ++i)
        m[i] = char(i * 5 + i / 97);
    return m;
}

TEST(PtySimulator, AnswersLeaveInOrderWhateverTheirFaultsAndDelivery)
{
    const DeviceConfig config{0xFC, 1, 8192};
    SimulatedDevice clean(config, patternMemory());
    const QByteArray late = *clean.answer(readBlock(7)), twice = *clean.answer(readBlock(9)),
                     strayed = *clean.answer(readBlock(11)), plain = *clean.answer(readBlock(13));
    struct Row
    {
        const char *delivery;
        int lineRate;
    };
    for (const Row row : {Row{"byte", 0}, Row{"byte", 115200}, Row{"packet", 115200}, Row{"packet:5", 115200},
                          Row{"chunk:1000", 115200}, Row{"chunk:150", 57600}}) {
        SCOPED_TRACE(std::string(row.delivery) + " at " + std::to_string(row.lineRate));
        SimulatedDevice device(config, patternMemory());
        device.setFaultChooser([](const QByteArray &request) -> std::optional<Fault> {
            switch (request[5]) {
            case 7: return Fault::Late;
            case 9: return Fault::Duplicate;
            case 11: return Fault::Stray;
            default: return std::nullopt;
            }
        });
        PtySimulatorOptions options;
        options.lineRate = row.lineRate;
        options.delivery = Delivery::parse(QString::fromLatin1(row.delivery));
        PtySimulator sim(device, options);
        sim.start();
        RawTerminal terminal(sim.slavePath());
        ASSERT_TRUE(terminal.isOpen());

        // The late answer is still to come when the next requests arrive: the device takes
        // them, and their answers follow the late one.
        terminal.write(readBlock(7));
        terminal.write(readBlock(9) + readBlock(11));
        terminal.write(readBlock(13));
        const QByteArray got = terminal.read(int(late.size() + 2 * twice.size() + 1 + strayed.size() + plain.size()));
        ASSERT_EQ(got.size(), late.size() + 2 * twice.size() + 1 + strayed.size() + plain.size());
        QByteArray expected = late + twice + twice + got.at(late.size() + 2 * twice.size()) + strayed + plain;
        EXPECT_EQ(got, expected);
        EXPECT_EQ(sim.requestCount(), 4u);
        EXPECT_TRUE(terminal.read(1, 50).isEmpty()); // nothing more
    }
}

} // namespace
} // namespace mk::test
