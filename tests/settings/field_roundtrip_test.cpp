// SPDX-License-Identifier: GPL-3.0-or-later
// Every row of the field table, every stored value in its range: the shown text, parsed and
// stored again, gives the same bytes. And every bit pattern at all shows something, quickly.

#include "base/Error.h"
#include "base/Text.h"
#include "image/TMK.h"
#include "settings/FieldTable.h"
#include "support/FieldTypeLimits.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <algorithm>
#include <cmath>

using namespace mk;
using namespace mk::test;

namespace {

QStringList someItems(int n)
{
    QStringList items;
    for (int i = 0; i < n; ++i)
        items << QStringLiteral("item %1").arg(i);
    return items;
}

// The model contexts that decide ranges and item lists.
std::vector<FieldContext> contexts()
{
    FieldContext plain;
    plain.protocolNames = someItems(5);
    plain.selectMethods = someItems(3);
    plain.tankMethItems = someItems(4);
    for (QStringList &list : plain.subTypeItems)
        list = someItems(3);
    FieldContext supply24 = plain;
    supply24.flags.Supply24V = true;
    FieldContext thousands = plain;
    thousands.flags.ServiceInThousands = true;
    thousands.flags.NoDSSwitch = true;
    thousands.flags.SecondTank = true;
    return {plain, supply24, thousands};
}

void putInt(Record &rec, const FieldDef &def, qint64 v)
{
    const std::vector<FieldByte> bytes = fieldBytes(def);
    for (size_t i = 0; i < bytes.size(); ++i)
        rec.setU8(bytes[i].offset, quint8(quint64(v) >> (8 * i)));
}

// Integers from lo to hi; long ranges are sampled (both ends and a stride through the middle).
std::vector<qint64> span(qint64 lo, qint64 hi)
{
    std::vector<qint64> values;
    const qint64 stride = qMax<qint64>(1, (hi - lo) / 5000);
    for (qint64 v = lo; v <= hi; v += stride)
        values.push_back(v);
    if (values.empty() || values.back() != hi)
        values.push_back(hi);
    return values;
}

// Writes each stored value of the field's range into the record in turn and calls check().
template<typename Check>
void forEachStoredValue(const FieldDef &def, const FieldContext &ctx, TMK &tmk, Check check)
{
    Record &rec = tmk.record(def.section);
    const FieldRange r = rangeOf(def, ctx);
    switch (def.conversion) {
    case Conversion::Scaled:
    case Conversion::ServiceCounter: {
        const double scale =
            def.conversion == Conversion::Scaled ? def.scale : (ctx.flags.ServiceInThousands ? 10.0 : 1.0);
        const qint64 lo = r.bounded ? qint64(std::ceil(r.min * scale - 1e-9)) : typeMin(def.type);
        const qint64 hi = r.bounded ? qint64(std::floor(r.max * scale + 1e-9)) : typeMax(def.type);
        for (qint64 v : span(lo, hi)) {
            // The calibration points of the universal input may not be equal.
            if (def.partner && v == rec.s16(fieldDef(*def.partner).offset))
                continue;
            putInt(rec, def, v);
            check(QString::number(v));
        }
        return;
    }
    case Conversion::CorrectionFactor:
        // What the control can store: one decimal of percent across its range.
        for (qint64 tenths = qint64(std::lround(r.min * 10)); tenths <= qint64(std::lround(r.max * 10)); ++tenths) {
            rec.setF32(def.offset, float(1.0 + double(tenths) / 1000.0));
            check(QString::number(double(tenths) / 10));
        }
        return;
    case Conversion::ItemIndex:
    case Conversion::ProtocolIndex:
        for (int i = 0; i < itemsOf(def, ctx).size(); ++i) {
            putInt(rec, def, i + def.param);
            check(QString::number(i));
        }
        return;
    case Conversion::Checked:
        for (int v : {0, 1}) {
            putInt(rec, def, v);
            check(QString::number(v));
        }
        return;
    case Conversion::FlagBit:
    case Conversion::ServiceUseBit:
        for (quint64 word : {quint64(0), ~quint64(0), quint64(0x5A5A5A5A5A5A5A5A)}) {
            for (bool set : {false, true}) {
                const FieldByte b = fieldBytes(def).front();
                for (int i = 0; i < 8 && def.offset + i < rec.size(); ++i)
                    rec.setU8(def.offset + i, quint8(word >> (8 * i)));
                rec.setU8(b.offset, set ? rec.u8(b.offset) | b.bits : rec.u8(b.offset) & ~b.bits);
                // Clearing a service flag clears bits 12..15 as well: a word in range has them
                // clear whenever one of its flags is clear.
                if (def.conversion == Conversion::ServiceUseBit && !set)
                    rec.setU16(def.offset, rec.u16(def.offset) & 0x0FFF);
                check(QStringLiteral("word %1 bit %2").arg(word).arg(set));
            }
        }
        return;
    case Conversion::AlarmFirst:
    case Conversion::AlarmNext:
        for (int high : {0x00, 0xC0})
            for (int f = 0; f < 5; ++f)
                for (int n = 0; n < 5; ++n) {
                    if (!def.partner && n != f)
                        continue; // an alarm with one group announces the same way every time
                    rec.setU8(def.offset, quint8(high | f | (n << 3)));
                    check(QStringLiteral("%1 %2").arg(f).arg(n));
                }
        return;
    case Conversion::ForsCoef:
        for (int v : {1, 2, 4}) {
            rec.setU8(def.offset, quint8(v));
            check(QString::number(v));
        }
        return;
    case Conversion::DayNumber:
        for (qint64 v = kFirstDayNumber; v <= kLastDayNumber; ++v) {
            rec.setU32(def.offset, quint32(v));
            check(QString::number(v));
        }
        return;
    case Conversion::Minutes:
        for (int v = 0; v < 24 * 60; ++v) {
            rec.setU16(def.offset, quint16(v));
            check(QString::number(v));
        }
        return;
    case Conversion::Text:
        for (const QString &text : {QString(), QStringLiteral("Трим"), QStringLiteral("ТО форсунки"),
                                    QString(def.param - 1, QLatin1Char('z'))}) {
            rec.setRaw(def.offset, toWin1251Z(text, def.param));
            check(text);
        }
        return;
    }
}

} // namespace

