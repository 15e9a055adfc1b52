// SPDX-License-Identifier: GPL-3.0-or-later
// The request/answer protocol on a scripted port and a virtual clock.

#include "base/Error.h"
#include "link/DeviceRequest.h"
#include "link/LinkTexts.h"
#include "support/ErrorText.h"
#include "support/LinkFixture.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace mk::test {
namespace {

const QByteArray kIdentifyAnswer = framed(hex("09 FC 01 00 01 01 02 80"));

TEST(LinkProtocol, IdentifyRequestBytesAndAnswerValues)
{
    ScriptedLink s({TimedReply{kIdentifyAnswer, {}}});
    s.protocol().CommandExchange(0xFC, 1);
    ASSERT_EQ(s.port->requests().size(), 1u);
    EXPECT_EQ(s.port->requests()[0], hex("06 FC 01 00 01 FC"));
    EXPECT_EQ(s.frame().RxPos(), 5);
    EXPECT_EQ(s.frame().GetByte(), 0x01);
    EXPECT_EQ(s.frame().GetWord(), 0x8002);
}

struct FailureRow
{
    const char *name;
    std::optional<TimedReply> reply;
    QString message;
};

void PrintTo(const FailureRow &row, std::ostream *os) { *os << row.name; }

class LinkFailure : public ::testing::TestWithParam<FailureRow>
{};

TEST_P(LinkFailure, GivesItsMessageAfterThreeSends)
{
    const FailureRow &row = GetParam();
    ScriptedLink s({row.reply, row.reply, row.reply, TimedReply{kIdentifyAnswer, {}}});
    s.protocol().SetFirstByteTimeout(100);
    EXPECT_EQ(errorTextOf([&] { s.protocol().CommandExchange(0xFC, 1); }), row.message);
    EXPECT_EQ(s.requestsSeen, 3);
    // A failed answer never becomes readable.
    EXPECT_THROW(s.frame().GetByte(), Error);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LinkFailure,
    ::testing::Values(FailureRow{"silence", std::nullopt, kNoLinkText},
                      FailureRow{"lengthFive", TimedReply{framed(hex("05 FC 01 00")), {}}, kNoLinkText},
                      FailureRow{"lengthZero", TimedReply{hex("00 00 00 00 00 00"), {}}, kNoLinkText},
                      FailureRow{"badChecksum", TimedReply{hex("06 FC 01 00 01 FD"), {}},
                                 kExchangeErrorText + QStringLiteral("(0)")},
                      FailureRow{"zeroHeader", TimedReply{framed(hex("06 00 00 00 01")), {}},
                                 kExchangeErrorText + QStringLiteral("(4)")},
                      FailureRow{"busy", TimedReply{hex("06 FC 01 00 FF FE"), {}}, kBusyText},
                      FailureRow{"byteMissing", TimedReply{hex("09 FC 01 00 01 01 02"), {}}, kInterByteText}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(LinkProtocol, AnAnswerOfAnotherShapeThanExpectedIsRefusedRetriedAndKept)
{
    // A read-block answer and an identify answer echoing another command are another request's.
    const QByteArray blockAnswer = framed(hex("26 FC 01 00 05") + QByteArray(32, '\x11'));
    const QByteArray otherEcho = framed(hex("09 FC 01 00 05 01 02 80"));
    for (const auto &[answer, message] : {std::pair{blockAnswer, kExchangeErrorText + QStringLiteral("(0)")},
                                          std::pair{otherEcho, kExchangeErrorText + QStringLiteral("(4)")}}) {
        ScriptedLink s({TimedReply{answer, {}}, TimedReply{answer, {}}, TimedReply{answer, {}}});
        s.protocol().SetFirstByteTimeout(100);
        beginDeviceRequest(s.frame(), 0xFC, command::kIdentify);
        EXPECT_EQ(errorTextOf([&] { s.protocol().Exchange(); }), message);
        EXPECT_EQ(s.protocol().refusedAnswers(), 3u);
        EXPECT_EQ(s.protocol().lastRefusedAnswer(), answer);
    }
    ScriptedLink s({TimedReply{blockAnswer, {}}, TimedReply{kIdentifyAnswer, {}}});
    s.protocol().SetFirstByteTimeout(100);
    beginDeviceRequest(s.frame(), 0xFC, command::kIdentify);
    s.protocol().Exchange();
    EXPECT_EQ(s.requestsSeen, 2);
    s.frame().GetByte();
    EXPECT_EQ(s.frame().GetWord(), 0x8002);
    // Without an expectation any shape is taken, as before.
    ScriptedLink any({TimedReply{blockAnswer, {}}});
    any.protocol().CommandExchange(0xFC, 1);
    EXPECT_EQ(any.protocol().refusedAnswers(), 0u);
}

TEST(LinkProtocol, RetryAfterFiftyMillisecondsRecovers)
{
    ScriptedLink s({std::nullopt, TimedReply{kIdentifyAnswer, {}}});
    s.protocol().SetFirstByteTimeout(100);
    const qint64 t0 = s.clock().nowMs();
    s.protocol().CommandExchange(0xFC, 1);
    EXPECT_EQ(s.requestsSeen, 2);
    // One first-byte wait of 100 ms, the 50 ms pause, then 100 ms of quiet line before the retry.
    EXPECT_EQ(s.clock().nowMs() - t0, 250);
    EXPECT_EQ(s.frame().GetByte(), 1);
}

TEST(LinkProtocol, FirstByteDeadlineCountsTheRequestsLineTimeAndIsInclusive)
{
    // A request with 12 argument bytes has its checksum at index 17: round(9600/115200*17) = 1 ms.
    const auto exchangeWithFirstByteAt = [](qint64 at) {
        ScriptedLink s({TimedReply::paced(kIdentifyAnswer, at, 0)});
        s.protocol().SetFirstByteTimeout(100);
        s.frame().BeginCommand(0xFC, 1);
        for (int i = 0; i < 12; ++i)
            s.frame().PutByte(0);
        return errorTextOf([&] { s.protocol().ExchangeOnce(); });
    };
    EXPECT_EQ(exchangeWithFirstByteAt(101), QString());
    EXPECT_EQ(exchangeWithFirstByteAt(102), kNoLinkText);
    EXPECT_EQ(exchangeWithFirstByteAt(1), QString());
}

TEST(LinkProtocol, InterByteDeadlineIsInclusive)
{
    const auto exchangeWithGap = [](qint64 gap) {
        ScriptedLink s({TimedReply::paced(kIdentifyAnswer, 0, gap)});
        return errorTextOf([&] {
            s.frame().BeginCommand(0xFC, 1);
            s.protocol().ExchangeOnce();
        });
    };
    EXPECT_EQ(exchangeWithGap(200), QString());
    EXPECT_EQ(exchangeWithGap(201), kInterByteText);
}

TEST(LinkProtocol, AbsentDeviceCostsThreeWaitsAndTwoPauses)
{
    ScriptedLink s;
    const qint64 t0 = s.clock().nowMs();
    EXPECT_EQ(errorTextOf([&] { s.protocol().CommandExchange(0xFC, 1); }), kNoLinkText);
    // Each retry waits for a quiet line (one first-byte time-out, at most half a second) after
    // the 50 ms pause.
    EXPECT_EQ(s.clock().nowMs() - t0, 3 * 1000 + 2 * (50 + 500));
}

// Identify answers told apart by their model code.
QByteArray identifyAnswer(quint16 model)
{
    return framed(hex("09 FC 01 00 01 01") + QByteArray(1, char(model & 0xFF)) + QByteArray(1, char(model >> 8)));
}

quint16 identifyModel(ScriptedLink &s)
{
    s.protocol().SetFirstByteTimeout(100);
    s.protocol().CommandExchange(0xFC, 1);
    s.frame().GetByte();
    return s.frame().GetWord();
}

TEST(LinkProtocol, AnAnswerAfterTheTimeOutIsNeverTakenForTheNextRequest)
{
    // The first request is answered 300 ms late, after the retry went out; the retry's own
    // answer follows it on the line. Neither may become the answer to the next request.
    for (const qint64 lateMs : {101, 160, 250, 300, 350}) {
        SCOPED_TRACE(lateMs);
        ScriptedLink s({TimedReply::paced(identifyAnswer(0x0A01), lateMs, 0),
                        TimedReply::paced(identifyAnswer(0x0A02), 1, 0), TimedReply{identifyAnswer(0x0B00), {}},
                        TimedReply{identifyAnswer(0x0C00), {}}});
        const quint16 first = identifyModel(s);
        EXPECT_TRUE(first == 0x0A01 || first == 0x0A02) << first;
        const quint64 disturbed = s.protocol().disturbances();
        EXPECT_GE(disturbed, 1u);
        EXPECT_EQ(identifyModel(s), 0x0B00);
        EXPECT_EQ(identifyModel(s), 0x0C00);
    }
}

TEST(LinkProtocol, DuplicatedAndStrayBytesAreCountedAndNeverReadAsAnswers)
{
    // An answer sent twice: the copy is waiting when the next request goes out.
    ScriptedLink twice(
        {TimedReply{identifyAnswer(0x0A01) + identifyAnswer(0x0A01), {}}, TimedReply{identifyAnswer(0x0B00), {}}});
    EXPECT_EQ(identifyModel(twice), 0x0A01);
    EXPECT_EQ(twice.link->protocol().disturbances(), 0u);
    EXPECT_EQ(identifyModel(twice), 0x0B00);
    EXPECT_EQ(twice.link->protocol().disturbances(), 9u);

    // A stray byte before the answer spoils it; the retry, after a quiet line, gets the answer.
    ScriptedLink stray({TimedReply{hex("07") + identifyAnswer(0x0A01), {}}, TimedReply{identifyAnswer(0x0A01), {}},
                        TimedReply{identifyAnswer(0x0B00), {}}});
    EXPECT_EQ(identifyModel(stray), 0x0A01);
    EXPECT_EQ(identifyModel(stray), 0x0B00);
    EXPECT_GE(stray.link->protocol().disturbances(), 2u);
}

TEST(LinkProtocol, DrainingALineThatNeverGoesQuietEnds)
{
    // A device stuck sending: a byte every 10 ms for a minute.
    ScriptedLink s({TimedReply::paced(QByteArray(6000, '\x01'), 0, 10)});
    s.protocol().SetFirstByteTimeout(100);
    EXPECT_THROW(s.protocol().CommandExchange(0xFC, 1), Error);
    const qint64 t0 = s.clock().nowMs();
    s.protocol().drainLine();
    EXPECT_LE(s.clock().nowMs() - t0, 5 * 100);
}

TEST(LinkProtocol, ValueEncodingsBothWays)
{
    ScriptedLink s({TimedReply{framed(hex("14 FC 01 00 05 34 12 78 56 34 12 00 00 C0 3F 41 42 00 07")), {}}});
    s.frame().BeginCommand(0xFC, 5);
    s.frame().PutWord(0x1234);
    s.frame().PutLongInt(-2);
    s.frame().PutSingle(1.5f);
    s.protocol().Exchange();
    EXPECT_EQ(s.port->requests()[0].mid(5, 10), hex("34 12 FE FF FF FF 00 00 C0 3F"));
    EXPECT_EQ(s.frame().GetWord(), 0x1234);
    EXPECT_EQ(s.frame().GetLongInt(), 0x12345678);
    EXPECT_EQ(s.frame().GetSingle(), 1.5f);
    EXPECT_EQ(s.frame().GetString(), QStringLiteral("AB"));
    EXPECT_EQ(s.frame().RxPos(), 18);
    EXPECT_EQ(s.frame().GetByte(), 7);
    // The checksum is not a value: reading on is refused, not answered with stale bytes.
    EXPECT_THROW(s.frame().GetByte(), Error);
}

TEST(LinkProtocol, StringWithoutTerminatorAndPastTheAnswerAreErrors)
{
    ScriptedLink s(
        {TimedReply{framed(hex("08 FC 01 00 01 41 42")), {}}, TimedReply{framed(hex("07 FC 01 00 01 34")), {}}});
    s.protocol().CommandExchange(0xFC, 1);
    EXPECT_THROW(s.frame().GetString(), Error);
    s.protocol().CommandExchange(0xFC, 1);
    EXPECT_THROW(s.frame().GetWord(), Error);
    EXPECT_EQ(s.frame().RxPos(), 5); // a refused read does not move on
    EXPECT_EQ(s.frame().GetByte(), 0x34);
}

// The frame alone, without a port: what the receiver hands in is readable only once accepted,
// and a new answer makes the old one unreadable before any of its bytes arrive.
TEST(Frame, BuildsAndReadsWithoutAPort)
{
    Frame frame;
    frame.BeginCommand(0xFC, 1);
    frame.CloseFrame();
    EXPECT_EQ(frame.request(), hex("06 FC 01 00 01 FC"));
    EXPECT_EQ(frame.TxLen(), 5);

    const QByteArray answer = kIdentifyAnswer;
    std::copy(answer.begin(), answer.end(), frame.beginAnswer());
    EXPECT_THROW(frame.GetByte(), Error); // received, not yet accepted
    frame.acceptAnswer();
    EXPECT_TRUE(frame.CheckReply());
    EXPECT_EQ(frame.answer(), answer);
    EXPECT_EQ(frame.GetByte(), 0x01);
    EXPECT_EQ(frame.GetWord(), 0x8002);
    EXPECT_EQ(frame.beginAnswer()[0], 0);
    EXPECT_THROW(frame.GetByte(), Error);
}

TEST(LinkProtocol, RequestLongerThan255BytesIsRefusedBeforeSending)
{
    ScriptedLink s;
    s.frame().BeginCommand(0xFC, 4);
    for (int i = 0; i < 249; ++i)
        s.frame().PutByte(quint8(i));
    EXPECT_THROW(s.frame().PutByte(0), Error);
    s.frame().CloseFrame();
    EXPECT_EQ(s.frame().TxBuf()[0], 255);
    EXPECT_TRUE(s.port->requests().empty());
}

TEST(LinkProtocol, HalfDuplexKeysRtsAroundTheWriteAndSkipsTheEcho)
{
    ScriptedLink s({TimedReply::paced(kIdentifyAnswer, 1, 0)});
    s.port->setEcho(true);
    s.protocol().SetPortType(kPortRs485WithEcho);
    const qint64 t0 = s.clock().nowMs();
    s.protocol().CommandExchange(0xFC, 1);
    EXPECT_EQ(s.frame().GetByte(), 1);
    EXPECT_EQ(s.frame().GetWord(), 0x8002);
    QStringList events = s.port->events();
    events.removeAll(QStringLiteral("purge rx"));
    EXPECT_EQ(
        events.mid(events.size() - 3),
        (QStringList{QStringLiteral("rts on"), QStringLiteral("write 06 fc 01 00 01 fc"), QStringLiteral("rts off")}));
    EXPECT_GE(s.clock().nowMs() - t0, 20); // the pause before a half-duplex exchange
}

TEST(LinkProtocol, PortTypeOutOfRangeFallsBackToRs232)
{
    ScriptedLink s;
    s.protocol().SetPortType(5);
    EXPECT_EQ(s.protocol().PortType(), 0);
    s.protocol().SetPortType(1);
    EXPECT_EQ(s.protocol().PortType(), 1);
}

} // namespace
} // namespace mk::test
