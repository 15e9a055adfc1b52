// SPDX-License-Identifier: GPL-3.0-or-later
// The device's output queue: what each way of delivery hands over, and when, on made-up times.

#include "base/Error.h"
#include "sim/PacedLine.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>
#include <random>

namespace mk::test {
namespace {

constexpr qint64 kByteNs = 100'000; // a byte time of 100 µs keeps the figures readable

struct Delivered
{
    qint64 at;
    QByteArray bytes;
};

// Wakes exactly when the line says the next delivery is due, as the server does.
std::vector<Delivered> runOnTime(PacedLine &line)
{
    std::vector<Delivered> out;
    while (!line.idle()) {
        const qint64 t = line.nextDeliveryNs();
        out.push_back({t, line.take(t)});
    }
    return out;
}

QByteArray joined(const std::vector<Delivered> &parts)
{
    QByteArray all;
    for (const Delivered &d : parts)
        all += d.bytes;
    return all;
}

TEST(PacedLine, EachDeliveryHandsOverItsOwnPieces)
{
    const QByteArray answer = QByteArray("0123456789");
    struct Row
    {
        const char *delivery;
        std::vector<std::pair<double, int>> expected; // (when, in byte times after the start; bytes)
    };
    const Row rows[] = {
        {"byte", {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}, {7, 1}, {8, 1}, {9, 1}, {10, 1}}},
        {"packet:4", {{4, 4}, {8, 4}, {10, 2}}},
        {"packet", {{10, 10}}},
        // The bridge ticks every 350 µs and hands over what finished by then (a byte finishing
        // on a tick goes with it).
        {"chunk:350", {{3.5, 3}, {7, 4}, {10.5, 3}}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.delivery);
        PacedLine line(kByteNs, Delivery::parse(QString::fromLatin1(row.delivery)));
        line.enqueue(answer, 0);
        EXPECT_TRUE(line.take(kByteNs - 1).isEmpty()); // nothing before the first byte is through
        const std::vector<Delivered> got = runOnTime(line);
        ASSERT_EQ(got.size(), row.expected.size());
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].at, qint64(row.expected[i].first * double(kByteNs))) << i;
            EXPECT_EQ(got[i].bytes.size(), row.expected[i].second) << i;
        }
        EXPECT_EQ(joined(got), answer);
    }
}

TEST(PacedLine, AnAnswerDueWhileTheLineIsBusyFollowsTheOneOnIt)
{
    // A late answer due at 150 ms, the retry's answer due while it is still going out.
    const QByteArray late(38, 'L'), retry(38, 'R');
    for (const char *delivery : {"byte", "packet", "chunk:1000"}) {
        SCOPED_TRACE(delivery);
        PacedLine line(kByteNs, Delivery::parse(QString::fromLatin1(delivery)));
        line.enqueue(late, 150'000'000);
        line.enqueue(retry, 151'000'000);
        const std::vector<Delivered> got = runOnTime(line);
        EXPECT_EQ(joined(got), late + retry);
        // The retry's answer starts on the line only when the late one has finished.
        const qint64 lateDone = 150'000'000 + 38 * kByteNs, retryDone = lateDone + 38 * kByteNs;
        EXPECT_GE(got.back().at, retryDone);
        for (const Delivered &d : got)
            if (d.bytes.contains('R')) {
                EXPECT_GE(d.at, lateDone + kByteNs);
            }
    }
    // Without pacing each answer goes whole when it is due, still in order.
    PacedLine fast(0, Delivery{});
    fast.enqueue(late, 150);
    fast.enqueue(retry, 100);
    EXPECT_EQ(fast.take(149), QByteArray());
    EXPECT_EQ(fast.take(150), late + retry);
}

TEST(PacedLine, EveryDeliveryGivesTheSameBytesInOrderAndNoneEarly)
{
    std::mt19937 random(5);
    for (const char *delivery : {"byte", "packet", "packet:7", "chunk:1000", "chunk:130"}) {
        SCOPED_TRACE(delivery);
        PacedLine line(kByteNs, Delivery::parse(QString::fromLatin1(delivery)));
        QByteArray sent, got;
        qint64 now = 0, lineFree = 0;
        // Answers queued at random, taken at random (late) wake-ups as well as on time.
        std::vector<qint64> through; // when each byte has finished on the line
        for (int round = 0; round < 200; ++round) {
            if (random() % 3 == 0) {
                QByteArray answer(1 + int(random() % 80), '\0');
                for (char &c : answer)
                    c = char(random());
                const qint64 start = now + qint64(random() % 5'000'000);
                line.enqueue(answer, start);
                qint64 t = std::max(start, lineFree);
                for (qsizetype i = 0; i < answer.size(); ++i)
                    through.push_back(t + kByteNs * (i + 1));
                lineFree = t + kByteNs * answer.size();
                sent += answer;
            }
            now += random() % 2 ? qint64(random() % 3'000'000) : 0;
            if (!line.idle() && random() % 2)
                now = std::max(now, line.nextDeliveryNs());
            const QByteArray part = line.take(now);
            for (qsizetype i = 0; i < part.size(); ++i)
                EXPECT_LE(through[size_t(got.size() + i)], now); // never before it is through the line
            got += part;
        }
        for (const Delivered &d : runOnTime(line))
            got += d.bytes;
        EXPECT_EQ(got, sent);
    }
}

TEST(PacedLine, DeliveryIsChecked)
{
    EXPECT_EQ(Delivery::parse(QStringLiteral("packet")).packetSize, 64);
    EXPECT_EQ(Delivery::parse(QStringLiteral("chunk:250")).name(), QStringLiteral("chunk:250"));
    for (const char *bad : {"", "bytes", "byte:1", "packet:0", "packet:x", "chunk", "chunk:0", "chunk:2000000"})
        EXPECT_THROW(Delivery::parse(QString::fromLatin1(bad)), Error) << bad;
}

} // namespace
} // namespace mk::test