TEST(FieldRoundTrip, EveryStoredValueSurvivesItsShownText)
{
    for (const FieldContext &ctx : contexts()) {
        for (const FieldDef &def : fieldTable()) {
            TMK tmk;
            int checked = 0;
            forEachStoredValue(def, ctx, tmk, [&](const QString &what) {
                const Record before = tmk.record(def.section);
                const QString text = fieldText(def, loadField(def, tmk, ctx), ctx);
                try {
                    storeField(def, tmk, parseFieldText(def, text, ctx), ctx);
                } catch (const Error &e) {
                    ADD_FAILURE() << def.name.toStdString() << " " << what.toStdString() << ": \"" << text.toStdString()
                                  << "\" refused: " << e.text().toStdString();
                    return;
                }
                ++checked;
                if (tmk.record(def.section) != before)
                    ADD_FAILURE() << def.name.toStdString() << " stored " << what.toStdString() << " shown as \""
                                  << text.toStdString() << "\" comes back different";
                tmk.record(def.section) = before;
            });
            EXPECT_GT(checked, 0) << def.name.toStdString();
        }
    }
}

// Any bytes at all: every field shows a text (dates and times outside their range as invalid)
// and nothing loops on the stored value.
TEST(FieldRoundTrip, EveryBitPatternShows)
{
    struct Day
    {
        quint32 stored;
        const char *text;
    };
    const Day days[] = {{0, "--.--.--"},         {1, "--.--.--"},          {2, "01.01.00"},
                        {366, "30.12.00"},       {367, "01.01.01"},        {36525, "31.12.99"},
                        {36526, "--.--.--"},     {0x7FFFFFFF, "--.--.--"}, {0x80000000, "--.--.--"},
                        {0xFFFFFFFF, "--.--.--"}};
    const FieldDef &to = *findField(QStringLiteral("TO"));
    for (const Day &d : days) {
        TMK tmk;
        tmk.record(4).setU32(to.offset, d.stored);
        EXPECT_EQ(loadField(to, tmk, {}).toString(), QString::fromLatin1(d.text)) << d.stored;
    }
    const FieldDef &day = *findField(QStringLiteral("IntenseDayTime"));
    for (auto [stored, text] : {std::pair{0, "00:00"},
                                {1439, "23:59"},
                                {1445, "00:05"},
                                {32767, "18:07"},
                                {-1, "--:--"},
                                {-32768, "--:--"}}) {
        TMK tmk;
        tmk.record(9).setU16(day.offset, quint16(stored));
        EXPECT_EQ(loadField(day, tmk, {}).toString(), QString::fromLatin1(text)) << stored;
    }

    QRandomGenerator random(17);
    for (const FieldContext &ctx : contexts()) {
        for (int pattern = 0; pattern < 6; ++pattern) {
            TMK tmk;
            for (int k = 0; k <= 10; ++k) {
                QByteArray &bytes = tmk.record(k).bytes();
                for (qsizetype i = 0; i < bytes.size(); ++i)
                    bytes[i] = char(pattern == 0   ? 0x00
                                    : pattern == 1 ? 0xFF
                                    : pattern == 2 ? 0x80
                                    : pattern == 3 ? 0x7F
                                                   : int(random.bounded(256)));
            }
            for (const FieldDef &def : fieldTable()) {
                const QString text = fieldText(def, loadField(def, tmk, ctx), ctx);
                if (def.kind != ControlKind::Edit) {
                    EXPECT_FALSE(text.isEmpty()) << def.name.toStdString() << " pattern " << pattern;
                }
            }
        }
    }
}

