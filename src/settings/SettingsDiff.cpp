#include "settings/SettingsDiff.h"

#include "base/Error.h"
#include "image/ImageLayout.h"
#include "image/TMK.h"
#include "journals/JournalData.h"
#include "render/ScreenColours.h"
#include "settings/AddSystems.h"
#include "settings/HotMenuList.h"
#include "settings/NamedSettings.h"

#include <QMap>
#include <algorithm>
#include <array>

namespace mk {

namespace {

// A check box shows as a tick; in words, as the tools accept it too.
QString shownText(const NamedSetting &s, const QString &toolText)
{
    if (s.field && s.field->kind == ControlKind::CheckBox)
        return toolText == QLatin1String("1") ? QStringLiteral("да") : QStringLiteral("нет");
    return toolText;
}

// mktool's text: what `set` takes, after the caption the page shows when that is an identifier.
QString toolValue(const QString &value, const QString &item)
{
    return item.isEmpty() ? value : QStringLiteral("%1 (%2)").arg(item, value);
}

// The stored bits, most significant byte first, in hexadecimal.
QString rawText(const Record &rec, const std::vector<FieldByte> &bytes)
{
    QString text;
    for (auto it = bytes.rbegin(); it != bytes.rend(); ++it)
        if (it->offset < rec.size())
            text += QStringLiteral("%1").arg(rec.u8(it->offset) & it->bits, 2, 16, QLatin1Char('0')).toUpper();
    return QStringLiteral("0x") + text;
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

constexpr int kShownUnnamedBytes = 8;

QString hexBytes(const QByteArray &bytes)
{
    QString text = QString::fromLatin1(bytes.left(kShownUnnamedBytes).toHex(' ').toUpper());
    if (bytes.size() > kShownUnnamedBytes)
        text += QStringLiteral(" …");
    return text;
}

} // namespace

int SettingsDiff::changeCount() const
{
    int n = 0;
    for (const DiffPage &p : pages)
        n += int(p.changes.size());
    return n;
}

QString pageOfByte(int section, int offset)
{
    if (section == 9) {
        if (offset >= kHotMenuOffset && offset < kHotMenuOffset + 2 * kHotMenuCount * kHotMenuLength)
            return QStringLiteral("Горячие меню");
        if ((offset >= kColourSchemeOffset && offset <= kActiveColourSchemeOffset) || offset == kDispVar4Offset ||
            offset == kDispVar9Offset)
            return QStringLiteral("Цветовые схемы");
        if (offset < kColourSchemeOffset)
            return QStringLiteral("Дисплей");
    }
    if (section == 4 && offset >= kSystemBitmapOffset && offset < kSystemBitmapOffset + kSystemBitmapSize)
        return QStringLiteral("Допсистемы");
    if (section == 3 || (section == 2 && offset < 37))
        return QStringLiteral("Бак");
    // What the device records is written back too: a journal kept since the settings were read
    // would be replaced.
    const auto inJournal = [offset](int start) {
        return offset >= start && offset < start + kJournalEntryCount * kJournalEntrySize;
    };
    if (section == 12 || (section == 6 && (inJournal(kTripJournalOffset) || inJournal(kTankJournalOffset))))
        return QStringLiteral("Журналы");
    if (section == 0)
        return QStringLiteral("Накопленные средние");
    return {};
}

SettingsDiff diffSettings(const TMK &before, const TMK &after)
{
    SettingsDiff diff;
    const NamedContext ctxBefore = NamedContext::lenient(before), ctxAfter = NamedContext::lenient(after);
    QMap<QString, int> pageIndex; // page caption -> index in diff.pages
    const auto pageFor = [&](const QString &page) -> DiffPage & {
        auto it = pageIndex.find(page);
        if (it == pageIndex.end()) {
            it = pageIndex.insert(page, int(diff.pages.size()));
            diff.pages.push_back({page, {}});
        }
        return diff.pages[size_t(*it)];
    };

    std::array<QByteArray, kSectionCount> named;
    for (int k = 0; k < kSectionCount; ++k)
        named[size_t(k)] = QByteArray(kRecordSizes[size_t(k)], '\0');
    for (const NamedSetting &s : namedSettings()) {
        QByteArray &mask = named[size_t(s.section)];
        for (const FieldByte &b : s.bytes)
            if (b.offset < mask.size())
                mask[b.offset] = char(quint8(mask[b.offset]) | b.bits);
        const Record &ra = before.record(s.section), &rb = after.record(s.section);
        if (!fieldBitsDiffer(ra.bytes(), rb.bytes(), s.bytes))
            continue;
        QString caption = settingCaption(s, ctxAfter);
        if (caption.isEmpty())
            caption = s.name;
        SettingChange c{s.name,
                        caption,
                        settingText(s, before, ctxBefore),
                        settingText(s, after, ctxAfter),
                        {},
                        {},
                        {},
                        {},
                        rawText(ra, s.bytes),
                        rawText(rb, s.bytes),
                        0};
        if (s.itemCaption) {
            c.itemBefore = s.itemCaption(before, ctxBefore);
            c.itemAfter = s.itemCaption(after, ctxAfter);
        }
        c.shownBefore = c.itemBefore.isEmpty() ? shownText(s, c.before) : c.itemBefore;
        c.shownAfter = c.itemAfter.isEmpty() ? shownText(s, c.after) : c.itemAfter;
        // Values that show alike but are stored differently: the raw bits tell them apart.
        if (c.before == c.after) {
            c.before += QStringLiteral(" (%1)").arg(c.rawBefore);
            c.after += QStringLiteral(" (%1)").arg(c.rawAfter);
            c.shownBefore = c.before;
            c.shownAfter = c.after;
        }
        pageFor(s.page).changes.push_back(std::move(c));
        ++diff.namedCount;
    }

    // Bits no name covers: one line per page (or section) that holds them.
    for (int k = 0; k < kSectionCount; ++k) {
        if (k == kUndecodedSection)
            continue;
        const QByteArray &ra = before.record(k).bytes(), &rb = after.record(k).bytes();
        QMap<QString, std::pair<QByteArray, QByteArray>> unnamed; // page -> differing bytes
        QMap<QString, int> counts;
        QStringList order;
        for (int i = 0; i < qMin(ra.size(), rb.size()); ++i) {
            if (!((quint8(ra[i]) ^ quint8(rb[i])) & ~quint8(named[size_t(k)][i])))
                continue;
            QString page = pageOfByte(k, i);
            if (page.isEmpty())
                page = QStringLiteral("Прочее");
            if (!counts.contains(page))
                order << page;
            ++counts[page];
            unnamed[page].first += ra[i];
            unnamed[page].second += rb[i];
        }
        for (const QString &page : order) {
            const int n = counts[page];
            const auto &[a, b] = unnamed[page];
            SettingChange c{{},
                            QStringLiteral("Без имени: секция %1, байт %2").arg(k).arg(n),
                            hexBytes(a),
                            hexBytes(b),
                            {},
                            {},
                            {},
                            {},
                            {},
                            {},
                            n};
            c.shownBefore = c.before;
            c.shownAfter = c.after;
            pageFor(page).changes.push_back(std::move(c));
            diff.unnamedBytes += n;
        }
    }

    diff.otherImageBytes = otherImageBytes(before, after);
    diff.modelCodeBefore = before.modelCode();
    diff.modelCodeAfter = after.modelCode();
    diff.modelCodesDiffer = diff.modelCodeBefore != diff.modelCodeAfter;
    return diff;
}

QString diffText(const SettingsDiff &diff, bool forTool)
{
    QString text;
    for (const DiffPage &page : diff.pages) {
        text += QStringLiteral("[%1]\n").arg(page.page);
        for (const SettingChange &c : page.changes) {
            if (forTool)
                text += QStringLiteral("%1\t%2\t%3\n")
                            .arg(c.name.isEmpty() ? QStringLiteral("(%1)").arg(c.caption) : c.name,
                                 toolValue(c.before, c.itemBefore), toolValue(c.after, c.itemAfter));
            else
                text += QStringLiteral("%1\t%2 -> %3\n").arg(c.caption, c.shownBefore, c.shownAfter);
        }
    }
    if (diff.otherImageBytes > 0)
        text += forTool ? QStringLiteral("(image bytes outside the records)\t%1\n").arg(diff.otherImageBytes)
                        : QStringLiteral("Прочие байты образа памяти: %1\n").arg(diff.otherImageBytes);
    if (diff.modelCodesDiffer)
        text += QStringLiteral("%1\t0x%2\t0x%3\n")
                    .arg(forTool ? QStringLiteral("model code") : QStringLiteral("Код модели"))
                    .arg(diff.modelCodeBefore, 4, 16, QLatin1Char('0'))
                    .arg(diff.modelCodeAfter, 4, 16, QLatin1Char('0'));
    return text;
}

} // namespace mk
