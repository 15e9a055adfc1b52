// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/FieldTable.h"

#include "base/Error.h"
#include "base/Text.h"
#include "image/ImageLayout.h"
#include "image/RecordLayout.h"
#include "image/TMK.h"

#include <cmath>
#include <limits>
#include <optional>

namespace mk {

namespace {

// The bits of the vehicle flags word that other fields read.
constexpr int kVirtualLockBit = 0;
constexpr int kGabaritFromEcuBit = 5;
// Protocol sub-types of section 10, started afresh with a new protocol.
constexpr LayoutRow kSubTypeRuns[] = {layout::kProtSubTypes, layout::kProtSubTypesMore};
// CntKUse: bits 12..15 go with any cleared flag.
constexpr quint64 kServiceUseClearMask = 0xF000;
constexpr int kAlarmModeBits = 3;
constexpr int kAlarmModeMask = 7;
constexpr int kAlarmModesMask = 0x3F; // both modes of an alarm byte

int typeWidth(FieldType type)
{
    switch (type) {
    case FieldType::Int8:
    case FieldType::UInt8: return 1;
    case FieldType::Int16:
    case FieldType::UInt16: return 2;
    case FieldType::Int32:
    case FieldType::UInt32:
    case FieldType::Float32: return 4;
    case FieldType::UInt64: return 8;
    case FieldType::Bytes: return 0;
    }
    return 0;
}

// The stored integer, sign-extended for the signed types.
qint64 readInt(const Record &rec, const FieldDef &def)
{
    switch (def.type) {
    case FieldType::Int8: return rec.s8(def.offset);
    case FieldType::UInt8: return rec.u8(def.offset);
    case FieldType::Int16: return rec.s16(def.offset);
    case FieldType::UInt16: return rec.u16(def.offset);
    case FieldType::Int32: return rec.s32(def.offset);
    case FieldType::UInt32: return rec.u32(def.offset);
    case FieldType::UInt64: return qint64(rec.u64(def.offset));
    case FieldType::Float32:
    case FieldType::Bytes: break;
    }
    return 0;
}

quint64 readWord(const Record &rec, const FieldDef &def)
{
    switch (typeWidth(def.type)) {
    case 1: return rec.u8(def.offset);
    case 2: return rec.u16(def.offset);
    case 4: return rec.u32(def.offset);
    case 8: return rec.u64(def.offset);
    }
    return 0;
}

void writeWord(Record &rec, const FieldDef &def, quint64 v)
{
    switch (typeWidth(def.type)) {
    case 1: rec.setU8(def.offset, quint8(v)); break;
    case 2: rec.setU16(def.offset, quint16(v)); break;
    case 4: rec.setU32(def.offset, quint32(v)); break;
    case 8: rec.setU64(def.offset, v); break;
    }
}

// Checks a converted value against the range of the field's type and stores it.
void writeInt(Record &rec, const FieldDef &def, qint64 v)
{
    qint64 lo = 0, hi = 0;
    switch (def.type) {
    case FieldType::Int8:
        lo = -128;
        hi = 127;
        break;
    case FieldType::UInt8:
        lo = 0;
        hi = 255;
        break;
    case FieldType::Int16:
        lo = -32768;
        hi = 32767;
        break;
    case FieldType::UInt16:
        lo = 0;
        hi = 65535;
        break;
    case FieldType::Int32:
        lo = std::numeric_limits<qint32>::min();
        hi = std::numeric_limits<qint32>::max();
        break;
    case FieldType::UInt32:
        lo = 0;
        hi = std::numeric_limits<quint32>::max();
        break;
    default: throw RangeError();
    }
    if (v < lo || v > hi)
        throw RangeError(QStringLiteral("значение"), v, lo, hi);
    writeWord(rec, def, quint64(v));
}

// round(x): to the nearest integer, ties to even; anything beyond 64 bits is out of every range.
qint64 roundToInt(double x)
{
    if (!std::isfinite(x) || std::fabs(x) > 9.0e18)
        throw RangeError();
    return qint64(std::nearbyint(x));
}

bool bitOf(quint64 word, int bit) { return (word >> bit) & 1u; }

int itemIndexOf(const QVariant &value)
{
    bool ok = false;
    const int index = value.toInt(&ok);
    if (!ok)
        throw RangeError();
    return index;
}

Error conversionError(const QString &text)
{
    return Error(QStringLiteral("\"%1\" не является допустимым значением.").arg(text));
}

// Two digits at position pos of the text, or -1.
int twoDigitsAt(const QString &text, int pos)
{
    if (text.size() < pos + 2 || !text.at(pos).isDigit() || !text.at(pos + 1).isDigit())
        return -1;
    return text.mid(pos, 2).toInt();
}

int daysInMonth(int year, int month)
{
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && (year & 3) == 0 ? 29 : kDays[month - 1];
}

// "dd.mm.yy" as a day number; anything that is not a real date is refused.
int parseDate(const QString &text)
{
    const int day = twoDigitsAt(text, 0), month = twoDigitsAt(text, 3), year = twoDigitsAt(text, 6);
    if (text.size() != 8 || text.at(2) != QLatin1Char('.') || text.at(5) != QLatin1Char('.') || day < 0 || month < 0 ||
        year < 0 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month))
        throw conversionError(text);
    return dateToDayNumber({year, month, day});
}

// "hh:mm" as minutes since midnight; mask placeholders or an impossible time are refused.
int parseTime(const QString &text)
{
    const int hours = twoDigitsAt(text, 0), minutes = twoDigitsAt(text, 3);
    if (text.size() != 5 || text.at(2) != QLatin1Char(':') || hours < 0 || minutes < 0 || hours > 23 || minutes > 59)
        throw conversionError(text);
    return hours * 60 + minutes;
}

double roundTo(double x, int decimals)
{
    const double f = std::pow(10.0, decimals);
    return std::nearbyint(x * f) / f;
}

QString numberText(double v, int decimals) { return QString::number(roundTo(v, decimals), 'f', decimals); }

} // namespace