// Storing a value changes only the bits the field says it owns (what comparisons, change marks
// and resets look at): any other changed bit would be invisible to them.
TEST(FieldRoundTrip, EveryStoreStaysInsideItsBits)
{
    QRandomGenerator random(29);
    for (const FieldContext &ctx : contexts()) {
        for (const FieldDef &def : fieldTable()) {
            // Two stores change more on purpose: a new protocol resets the sub-types, and clearing a
            // service flag clears the word's bits 12..15.
            if (def.conversion == Conversion::ServiceUseBit || def.name == QLatin1String("Protocol"))
                continue;
            TMK source;
            int tried = 0;
            forEachStoredValue(def, ctx, source, [&](const QString &what) {
                if (++tried > 40)
                    return;
                const QString text = fieldText(def, loadField(def, source, ctx), ctx);
                TMK target;
                QByteArray &bytes = target.record(def.section).bytes();
                for (qsizetype i = 0; i < bytes.size(); ++i)
                    bytes[i] = char(random.bounded(256));
                const Record before = target.record(def.section);
                try {
                    storeField(def, target, parseFieldText(def, text, ctx), ctx);
                } catch (const Error &) {
                    return; // refused against the random neighbours (e.g. equal ADC points)
                }
                QByteArray owned(bytes.size(), '\0');
                for (const FieldByte &b : fieldBytes(def))
                    owned[b.offset] = char(quint8(owned[b.offset]) | b.bits);
                for (qsizetype i = 0; i < bytes.size(); ++i) {
                    const int stray = (quint8(before.bytes()[i]) ^ quint8(bytes[i])) & ~quint8(owned[i]);
                    if (stray != 0)
                        ADD_FAILURE() << def.name.toStdString() << " " << what.toStdString() << " changed bits 0x"
                                      << std::hex << stray << " of byte " << std::dec << i << " it does not own";
                }
            });
        }
    }
}

// Every byte value inside a name: it shows as some character, an unchanged store keeps every byte
// (one with no character, the bytes after the end), and a byte whose character the device shows
// is stored from its text as itself; the others are refused, never turned into '?'.
TEST(FieldRoundTrip, EveryByteOfANameSurvives)
{
    const FieldDef &def = *std::find_if(fieldTable().begin(), fieldTable().end(),
                                        [](const FieldDef &d) { return d.conversion == Conversion::Text; });
    const FieldContext ctx = contexts().front();
    for (int b = 1; b < 256; ++b) {
        TMK tmk;
        QByteArray area(def.param, char(0x98)); // bytes after the end, one without a character
        area.replace(0, 4, QByteArray("A") + char(b) + "Z" + '\0');
        tmk.record(def.section).setRaw(def.offset, area);
        const Record before = tmk.record(def.section);
        const QString text = fieldText(def, loadField(def, tmk, ctx), ctx);
        ASSERT_EQ(text.size(), 3) << b;
        storeField(def, tmk, parseFieldText(def, text, ctx), ctx);
        EXPECT_TRUE(tmk.record(def.section) == before) << b;

        TMK fresh;
        const bool storable = b >= 0x20 && b != 0x7F && b != 0x98;
        EXPECT_EQ(firstUnstorableChar(text), storable ? -1 : 1) << b;
        if (!storable) {
            EXPECT_THROW(storeField(def, fresh, parseFieldText(def, text, ctx), ctx), Error) << b;
            continue;
        }
        storeField(def, fresh, parseFieldText(def, text, ctx), ctx);
        EXPECT_EQ(fresh.record(def.section).raw(def.offset, 4), area.left(4)) << b;
    }
}
