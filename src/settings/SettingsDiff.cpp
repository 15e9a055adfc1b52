// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsDiff.h"

#include "base/Error.h"
#include "base/Text.h"
#include "image/ColourSchemes.h"
#include "image/ImageLayout.h"
#include "image/TMK.h"
#include "journals/JournalData.h"
#include "settings/AddSystems.h"
#include "settings/HotMenuList.h"
#include "settings/NamedSettings.h"
#include "settings/SettingsPages.h"
#include "settings/ShownValue.h"
#include "settings/SpecialCaptions.h"

#include <QMap>
#include <algorithm>
#include <array>
#include <optional>

namespace mk {

namespace {

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

// Where bytes lie in their record: "смещение 6", "смещения 6, 7, 12" (the first few, then "…").
QString offsetsText(const QList<int> &offsets)
{
    QStringList shown;
    for (const int offset : offsets.mid(0, kShownUnnamedBytes))
        shown << QString::number(offset);
    if (offsets.size() > kShownUnnamedBytes)
        shown << QStringLiteral("…");
    return QStringLiteral("%1 %2").arg(offsets.size() == 1 ? QStringLiteral("смещение") : QStringLiteral("смещения"),
                                       shown.join(QStringLiteral(", ")));
}

QString hexBytes(const QByteArray &bytes)
{
    QString text = QString::fromLatin1(bytes.left(kShownUnnamedBytes).toHex(' ').toUpper());
    if (bytes.size() > kShownUnnamedBytes)
        text += QStringLiteral(" …");
    return text;
}

// --- What the device records --------------------------------------------------------------

struct JournalSpan
{
    const char16_t *caption;
    int section;
    int start, end; // record bytes [start, end)
    int entries, entrySize, firstEntry;
    bool (*used)(const Record &, int entry);
};

bool tripUsed(const Record &r, int i) { return !journalEntry(r, JournalKind::Trip, i).empty(); }
bool tankUsed(const Record &r, int i) { return !journalEntry(r, JournalKind::Tank, i).empty(); }
bool errorUsed(const Record &r, int i) { return !errorEntry(r, i).empty(); }

constexpr int kJournalBytes = kJournalEntryCount * kJournalEntrySize;
const JournalSpan kJournals[] = {
    {u"Журнал поездок", kTripsSection, kTripJournalOffset, kTripJournalOffset + kJournalBytes, kJournalEntryCount,
     kJournalEntrySize, kTripJournalOffset, tripUsed},
    {u"Журнал заправок", kTripsSection, kTankJournalOffset, kTankJournalOffset + kJournalBytes, kJournalEntryCount,
     kJournalEntrySize, kTankJournalOffset, tankUsed},
    // The whole section: the supported-values bitmap belongs to the entries' freeze frames.
    {u"Журнал ошибок", kErrorsSection, 0, kRecordSizes[kErrorsSection], kErrorEntryCount, kErrorEntrySize,
     kErrorEntriesOffset, errorUsed},
};

const JournalSpan *journalAt(int section, int offset)
{
    for (const JournalSpan &j : kJournals)
        if (j.section == section && offset >= j.start && offset < j.end)
            return &j;
    return nullptr;
}

QString entriesText(int n)
{
    if (n == 0)
        return QStringLiteral("нет записей");
    return countedText(n, "запись", "записи", "записей");
}

std::optional<SettingChange> journalChange(const JournalSpan &j, const Record &ra, const Record &rb)
{
    const QByteArray &a = ra.bytes(), &b = rb.bytes();
    int bytes = 0;
    for (int i = j.start; i < j.end && i < a.size() && i < b.size(); ++i)
        bytes += a[i] != b[i];
    if (bytes == 0)
        return std::nullopt;
    int usedBefore = 0, usedAfter = 0, differing = 0;
    for (int e = 0; e < j.entries; ++e) {
        usedBefore += j.used(ra, e);
        usedAfter += j.used(rb, e);
        const int at = j.firstEntry + e * j.entrySize;
        differing += a.mid(at, j.entrySize) != b.mid(at, j.entrySize);
    }
    SettingChange c;
    c.kind = ChangeKind::Journal;
    c.caption = QString::fromUtf16(j.caption);
    c.before = c.shownBefore = entriesText(usedBefore);
    if (usedAfter == 0 && usedBefore > 0)
        c.after = QStringLiteral("очищен, было %1").arg(entriesText(usedBefore));
    else if (differing > 0)
        c.after = QStringLiteral("%1, отличаются: %2").arg(entriesText(usedAfter)).arg(differing);
    else
        c.after = QStringLiteral("%1, отличаются служебные байты").arg(entriesText(usedAfter));
    c.shownAfter = c.after;
    c.unnamedBytes = bytes;
    return c;
}

// The bytes of the counters section a set's clearing writes: its own.
QByteArray accumulatorMask(AccumulatorSet set)
{
    Record r(kRecordSizes[kCountersSection]);
    r.setRaw(0, QByteArray(kRecordSizes[kCountersSection], '\xFF'));
    clearAccumulators(r, set);
    QByteArray mask(kRecordSizes[kCountersSection], '\0');
    for (int i = 0; i < mask.size(); ++i)
        mask[i] = r.u8(i) == 0 ? '\1' : '\0';
    return mask;
}

QString accumulatorText(const Accumulators &a)
{
    const quint32 minutes = a.seconds / 60;
    return QStringLiteral("%1 км, %2 л, %3:%4 ч")
        .arg(qRound64(a.metres / 1000.0))
        .arg(qRound64(double(a.fuel()) / 1000.0))
        .arg(minutes / 60)
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

std::optional<SettingChange> accumulatorChange(AccumulatorSet set, const Record &ra, const Record &rb)
{
    const QByteArray mask = accumulatorMask(set);
    int bytes = 0;
    for (int i = 0; i < mask.size() && i < ra.size() && i < rb.size(); ++i)
        bytes += mask[i] && ra.u8(i) != rb.u8(i);
    if (bytes == 0)
        return std::nullopt;
    const Accumulators a = accumulators(ra, set), b = accumulators(rb, set);
    const bool cleared = b.seconds == 0 && b.metres == 0 && b.fuel() == 0;
    SettingChange c;
    c.kind = ChangeKind::Journal;
    c.caption = QStringLiteral("Накопленные средние «%1»").arg(accumulatorCaption(set));
    c.before = c.shownBefore = accumulatorText(a);
    c.after = c.shownAfter = cleared ? QStringLiteral("обнулены, было %1").arg(accumulatorText(a))
                                     : QStringLiteral("%1 (было %2)").arg(accumulatorText(b), accumulatorText(a));
    c.unnamedBytes = bytes;
    return c;
}

bool inAccumulator(int section, int offset)
{
    static const QByteArray all = [] {
        QByteArray mask(kRecordSizes[kCountersSection], '\0');
        for (const AccumulatorSet set : kAccumulatorSets) {
            const QByteArray m = accumulatorMask(set);
            for (int i = 0; i < mask.size(); ++i)
                mask[i] = char(mask[i] | m[i]);
        }
        return mask;
    }();
    return section == kCountersSection && offset < all.size() && all[offset];
}

// --- Hot menus ------------------------------------------------------------------------------

const QString kClosedByPage = QStringLiteral("убраны страницей");

// The empty places before a list's last item: the ones the page closes when it opens.
QList<int> hotMenuGaps(const HotMenu &list)
{
    QList<int> gaps;
    int last = kHotMenuLength - 1;
    while (last >= 0 && list[size_t(last)] == 0)
        --last;
    for (int r = 0; r < last; ++r)
        if (list[size_t(r)] == 0)
            gaps << r;
    return gaps;
}

QString gapsText(const QList<int> &gaps)
{
    QStringList rows;
    for (const int r : gaps)
        rows << QString::number(r);
    return gaps.isEmpty() ? QStringLiteral("нет") : QStringLiteral("места %1").arg(rows.join(QStringLiteral(", ")));
}

std::optional<SettingChange> hotMenuGapsChange(int list, const Record &ra, const Record &rb)
{
    const HotMenu listBefore = readHotMenu(ra, list), listAfter = readHotMenu(rb, list);
    const QList<int> before = hotMenuGaps(listBefore), after = hotMenuGaps(listAfter);
    if (before == after)
        return std::nullopt;
    const bool onlyClosed = after.isEmpty() && compacted(listBefore) == compacted(listAfter);
    SettingChange c;
    c.kind = ChangeKind::HotMenuGaps;
    c.caption = hotMenuCaption(list);
    c.before = c.shownBefore = gapsText(before);
    c.after = c.shownAfter = onlyClosed ? kClosedByPage : gapsText(after);
    return c;
}

bool isHotMenuSlot(const NamedSetting &s)
{
    return s.section == kDisplaySection && !s.bytes.empty() && s.bytes.front().offset >= kHotMenuOffset &&
           s.bytes.front().offset < kHotMenuOffset + 2 * kHotMenuCount * kHotMenuLength;
}

} // namespace

QString SettingChange::label() const { return name.isEmpty() ? caption : QStringLiteral("%1 (%2)").arg(caption, name); }

QString SettingChange::line() const
{
    if (kind == ChangeKind::Journal)
        return QStringLiteral("%1: %2").arg(caption, shownAfter);
    return QStringLiteral("%1\t%2 -> %3").arg(label(), shownBefore, shownAfter);
}

int DiffPage::settingCount() const
{
    return int(std::count_if(changes.begin(), changes.end(),
                             [](const SettingChange &c) { return c.kind == ChangeKind::Setting; }));
}

int SettingsDiff::changeCount() const
{
    int n = 0;
    for (const DiffPage &p : pages)
        n += int(p.changes.size());
    return n;
}

namespace {

// The page two pages share: the same page, or the page that holds both (the display pages).
std::optional<PageId> commonPage(std::optional<PageId> a, std::optional<PageId> b)
{
    if (!a || !b || a == b)
        return a ? a : b;
    const PageId ta = settingsPage(*a).parent.value_or(*a);
    const PageId tb = settingsPage(*b).parent.value_or(*b);
    return ta == tb ? std::optional<PageId>(ta) : std::nullopt;
}

// Every record byte's page, from the settings that store in it: a byte the settings of several
// pages share goes to the page holding them; a byte no setting names goes with the named byte
// before it (the reserve after a setting), at the start of a record with the one after it.
using BytePages = std::vector<std::optional<PageId>>;
std::array<BytePages, kSectionCount> bytePages()
{
    std::array<BytePages, kSectionCount> pages;
    std::array<QList<bool>, kSectionCount> named;
    for (int k = 0; k < kSectionCount; ++k) {
        pages[size_t(k)] = BytePages(size_t(kRecordSizes[size_t(k)]));
        named[size_t(k)] = QList<bool>(kRecordSizes[size_t(k)], false);
    }
    for (const NamedSetting &s : namedSettings()) {
        for (const FieldByte &b : s.bytes) {
            if (b.offset < 0 || b.offset >= kRecordSizes[size_t(s.section)])
                continue;
            std::optional<PageId> &page = pages[size_t(s.section)][size_t(b.offset)];
            const bool first = !named[size_t(s.section)][b.offset];
            named[size_t(s.section)][b.offset] = true;
            page = first ? s.page : commonPage(page, s.page);
        }
    }
    for (int k = 0; k < kSectionCount; ++k) {
        BytePages &p = pages[size_t(k)];
        const QList<bool> &n = named[size_t(k)];
        const int size = int(p.size());
        for (int i = 0; i < size; ++i) {
            if (n[i])
                continue;
            if (i > 0) {
                p[size_t(i)] = p[size_t(i - 1)];
                continue;
            }
            int after = 1;
            while (after < size && !n[after])
                ++after;
            if (after < size)
                p[size_t(i)] = p[size_t(after)];
        }
    }
    return pages;
}

} // namespace

namespace {

const QString kAveragesHeading = QStringLiteral("Накопленные средние");

// The page of a byte no named setting of another page claims; none for the counters' bytes
// (they go with the averages) and for a byte outside the records.
std::optional<PageId> pageIdOfByte(int section, int offset)
{
    static const std::array<BytePages, kSectionCount> pages = bytePages();
    if (section == kCountersSection || section < 0 || section >= kSectionCount || offset < 0 ||
        offset >= int(pages[size_t(section)].size()))
        return std::nullopt;
    return pages[size_t(section)][size_t(offset)];
}

} // namespace

QString pageOfByte(int section, int offset)
{
    // What the device counts itself is not a setting: its other bytes go with the averages.
    if (section == kCountersSection)
        return kAveragesHeading;
    const std::optional<PageId> page = pageIdOfByte(section, offset);
    return page ? pageCaption(*page) : QString();
}

SettingsDiff diffSettings(const TMK &before, const TMK &after)
{
    SettingsDiff diff;
    const SettingsContext ctxBefore = SettingsContext::lenient(before), ctxAfter = SettingsContext::lenient(after);
    // A heading: an editor page (its id's rank, no text) or a part that is no page (after every
    // page, by its text).
    using Heading = std::pair<int, QString>;
    const auto pageHeading = [](PageId id) { return Heading{int(id), QString()}; };
    const auto otherHeading = [](const QString &text) { return Heading{kPageCount, text}; };
    QMap<Heading, int> pageIndex; // heading -> index in diff.pages
    std::vector<int> ranks;       // of diff.pages
    const auto pageFor = [&](const Heading &h) -> DiffPage & {
        auto it = pageIndex.find(h);
        if (it == pageIndex.end()) {
            it = pageIndex.insert(h, int(diff.pages.size()));
            diff.pages.push_back({h.first < kPageCount ? pageCaption(PageId(h.first)) : h.second, {}});
            ranks.push_back(h.first);
        }
        return diff.pages[size_t(*it)];
    };

    std::array<QByteArray, kSectionCount> named;
    // Bytes a listed setting stores in: their other bits are not listed again without a name.
    std::array<QByteArray, kSectionCount> listed;
    for (int k = 0; k < kSectionCount; ++k) {
        named[size_t(k)] = QByteArray(kRecordSizes[size_t(k)], '\0');
        listed[size_t(k)] = QByteArray(kRecordSizes[size_t(k)], '\0');
    }
    // The hot menus as the page shows them, their gaps closed: an item that only moved up does
    // not show as moved.
    TMK closedBefore = before, closedAfter = after;
    compactHotMenus(closedBefore.record(kDisplaySection));
    compactHotMenus(closedAfter.record(kDisplaySection));
    for (const NamedSetting &s : namedSettings()) {
        QByteArray &mask = named[size_t(s.section)];
        for (const FieldByte &b : s.bytes)
            if (b.offset < mask.size())
                mask[b.offset] = char(quint8(mask[b.offset]) | b.bits);
        const bool hotMenu = isHotMenuSlot(s);
        const TMK &mb = hotMenu ? closedBefore : before, &ma = hotMenu ? closedAfter : after;
        const Record &ra = mb.record(s.section), &rb = ma.record(s.section);
        if (!fieldBitsDiffer(ra.bytes(), rb.bytes(), s.bytes))
            continue;
        for (const FieldByte &b : s.bytes)
            if (b.offset < listed[size_t(s.section)].size())
                listed[size_t(s.section)][b.offset] = '\1';
        QString caption = settingCaption(s, ctxAfter);
        if (caption.isEmpty())
            caption = settingCaption(s, ctxBefore);
        if (caption.isEmpty())
            caption = QStringLiteral("без подписи");
        const ShownValue va = shownValue(s, mb, ctxBefore), vb = shownValue(s, ma, ctxAfter);
        SettingChange c;
        c.name = s.name;
        c.caption = caption;
        c.before = toolText(va);
        c.after = toolText(vb);
        // What is stored beside what the page shows, where the two differ.
        c.shownBefore = shownText(va);
        c.shownAfter = shownText(vb);
        c.itemBefore = va.caption;
        c.itemAfter = vb.caption;
        c.rawBefore = rawText(before.record(s.section), s.bytes);
        c.rawAfter = rawText(after.record(s.section), s.bytes);
        // Values that show alike but are stored differently: what the page shows otherwise says
        // why, else the raw bits tell them apart.
        if (va.tool == vb.tool) {
            c.before += QStringLiteral(" (%1)").arg(c.rawBefore);
            c.after += QStringLiteral(" (%1)").arg(c.rawAfter);
            if (va.stored.isEmpty() && vb.stored.isEmpty()) {
                c.shownBefore = c.before;
                c.shownAfter = c.after;
            }
        }
        pageFor(pageHeading(s.page)).changes.push_back(std::move(c));
        ++diff.namedCount;
    }
    for (int list = 0; list < kHotMenuCount; ++list) {
        if (std::optional<SettingChange> c =
                hotMenuGapsChange(list, before.record(kDisplaySection), after.record(kDisplaySection))) {
            diff.tidyUps.push_back(std::move(*c));
        }
    }

    // Bits no name covers: one line per page (or section) that holds them.
    for (int k = 0; k < kSectionCount; ++k) {
        if (k == kUndecodedSection)
            continue;
        const QByteArray &ra = before.record(k).bytes(), &rb = after.record(k).bytes();
        QMap<Heading, std::pair<QByteArray, QByteArray>> unnamed; // page -> differing bytes
        QMap<Heading, int> counts;
        QMap<Heading, QList<int>> offsets;
        QList<Heading> order;
        for (int i = 0; i < qMin(ra.size(), rb.size()); ++i) {
            if (!((quint8(ra[i]) ^ quint8(rb[i])) & ~quint8(named[size_t(k)][i])) || listed[size_t(k)][i] ||
                journalAt(k, i) || inAccumulator(k, i))
                continue;
            const std::optional<PageId> id = pageIdOfByte(k, i);
            const Heading page = id                      ? pageHeading(*id)
                                 : k == kCountersSection ? otherHeading(kAveragesHeading)
                                                         : otherHeading(QStringLiteral("Прочее"));
            if (!counts.contains(page))
                order << page;
            ++counts[page];
            offsets[page] << i;
            unnamed[page].first += ra[i];
            unnamed[page].second += rb[i];
        }
        for (const Heading &page : order) {
            const int n = counts[page];
            const auto &[a, b] = unnamed[page];
            SettingChange c;
            c.kind = ChangeKind::Unnamed;
            c.caption = QStringLiteral("Без имени: секция %1, %2").arg(k).arg(offsetsText(offsets[page]));
            c.before = hexBytes(a);
            c.after = hexBytes(b);
            c.unnamedBytes = n;
            c.shownBefore = c.before;
            c.shownAfter = c.after;
            pageFor(page).changes.push_back(std::move(c));
            diff.unnamedBytes += n;
        }
    }

    for (const AccumulatorSet set : kAccumulatorSets) {
        if (std::optional<SettingChange> c =
                accumulatorChange(set, before.record(kCountersSection), after.record(kCountersSection))) {
            diff.unnamedBytes += c->unnamedBytes;
            pageFor(otherHeading(kAveragesHeading)).changes.push_back(std::move(*c));
        }
    }
    for (const JournalSpan &j : kJournals) {
        if (std::optional<SettingChange> c = journalChange(j, before.record(j.section), after.record(j.section))) {
            diff.unnamedBytes += c->unnamedBytes;
            pageFor(otherHeading(QStringLiteral("Журналы"))).changes.push_back(std::move(*c));
        }
    }

    // The pages in the editor's order, whichever kind of change named them first.
    std::vector<size_t> byRank(diff.pages.size());
    for (size_t i = 0; i < byRank.size(); ++i)
        byRank[i] = i;
    std::stable_sort(byRank.begin(), byRank.end(), [&](size_t a, size_t b) { return ranks[a] < ranks[b]; });
    std::vector<DiffPage> sorted;
    for (const size_t i : byRank)
        sorted.push_back(std::move(diff.pages[i]));
    diff.pages = std::move(sorted);

    diff.otherImageBytes = otherImageBytes(before, after);
    diff.modelCodeBefore = before.modelCode();
    diff.modelCodeAfter = after.modelCode();
    diff.modelCodesDiffer = diff.modelCodeBefore != diff.modelCodeAfter;
    return diff;
}

void creditSessionTidyUps(SettingsDiff &diff, const TMK &held)
{
    if (diff.tidyUps.empty())
        return;
    TMK base;
    base.replaceImage(held.modelCode(), held.baseImage());
    const Record &was = base.record(kDisplaySection), &now = held.record(kDisplaySection);
    for (int list = 0; list < kHotMenuCount; ++list) {
        const HotMenu listWas = readHotMenu(was, list), listNow = readHotMenu(now, list);
        const bool closedNow = !held.baseImage().isEmpty() && !hotMenuGaps(listWas).isEmpty() &&
                               hotMenuGaps(listNow).isEmpty() && compacted(listWas) == compacted(listNow);
        for (SettingChange &c : diff.tidyUps)
            if (c.caption == hotMenuCaption(list) && c.after == kClosedByPage && !closedNow)
                c.after = c.shownAfter = gapsText({});
    }
}

QString SettingsDiff::tidyUpLine() const
{
    if (tidyUps.empty())
        return {};
    QStringList lists, moves;
    bool byPage = true;
    for (const SettingChange &c : tidyUps) {
        lists << QStringLiteral("«%1»").arg(c.caption);
        moves << QStringLiteral("«%1» %2 -> %3").arg(c.caption, c.before, c.after);
        byPage = byPage && c.after == kClosedByPage;
    }
    if (byPage)
        return QStringLiteral("Горячие меню %1: страница при открытии убрала пустые места между пунктами. "
                              "Пункты и их порядок те же, это не изменение настроек.")
            .arg(lists.join(QStringLiteral(", ")));
    return QStringLiteral("Горячие меню, пустые места между пунктами (страница убирает их при открытии): %1.")
        .arg(moves.join(QStringLiteral("; ")));
}

QString diffText(const SettingsDiff &diff, bool forTool)
{
    QString text;
    for (const DiffPage &page : diff.pages) {
        text += QStringLiteral("[%1]\n").arg(page.page);
        for (const SettingChange &c : page.changes) {
            const QString label = QStringLiteral("%1 / %2").arg(page.page, c.label());
            if (forTool)
                text += QStringLiteral("%1\t%2\t%3\n").arg(label, c.before, c.after);
            else if (c.kind == ChangeKind::Journal)
                text += QStringLiteral("%1 / %2\n").arg(page.page, c.line());
            else
                text += QStringLiteral("%1\t%2 -> %3\n").arg(label, c.shownBefore, c.shownAfter);
        }
    }
    if (!diff.tidyUps.empty())
        text += diff.tidyUpLine() + QLatin1Char('\n');
    if (diff.otherImageBytes > 0)
        text += QStringLiteral("Прочие байты образа памяти: %1\n").arg(diff.otherImageBytes);
    if (diff.modelCodesDiffer)
        text += QStringLiteral("%1\t0x%2\t0x%3\n")
                    .arg(QStringLiteral("Код модели"))
                    .arg(diff.modelCodeBefore, 4, 16, QLatin1Char('0'))
                    .arg(diff.modelCodeAfter, 4, 16, QLatin1Char('0'));
    return text;
}

QString diffSummary(const SettingsDiff &diff)
{
    return QStringLiteral("Различаются настройки: %1; байты вне настроек: %2.\n")
        .arg(diff.namedCount)
        .arg(diff.unnamedBytes + diff.otherImageBytes);
}

} // namespace mk