const FieldDef *findField(const QString &name)
{
    for (const FieldDef &def : fieldTable())
        if (def.name == name)
            return &def;
    return nullptr;
}

const FieldDef *findFieldByControl(const QString &control)
{
    for (const FieldDef &def : fieldTable())
        if (def.control == control)
            return &def;
    return nullptr;
}

QString labelOf(const FieldDef &def)
{
    switch (def.kind) {
    case ControlKind::SpinEdit:
    case ControlKind::ComboBox:
    case ControlKind::Edit:
    case ControlKind::DateEdit:
    case ControlKind::TimeEdit: return QLatin1Char('l') + def.name;
    case ControlKind::RadioGroup:
        if (def.conversion == Conversion::AlarmFirst)
            return QStringLiteral("l") + def.name.chopped(2); // "apVel_F" -> "lapVel"
        return {};
    case ControlKind::CheckBox: return {};
    }
    return {};
}

namespace {

// A flag that the model and its protocol decide; nullopt for the values of other fields.
std::optional<bool> contextFlag(Flag flag, const FieldContext &ctx)
{
    switch (flag) {
    case Flag::Always: return true;
#define MK_FEATURE_FLAG_CASE(name)                                                                                     \
    case Flag::name: return ctx.flags.name;
        MK_FEATURE_FLAGS(MK_FEATURE_FLAG_CASE)
#undef MK_FEATURE_FLAG_CASE
#define MK_PROTOCOL_FACT_CASE(name, member, rule)                                                                      \
    case Flag::name: return ctx.protocol.member;
        MK_PROTOCOL_FACTS(MK_PROTOCOL_FACT_CASE)
#undef MK_PROTOCOL_FACT_CASE
    case Flag::VirtualLock:
    case Flag::GabaritFromEcu:
    case Flag::InjectorMeasured:
    case Flag::X1Parameter:
    case Flag::CalibrationPoint: break;
    }
    return std::nullopt;
}

// A flag that the records decide; the per-row flags count as set.
bool recordFlag(Flag flag, const TMK &model)
{
    const auto flagsWord = [&] {
        return quint64(model.record(layout::kVehicleFlags.section).u32(layout::kVehicleFlags.offset));
    };
    switch (flag) {
    case Flag::VirtualLock: return bitOf(flagsWord(), kVirtualLockBit);
    case Flag::GabaritFromEcu: return bitOf(flagsWord(), kGabaritFromEcuBit);
    case Flag::InjectorMeasured: {
        // A non-zero measuring method measures from the injector.
        const auto method = [&](const LayoutRow &row) { return model.record(row.section).s8(row.offset); };
        return method(layout::kRevolutionsMeth) != 0 || method(layout::kExpenseMeth) != 0 ||
               method(layout::kGasMeth) != 0;
    }
    default: return true;
    }
}

// Whether the condition holds in the context alone: false when it needs the records.
bool contextHolds(Condition condition, const FieldContext &ctx)
{
    const std::optional<bool> flag = contextFlag(condition.flag, ctx);
    return flag && *flag == condition.set;
}

} // namespace

