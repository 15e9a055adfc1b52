// mktool set / diff: the editor's simple settings by name, on the command line.

#include "Command.h"
#include "SettingsFileReport.h"
#include "catalogs/DeviceModel.h"
#include "model/EditTransaction.h"
#include "model/Error.h"
#include "model/FieldTable.h"
#include "model/FieldTableContext.h"
#include "model/SettingsFile.h"
#include "model/TMK.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <array>

namespace mk::tool {

namespace {

// Applies NAME=VALUE assignments in order, with the editor's conversions and checks. Throws Error
// naming the field; the model may then hold part of the assignments (the caller writes nothing).
void applyAssignments(TMK &tmk, const QStringList &assignments)
{
    // The editor would not open on this model either (protocol index or version above 255).
    EditSession session(tmk);
    FieldContext ctx = fieldContext(session.device(), session.measPars());
    for (const QString &a : assignments) {
        const qsizetype eq = a.indexOf(QLatin1Char('='));
        if (eq <= 0)
            throw Error(QStringLiteral("%1: ожидается ИМЯ=ЗНАЧЕНИЕ").arg(a));
        const QString name = a.left(eq);
        const QString text = a.mid(eq + 1);
        const FieldDef *def = findField(name);
        if (!def)
            throw Error(QStringLiteral("%1: нет такой настройки").arg(name));
        try {
            const QVariant value = parseFieldText(*def, text, ctx);
            if (def->conversion == Conversion::ProtocolIndex) {
                // As on the protocol page: the sub-types, the fuel source list and the context follow.
                if (chooseProtocol(tmk, session.device(), value.toInt()))
                    ctx = fieldContext(session.device(), session.measPars());
            } else {
                storeField(*def, tmk, value, ctx);
            }
        } catch (const Error &e) {
            throw Error(QStringLiteral("%1: %2").arg(name, e.text()));
        }
    }
    session.commit();
}

int runSet(const QStringList &argv)
{
    const Args args(argv, {QStringLiteral("-o")}, {});
    if (!args.ok())
        return usageError(QStringLiteral("set"), args.error());
    if (args.positional().size() < 2 || !args.has(QStringLiteral("-o")))
        return usageError(QStringLiteral("set"), QStringLiteral("a settings file, at least one NAME=VALUE and -o OUT are required"));
    TMK tmk;
    loadSettingsFile(tmk, args.positional().first());
    applyAssignments(tmk, args.positional().mid(1));
    saveSettingsFile(tmk, args.value(QStringLiteral("-o")));
    return kOk;
}

// Bits of each record that named fields cover, so that the rest can be compared on its own.
std::array<QByteArray, kSectionCount> namedBits()
{
    std::array<QByteArray, kSectionCount> masks;
    for (int k = 0; k < kSectionCount; ++k)
        masks[size_t(k)] = QByteArray(kRecordSizes[size_t(k)], '\0');
    auto cover = [&](const FieldDef &def, int offset, quint8 bits) {
        QByteArray &m = masks[size_t(def.section)];
        if (offset < m.size())
            m[offset] = char(quint8(m[offset]) | bits);
    };
    for (const FieldDef &def : fieldTable()) {
        switch (def.conversion) {
        case Conversion::FlagBit:
        case Conversion::ServiceUseBit:
            cover(def, def.offset + def.param / 8, quint8(1u << (def.param % 8)));
            break;
        case Conversion::AlarmFirst:
            cover(def, def.offset, 0x07);
            break;
        case Conversion::AlarmNext:
            cover(def, def.offset, 0x38);
            break;
        default: {
            int width = def.param;
            switch (def.type) {
            case FieldType::Int8: case FieldType::UInt8: width = 1; break;
            case FieldType::Int16: case FieldType::UInt16: width = 2; break;
            case FieldType::Int32: case FieldType::UInt32: case FieldType::Float32: width = 4; break;
            case FieldType::UInt64: width = 8; break;
            case FieldType::Bytes: break;
            }
            for (int i = 0; i < width; ++i)
                cover(def, def.offset + i, 0xFF);
        }
        }
    }
    return masks;
}

int runDiff(const QStringList &argv)
{
    const Args args(argv, {}, {QStringLiteral("--json")});
    if (!args.ok() || args.positional().size() != 2)
        return usageError(QStringLiteral("diff"), args.ok() ? QStringLiteral("exactly two settings files are required") : args.error());
    TMK a, b;
    loadSettingsFile(a, args.positional()[0]);
    loadSettingsFile(b, args.positional()[1]);
    const FieldContext ctxA = fileFieldContext(a), ctxB = fileFieldContext(b);

    QJsonArray differing;
    QString text;
    for (const FieldDef &def : fieldTable()) {
        const QString va = fieldText(def, loadField(def, a, ctxA), ctxA);
        const QString vb = fieldText(def, loadField(def, b, ctxB), ctxB);
        if (va == vb)
            continue;
        differing.append(QJsonObject{{QStringLiteral("name"), def.name}, {QStringLiteral("a"), va}, {QStringLiteral("b"), vb}});
        text += QStringLiteral("%1\t%2\t%3\n").arg(def.name, va, vb);
    }
    // Decoded records: bytes whose differing bits no named field covers.
    const std::array<QByteArray, kSectionCount> named = namedBits();
    int otherBytes = 0;
    for (int k = 0; k < kSectionCount; ++k) {
        if (k == kUndecodedSection)
            continue;
        const QByteArray &ra = a.record(k).bytes(), &rb = b.record(k).bytes();
        for (int i = 0; i < ra.size(); ++i)
            if ((quint8(ra[i]) ^ quint8(rb[i])) & ~quint8(named[size_t(k)][i]))
                ++otherBytes;
    }
    if (args.has(QStringLiteral("--json")))
        out(QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("fields"), differing},
                                                        {QStringLiteral("other_bytes"), otherBytes}})
                                  .toJson(QJsonDocument::Indented)));
    else
        out(text + QStringLiteral("%1 field(s) differ; %2 byte(s) differ outside named fields\n")
                       .arg(differing.size()).arg(otherBytes));
    return differing.isEmpty() && otherBytes == 0 ? kOk : kFailed;
}

const CommandRegistrar kSet({QStringLiteral("set"), QStringLiteral("FILE NAME=VALUE [NAME=VALUE ...] -o OUT.tcset"),
                             QStringLiteral("changes settings by name with the editor's conversions and checks"), runSet});
const CommandRegistrar kDiff({QStringLiteral("diff"), QStringLiteral("A B [--json]"),
                              QStringLiteral("settings whose shown values differ, and the count of other differing bytes"), runDiff});

} // namespace
} // namespace mk::tool
