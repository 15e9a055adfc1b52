// mktool set / diff: the editor's settings by name, on the command line.

#include "Command.h"
#include "SettingsFileReport.h"
#include "catalogs/DeviceModel.h"
#include "model/EditTransaction.h"
#include "model/Error.h"
#include "model/FieldTable.h"
#include "model/FieldTableContext.h"
#include "model/NamedSettings.h"
#include "model/SettingsFile.h"
#include "model/TMK.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <array>

namespace mk::tool {

namespace {

// Applies NAME=VALUE assignments in order, with the editor's conversions and checks. Throws Error
// naming the setting; the model may then hold part of the assignments (the caller writes nothing).
void applyAssignments(TMK &tmk, const QStringList &assignments)
{
    // The editor would not open on this model either (protocol index or version above 255).
    EditSession session(tmk);
    NamedContext ctx(tmk);
    for (const QString &a : assignments) {
        const qsizetype eq = a.indexOf(QLatin1Char('='));
        if (eq <= 0)
            throw Error(QStringLiteral("%1: ожидается ИМЯ=ЗНАЧЕНИЕ").arg(a));
        const QString name = a.left(eq);
        const QString text = a.mid(eq + 1);
        const NamedSetting *setting = findNamedSetting(name);
        if (!setting)
            throw Error(QStringLiteral("%1: нет такой настройки").arg(name));
        // The value would never reach the file: the section it lives in is not there.
        if (!tmk.sectionHeld(setting->section))
            throw Error(QStringLiteral("%1: в файле нет секции %2").arg(name).arg(setting->section));
        try {
            storeSettingText(*setting, tmk, text, ctx);
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
    loadSettings(tmk, args.positional().first());
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
    for (const NamedSetting &s : namedSettings()) {
        QByteArray &m = masks[size_t(s.section)];
        for (const FieldByte &b : s.bytes)
            if (b.offset < m.size())
                m[b.offset] = char(quint8(m[b.offset]) | b.bits);
    }
    return masks;
}

// The stored bits of a field, most significant byte first, in hexadecimal.
QString rawText(const NamedSetting &def, const TMK &tmk)
{
    const Record &rec = tmk.record(def.section);
    QString text;
    const std::vector<FieldByte> &bytes = def.bytes;
    for (auto it = bytes.rbegin(); it != bytes.rend(); ++it)
        text += QStringLiteral("%1").arg(rec.u8(it->offset) & it->bits, 2, 16, QLatin1Char('0')).toUpper();
    return QStringLiteral("0x") + text;
}

bool storedAlike(const NamedSetting &def, const TMK &a, const TMK &b)
{
    for (const FieldByte &byte : def.bytes)
        if ((a.record(def.section).u8(byte.offset) ^ b.record(def.section).u8(byte.offset)) & byte.bits)
            return false;
    return true;
}

// Image positions that no decoded record covers (header, section 11, the device's trailers,
// the oscilloscope blocks, anything past the sections): counted byte by byte, and every byte
// one image has beyond the other.
int otherImageBytes(const TMK &a, const TMK &b)
{
    const auto covered = [](const TMK &tmk) {
        QByteArray mask(tmk.image().size(), '\0');
        for (int k = 0; k < kSectionCount; ++k) {
            if (k == kUndecodedSection || !tmk.sectionHeld(k))
                continue;
            const SectionEntry e = tmk.header().sections[size_t(k)];
            const int len = qMin(e.contentLength(), kRecordSizes[size_t(k)]);
            std::fill_n(mask.begin() + e.contentPos(), len, '\1');
        }
        return mask;
    };
    const QByteArray ca = covered(a), cb = covered(b);
    const QByteArray &ia = a.image(), &ib = b.image();
    const qsizetype common = qMin(ia.size(), ib.size());
    int count = int(qMax(ia.size(), ib.size()) - common);
    for (qsizetype i = 0; i < common; ++i)
        if (ia[i] != ib[i] && !(ca[i] && cb[i]))
            ++count;
    return count;
}

int runDiff(const QStringList &argv)
{
    const Args args(argv, {}, {QStringLiteral("--json")});
    if (!args.ok() || args.positional().size() != 2)
        return usageError(QStringLiteral("diff"), args.ok() ? QStringLiteral("exactly two settings files are required") : args.error());
    TMK a, b;
    loadSettings(a, args.positional()[0]);
    loadSettings(b, args.positional()[1]);
    const NamedContext ctxA = NamedContext::lenient(a), ctxB = NamedContext::lenient(b);

    // A field differs when its stored bits do, whatever the shown values say; where both show
    // alike, the raw values tell them apart.
    QJsonArray differing;
    QString text;
    for (const NamedSetting &def : namedSettings()) {
        if (storedAlike(def, a, b))
            continue;
        const QString va = settingText(def, a, ctxA);
        const QString vb = settingText(def, b, ctxB);
        const QString ra = rawText(def, a), rb = rawText(def, b);
        differing.append(QJsonObject{{QStringLiteral("name"), def.name}, {QStringLiteral("a"), va}, {QStringLiteral("b"), vb},
                                     {QStringLiteral("raw_a"), ra}, {QStringLiteral("raw_b"), rb}});
        if (va == vb)
            text += QStringLiteral("%1\t%2 (%3)\t%4 (%5)\n").arg(def.name, va, ra, vb, rb);
        else
            text += QStringLiteral("%1\t%2\t%3\n").arg(def.name, va, vb);
    }
    // Decoded records: bytes whose differing bits no named field covers; then the image bytes
    // outside every record, and the model code.
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
    otherBytes += otherImageBytes(a, b);
    const bool codesDiffer = a.modelCode() != b.modelCode();
    if (codesDiffer)
        text += QStringLiteral("model code\t0x%1\t0x%2\n")
                    .arg(a.modelCode(), 4, 16, QLatin1Char('0'))
                    .arg(b.modelCode(), 4, 16, QLatin1Char('0'));
    if (args.has(QStringLiteral("--json")))
        out(QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("fields"), differing},
                                                        {QStringLiteral("other_bytes"), otherBytes},
                                                        {QStringLiteral("model_codes_differ"), codesDiffer}})
                                  .toJson(QJsonDocument::Indented)));
    else
        out(text + QStringLiteral("%1 field(s) differ; %2 byte(s) differ outside named fields\n")
                       .arg(differing.size()).arg(otherBytes));
    return differing.isEmpty() && otherBytes == 0 && !codesDiffer ? kOk : kFailed;
}

const CommandRegistrar kSet({QStringLiteral("set"), QStringLiteral("FILE NAME=VALUE [NAME=VALUE ...] -o OUT.tcset"),
                             QStringLiteral("changes settings by name with the editor's conversions and checks"), runSet});
const CommandRegistrar kDiff({QStringLiteral("diff"), QStringLiteral("A B [--json]"),
                              QStringLiteral("settings whose stored values differ (shown values, and raw ones where those look alike), "
                                             "and the count of other differing bytes; exit 1 when the files differ anywhere"), runDiff});

} // namespace
} // namespace mk::tool