bool conditionHolds(Condition condition, const FieldContext &ctx, const TMK &model)
{
    const std::optional<bool> flag = contextFlag(condition.flag, ctx);
    return flag.value_or(recordFlag(condition.flag, model)) == condition.set;
}

FieldRange rangeOf(const FieldDef &def, const FieldContext &ctx)
{
    // Alternative ranges depend on the model and protocol only, never on record values.
    return contextHolds(def.altRangeWhen, ctx) ? def.altRange : def.range;
}

bool fieldShown(const FieldDef &def, const FieldContext &ctx, const TMK &model)
{
    if (def.binding == Binding::ProtocolPage && def.id != FieldId::ProtocolSelectMeth) {
        if (!conditionHolds(def.shown, ctx, model))
            return false;
        if (def.conversion != Conversion::ProtocolIndex)
            return !itemsOf(def, ctx).isEmpty(); // a sub-type selector the protocol does not use
        // The protocol list counts only when the last selection method (manual) is chosen.
        return !ctx.selectMethods.isEmpty() &&
               loadField(fieldDef(FieldId::ProtocolSelectMeth), model, ctx).toInt() == ctx.selectMethods.size() - 1;
    }
    if (def.shown.flag == Flag::X1Parameter)
        return (def.param < ctx.x1Names.size()) == def.shown.set;
    if (def.shown.flag == Flag::CalibrationPoint)
        return (def.param < model.record(layout::kOilCalibrQuant.section).u8(layout::kOilCalibrQuant.offset)) ==
               def.shown.set;
    return conditionHolds(def.shown, ctx, model);
}

QString captionOf(const FieldDef &def, const FieldContext &ctx)
{
    // A box past the protocol's list is not shown; a comparison still names it by its place.
    if (def.shown.flag == Flag::X1Parameter)
        return def.param < ctx.x1Names.size() && !ctx.x1Names.at(def.param).isEmpty()
                   ? ctx.x1Names.at(def.param)
                   : QStringLiteral("Параметр x1 №%1").arg(def.param);
    // The sub-type selectors are labelled by the protocol; without one, by what they choose.
    if (const std::optional<int> selector = protocolSubTypeSelector(def.id)) {
        const QString label = ctx.subTypeCaptions[size_t(*selector)];
        return !label.isEmpty() ? label
               : *selector == 0 ? QStringLiteral("Тип протокола")
                                : QStringLiteral("Тип протокола, доп. %1").arg(*selector);
    }
    // A reminder's "use" box stands in its counter's row, under the column "использ.".
    if (def.caption.isEmpty() && def.conversion == Conversion::ServiceUseBit)
        for (const ServiceReminderFields &reminder : kServiceReminderFields)
            if (reminder.use == def.id)
                return QStringLiteral("%1, использ.").arg(fieldDef(reminder.value).caption);
    // The next alarms' group stands in its first alarm's row, under the column "Последующие".
    if (def.caption.isEmpty() && def.conversion == Conversion::AlarmNext && def.partner)
        return QStringLiteral("%1, последующие").arg(fieldDef(*def.partner).caption);
    return !def.altCaption.isEmpty() && contextHolds(def.altRangeWhen, ctx) ? def.altCaption : def.caption;
}

QStringList itemsOf(const FieldDef &def, const FieldContext &ctx)
{
    if (def.conversion == Conversion::ProtocolIndex)
        return ctx.protocolNames;
    if (def.binding == Binding::ProtocolPage) {
        if (def.id == FieldId::ProtocolSelectMeth)
            return ctx.selectMethods;
        // Sub-type selectors: "ProtTypeMain" is selector 0, "ProtTypeAdd<n>" selector n.
        return ctx.subTypeItems[size_t(protocolSubTypeSelector(def.id).value_or(0))];
    }
    if (def.id == FieldId::TankMeth)
        return ctx.tankMethItems;
    QStringList items = def.items;
    if (def.id == FieldId::GasOilMeth && items.size() == 4) {
        // Items 2 and 3: the switch input exists only without NoDSSwitch, the second tank only with SecondTank.
        const QString tank2 = items.takeLast();
        if (ctx.flags.NoDSSwitch)
            items.removeLast();
        if (ctx.flags.SecondTank)
            items.append(tank2);
    }
    return items;
}

bool itemOffered(const FieldDef &def, int index, const FieldContext &ctx)
{
    // Items "М" and "Г" of the alarm groups need the speech output.
    constexpr int kFirstSpeechMode = 3;
    const bool alarm = def.conversion == Conversion::AlarmFirst || def.conversion == Conversion::AlarmNext;
    return !(alarm && ctx.flags.NoVoice && index >= kFirstSpeechMode);
}

QVariant loadField(const FieldDef &def, const TMK &model, const FieldContext &ctx)
{
    const Record &rec = model.record(def.section);
    switch (def.conversion) {
    case Conversion::Scaled: {
        const qint64 stored = readInt(rec, def);
        return double(def.pageValue ? def.pageValue(stored) : stored) / def.scale;
    }
    case Conversion::ServiceCounter: return double(readInt(rec, def)) / (ctx.flags.ServiceInThousands ? 10.0 : 1.0);
    case Conversion::CorrectionFactor: {
        const double f = rec.f32(def.offset);
        if (!std::isfinite(f))
            return 0.0;
        const double shifted = f >= 1 ? f + 0.00001 : f - 0.00001;
        return std::nearbyint((shifted - 1) * 1000) / 10;
    }
    case Conversion::ItemIndex:
    case Conversion::ProtocolIndex: return int(readInt(rec, def) - def.param);
    case Conversion::Checked: return readInt(rec, def) != 0;
    case Conversion::FlagBit:
    case Conversion::ServiceUseBit: {
        const bool set = bitOf(readWord(rec, def), def.param);
        return def.kind == ControlKind::RadioGroup ? QVariant(set ? 1 : 0) : QVariant(set);
    }
    case Conversion::AlarmFirst: return int(rec.u8(def.offset) & kAlarmModeMask);
    case Conversion::AlarmNext: return int((rec.u8(def.offset) >> kAlarmModeBits) & kAlarmModeMask);
    case Conversion::ForsCoef: {
        const int v = rec.u8(def.offset);
        return v == 1 ? 0 : v == 2 ? 1 : 2;
    }
    case Conversion::DayNumber: return dayNumberToText(rec.u32(def.offset));
    case Conversion::Minutes: return minutesToText(rec.s16(def.offset));
    case Conversion::Text: return fromWin1251Z(rec.raw(def.offset, def.param));
    }
    return {};
}

std::optional<qint64> storedUnshown(const FieldDef &def, const TMK &model)
{
    if (!def.pageValue || def.conversion != Conversion::Scaled)
        return std::nullopt;
    const qint64 stored = readInt(model.record(def.section), def);
    return def.pageValue(stored) == stored ? std::nullopt : std::optional<qint64>(stored);
}

void storeField(const FieldDef &def, TMK &model, const QVariant &value, const FieldContext &ctx)
{
    Record &rec = model.record(def.section);
    switch (def.conversion) {
    case Conversion::Scaled: {
        const qint64 stored = roundToInt(value.toDouble() * def.scale);
        if (def.partner) {
            // The two calibration points of the universal input must differ.
            const FieldDef &other = fieldDef(*def.partner);
            if (readInt(model.record(other.section), other) == stored)
                throw Error(ErrorKind::BadValue, QStringLiteral("Значения АЦП Мин и Макс должны различаться."));
        }
        writeInt(rec, def, stored);
        return;
    }
    case Conversion::ServiceCounter:
        writeInt(rec, def, roundToInt(value.toDouble() * (ctx.flags.ServiceInThousands ? 10.0 : 1.0)));
        return;
    case Conversion::CorrectionFactor: {
        const double v = value.toDouble();
        if (!std::isfinite(v))
            throw RangeError();
        rec.setF32(def.offset, float(1.0 + v / 100.0));
        return;
    }
    case Conversion::ItemIndex: writeInt(rec, def, qint64(itemIndexOf(value)) + def.param); return;
    case Conversion::ProtocolIndex: {
        const int index = itemIndexOf(value);
        if (index == readInt(rec, def))
            return;
        writeInt(rec, def, index);
        // A new protocol: remember it as the previous one and start its sub-types afresh.
        rec.setU16(layout::kPreviousProtocol.offset, quint16(index));
        for (const LayoutRow &run : kSubTypeRuns)
            for (int off = run.offset; off < run.end(); ++off)
                rec.setU8(off, 0);
        return;
    }
    case Conversion::Checked: writeInt(rec, def, value.toBool() ? 1 : 0); return;
    case Conversion::FlagBit:
    case Conversion::ServiceUseBit: {
        bool set = value.toBool();
        if (def.kind == ControlKind::RadioGroup) {
            const int index = itemIndexOf(value);
            if (index < 0 || index > 1)
                throw RangeError();
            set = index == 1;
        }
        quint64 word = readWord(rec, def);
        if (set)
            word |= quint64(1) << def.param;
        else
            word &=
                ~(quint64(1) << def.param) & ~(def.conversion == Conversion::ServiceUseBit ? kServiceUseClearMask : 0);
        writeWord(rec, def, word);
        return;
    }
    case Conversion::AlarmFirst:
    case Conversion::AlarmNext: {
        const int mode = itemIndexOf(value);
        if (mode < 0 || mode >= int(def.items.size()))
            throw RangeError();
        const quint8 old = rec.u8(def.offset);
        int first = old & kAlarmModeMask;
        int next = (old >> kAlarmModeBits) & kAlarmModeMask;
        if (def.conversion == Conversion::AlarmFirst)
            first = mode;
        else
            next = mode;
        // An alarm with one group announces the same way every time.
        if (!def.partner)
            next = first;
        // Bits 6 and 7 are no mode: they stay as the device put them.
        writeInt(rec, def, first + 8 * next + (old & ~kAlarmModesMask));
        return;
    }
    case Conversion::ForsCoef: {
        static const int kCoef[] = {1, 2, 4};
        const int index = itemIndexOf(value);
        if (index < 0 || index > 2)
            throw RangeError();
        writeInt(rec, def, kCoef[index]);
        return;
    }
    case Conversion::DayNumber: writeInt(rec, def, parseDate(value.toString())); return;
    case Conversion::Minutes: writeInt(rec, def, parseTime(value.toString())); return;
    case Conversion::Text: {
        const QString text = value.toString();
        // Unchanged text keeps its bytes, those without a character and after the end included.
        if (text == fromWin1251Z(rec.raw(def.offset, def.param)))
            return;
        checkStorableText(text);
        if (text.size() > def.param - 1)
            throw Error(ErrorKind::BadValue, QStringLiteral("Текст длиннее %1 символов.").arg(def.param - 1));
        rec.setRaw(def.offset, toWin1251Z(text, def.param));
        return;
    }
    }
}

std::vector<FieldByte> fieldBytes(const FieldDef &def)
{
    switch (def.conversion) {
    case Conversion::FlagBit:
    case Conversion::ServiceUseBit: return {{def.offset + def.param / 8, quint8(1u << (def.param % 8))}};
    // An alarm with one group stores its mode in both groups' bits.
    case Conversion::AlarmFirst: return {{def.offset, quint8(!def.partner ? kAlarmModesMask : kAlarmModeMask)}};
    case Conversion::AlarmNext: return {{def.offset, quint8(kAlarmModeMask << kAlarmModeBits)}};
    default: break;
    }
    const int width =
        def.type == FieldType::Bytes || def.conversion == Conversion::Text ? def.param : typeWidth(def.type);
    std::vector<FieldByte> bytes;
    for (int i = 0; i < width; ++i)
        bytes.push_back({def.offset + i, 0xFF});
    return bytes;
}

bool fieldBitsDiffer(const QByteArray &a, const QByteArray &b, const std::vector<FieldByte> &bytes)
{
    for (const FieldByte &fb : bytes)
        if (fb.offset < a.size() && fb.offset < b.size() && ((quint8(a[fb.offset]) ^ quint8(b[fb.offset])) & fb.bits))
            return true;
    return false;
}

void copyFieldBits(QByteArray &to, const QByteArray &from, const std::vector<FieldByte> &bytes)
{
    for (const FieldByte &fb : bytes)
        if (fb.offset < to.size() && fb.offset < from.size())
            to[fb.offset] = char((quint8(to[fb.offset]) & ~fb.bits) | (quint8(from[fb.offset]) & fb.bits));
}

QString fieldText(const FieldDef &def, const QVariant &value, const FieldContext &ctx)
{
    switch (def.kind) {
    case ControlKind::SpinEdit: return numberText(value.toDouble(), rangeOf(def, ctx).decimals);
    case ControlKind::RadioGroup:
    case ControlKind::ComboBox: {
        const QStringList items = itemsOf(def, ctx);
        const int index = value.toInt();
        if (index >= 0 && index < items.size())
            return items.at(index);
        return QString::number(index);
    }
    case ControlKind::CheckBox: return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case ControlKind::Edit:
    case ControlKind::DateEdit:
    case ControlKind::TimeEdit: return value.toString();
    }
    return {};
}

QVariant parseFieldText(const FieldDef &def, const QString &text, const FieldContext &ctx)
{
    switch (def.kind) {
    case ControlKind::SpinEdit: {
        bool ok = false;
        // The decimal comma, as the windows show numbers, or the point.
        QString typed = text.trimmed();
        if (!typed.contains(QLatin1Char('.')) && typed.count(QLatin1Char(',')) == 1)
            typed.replace(QLatin1Char(','), QLatin1Char('.'));
        const double v = typed.toDouble(&ok);
        if (!ok || !std::isfinite(v))
            throw conversionError(text);
        const FieldRange r = rangeOf(def, ctx);
        if (r.bounded && (v < r.min || v > r.max))
            throw Error(ErrorKind::BadValue, QStringLiteral("Значение должно быть от %1 до %2.")
                                                 .arg(numberText(r.min, r.decimals), numberText(r.max, r.decimals)));
        return roundTo(v, r.decimals);
    }
    case ControlKind::RadioGroup:
    case ControlKind::ComboBox: {
        // An item caption, or the item index when the list is not fixed.
        const QStringList items = itemsOf(def, ctx);
        bool ok = false;
        int index = int(items.indexOf(text));
        if (index < 0) {
            index = text.trimmed().toInt(&ok);
            ok = ok && index >= 0 && index < items.size();
        } else {
            ok = true;
        }
        if (ok && !itemOffered(def, index, ctx))
            throw Error(ErrorKind::BadValue,
                        QStringLiteral("Значение «%1» недоступно для этой модели МК: у неё нет речевых сообщений.")
                            .arg(items.at(index)));
        if (ok)
            return index;
        if (items.isEmpty())
            throw Error(QStringLiteral("Для этой модели и протокола здесь нечего выбрать."));
        throw Error(QStringLiteral("Допустимые значения: «%1».").arg(items.join(QStringLiteral("», «"))));
    }
    case ControlKind::CheckBox: {
        const QString t = text.trimmed().toLower();
        if (t == QLatin1String("1") || t == QLatin1String("true") || t == u"да")
            return true;
        if (t == QLatin1String("0") || t == QLatin1String("false") || t == u"нет")
            return false;
        throw conversionError(text);
    }
    case ControlKind::Edit:
        if (text.size() > def.param - 1)
            throw Error(ErrorKind::BadValue, QStringLiteral("Текст длиннее %1 символов.").arg(def.param - 1));
        return text;
    case ControlKind::DateEdit: parseDate(text); return text;
    case ControlKind::TimeEdit: parseTime(text); return text;
    }
    return {};
}

} // namespace mk
