// SPDX-License-Identifier: GPL-3.0-or-later
// The named settings of the special pages: what each part of a page stores, shown as a text,
// and the page's checks when a text is stored.

#include "base/Colour.h"
#include "base/Error.h"
#include "image/ColourSchemes.h"
#include "image/ScreenPlaces.h"
#include "image/TMK.h"
#include "image/TankCalibration.h"
#include "settings/HotMenuAddMenu.h"
#include "settings/HotMenuList.h"
#include "settings/NamedSettings.h"
#include "settings/SpecialCaptions.h"
#include "settings/SpecialControls.h"

#include <QRegularExpression>

namespace mk {

namespace {

// A text that names a code directly: "#12".
std::optional<int> codeText(const QString &text)
{
    if (!text.startsWith(QLatin1Char('#')))
        return std::nullopt;
    bool ok = false;
    const int code = text.mid(1).toInt(&ok);
    return ok ? std::optional<int>(code) : std::nullopt;
}

QString codeName(int code) { return QStringLiteral("#%1").arg(code); }

// A number in 0..max, or the page's range message.
int boundedNumber(const QString &text, int max)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok || v < 0 || v > max)
        throw Error(ErrorKind::BadValue, QStringLiteral("Значение должно быть от 0 до %1.").arg(max));
    return v;
}

int itemOf(const QString &text, const QStringList &items)
{
    const int i = int(items.indexOf(text));
    if (i < 0)
        throw Error(QStringLiteral("Допустимые значения: «%1».").arg(items.join(QStringLiteral("», «"))));
    return i;
}

bool checkText(const QString &text)
{
    const QString t = text.trimmed().toLower();
    if (t == QLatin1String("1") || t == QLatin1String("true") || t == u"да" || t == u"вкл")
        return true;
    if (t == QLatin1String("0") || t == QLatin1String("false") || t == u"нет" || t == u"выкл")
        return false;
    throw Error(ErrorKind::BadValue, QStringLiteral("\"%1\" не является допустимым значением.").arg(text));
}

bool always(const TMK &, const SettingsContext &) { return true; }

NamedSetting special(const QString &name, PageId page, const QString &caption, int section,
                     std::vector<FieldByte> bytes)
{
    NamedSetting s;
    s.name = name;
    s.page = page;
    s.section = section;
    s.bytes = std::move(bytes);
    s.caption = [caption](const SettingsContext &) { return caption; };
    s.shown = always;
    return s;
}

std::vector<FieldByte> wordBytes(int offset) { return {{offset, 0xFF}, {offset + 1, 0xFF}}; }

// --- Colour schemes -------------------------------------------------------------------------

constexpr PageId kColourPage = PageId::ColourSchemes;
// In the order of the index bytes (ColourRole).
const char *const kRoleNames[kRoleCount] = {
    "DigitColour1",     "DigitBack1",    "DigitColour2", "DigitBack2",       "DigitFrame", "MenuActive",
    "MenuActiveBack",   "MenuHotNumber", "GraphAxes",    "GraphBack",        "Graph1",     "Graph2",
    "GraphCaptionBack", "ArrowBack",     "ArrowCaption", "LeftDial",         "RightDial",  "LeftScale",
    "RightScale",       "LeftArrow",     "RightArrow",   "ArrowCaptionBack", "WideScale",
};

quint16 parseRgb(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    bool ok = parts.size() == 3;
    int c[3] = {0, 0, 0};
    for (int i = 0; ok && i < 3; ++i) {
        c[i] = parts[i].trimmed().toInt(&ok);
        ok = ok && c[i] >= 0 && c[i] <= 31;
    }
    if (!ok)
        throw Error(ErrorKind::BadValue, QStringLiteral("Ожидается R,G,B: три числа от 0 до 31."));
    return packColour(c[0], c[1], c[2]);
}

void addColourSettings(std::vector<NamedSetting> &all)
{
    {
        NamedSetting s = special(QStringLiteral("ActiveColorScheme"), kColourPage, colourSchemeCaption(),
                                 kDisplaySection, {{kActiveColourSchemeOffset, 0x0F}});
        s.control = special_control::activeColourScheme();
        s.read = [](const TMK &m, const SettingsContext &) {
            const int active = activeColourScheme(m.record(kDisplaySection));
            const QStringList items = colourSchemeItems();
            return active >= 1 && active <= items.size() ? items[active - 1] : QString::number(active);
        };
        // As a choice on the page: another predefined scheme replaces set 0 with its table.
        s.store = [](TMK &m, const QString &text, SettingsContext &) {
            chooseColourScheme(m.record(kDisplaySection), itemOf(text, colourSchemeItems()) + 1, false, {});
        };
        all.push_back(s);
    }
    const std::pair<int, int> variants[] = {{4, kDispVar4Offset}, {9, kDispVar9Offset}};
    for (const auto &[digits, offset] : variants) {
        const QString n = QStringLiteral("DispVar%1").arg(digits);
        NamedSetting s = special(n, kColourPage, displayVariantCaption(digits), kDisplaySection, {{offset, 0xFF}});
        s.control = special_control::displayVariantGrid(digits);
        const int off = offset;
        s.read = [off](const TMK &m, const SettingsContext &) {
            return QString::number(m.record(kDisplaySection).u8(off) + 1);
        };
        s.store = [off](TMK &m, const QString &text, SettingsContext &) {
            m.record(kDisplaySection).setU8(off, quint8(itemOf(text, {QStringLiteral("1"), QStringLiteral("2")})));
        };
        all.push_back(s);
    }
    for (int set = 0; set < 2; ++set) {
        const QString prefix = QStringLiteral("ColorScheme%1.").arg(set);
        const QString schemeCaption = set == 0 ? QStringLiteral("Предустановленная схема") : colourSchemeItems().last();
        const int base = colourSchemeOffset(set);
        for (int i = 0; i < kPaletteSize; ++i) {
            NamedSetting s = special(prefix + QStringLiteral("Palette%1").arg(i), kColourPage,
                                     QStringLiteral("%1: %2").arg(schemeCaption, paletteColourCaption(i)),
                                     kDisplaySection, wordBytes(base + 2 * i));
            s.control = special_control::palette(); // the grid shows the set being edited
            s.row = i;
            s.read = [set, i](const TMK &m, const SettingsContext &) {
                const Rgb5 c = unpackColour(paletteColour(m.record(kDisplaySection), set, i));
                return QStringLiteral("%1,%2,%3").arg(c.r).arg(c.g).arg(c.b);
            };
            s.store = [set, i](TMK &m, const QString &text, SettingsContext &) {
                setPaletteColour(m.record(kDisplaySection), set, i, parseRgb(text));
            };
            all.push_back(s);
        }
        for (int r = 0; r < kRoleCount; ++r) {
            NamedSetting s = special(prefix + QString::fromLatin1(kRoleNames[r]), kColourPage,
                                     QStringLiteral("%1: %2").arg(schemeCaption, colourRoleCaption(r)), kDisplaySection,
                                     {{base + kRoleIndexOffset + r, 0xFF}});
            s.control = special_control::colourRoles();
            s.read = [set, r](const TMK &m, const SettingsContext &) {
                return QString::number(roleIndex(m.record(kDisplaySection), set, r));
            };
            s.store = [set, r](TMK &m, const QString &text, SettingsContext &) {
                setRoleIndex(m.record(kDisplaySection), set, r, boundedNumber(text, kPaletteSize - 1));
            };
            all.push_back(s);
        }
    }
}

// --- Display layouts ------------------------------------------------------------------------

struct LayoutPage
{
    ScreenKind kind;
    const char *prefix; // of its settings' names
    PageId page;
};
const LayoutPage kLayoutPages[] = {
    {ScreenKind::X4, "Digit4_", PageId::Displays4},       {ScreenKind::X9, "Digit9_", PageId::Displays9},
    {ScreenKind::X7, "Digit7_", PageId::Displays7},       {ScreenKind::Graph, "Graph_", PageId::GraphDisplays},
    {ScreenKind::Arrow, "Arrow_", PageId::ArrowDisplays}, {ScreenKind::X6, "Digit6_", PageId::Display6},
};
const QString kNoLowerGraph = QStringLiteral("Отсутствует");

// The codes a place's menu offers: the protocol's parameters the catalog knows, graphable ones
// for graphs, those of the pointer's side for pointers; the lower graph may also have none (0).
std::vector<int> offeredCodes(ScreenKind kind, int place, const SettingsContext &ctx)
{
    std::vector<int> codes;
    if (kind == ScreenKind::Graph && place == kLowerGraph)
        codes.push_back(0);
    const TProtBase *protocol = CurrentProtocol(ctx.device());
    if (!protocol)
        return codes;
    for (const quint8 code : protocol->ParamCodes) {
        const TMeasParBase *par = ctx.measPars().FindMeasPar(code);
        if (!par || (kind == ScreenKind::Graph && !par->Graphable) ||
            (kind == ScreenKind::Arrow && par->GaugeKind != (place == kRightGauge ? 2 : 1)))
            continue;
        codes.push_back(code);
    }
    return codes;
}

// The first catalog entry with this caption, or -1.
int codeByCaption(const QString &caption, const SettingsContext &ctx)
{
    for (const TMeasParBase &par : ctx.measPars().entries())
        if (par.Name == caption)
            return par.Code;
    return -1;
}

QString parameterText(int code, ScreenKind kind, int place, const SettingsContext &ctx)
{
    if (code == 0 && kind == ScreenKind::Graph && place == kLowerGraph)
        return kNoLowerGraph;
    const TMeasParBase *par = ctx.measPars().FindMeasPar(quint8(code));
    // A caption that an earlier entry also carries would read back as that entry.
    return par && codeByCaption(par->Name, ctx) == code ? par->Name : codeName(code);
}

QString placeCaption(ScreenKind kind, int screen, int place)
{
    static const QString kGraphPlaces[] = {QStringLiteral("верхний график"), QStringLiteral("нижний график")};
    static const QString kArrowPlaces[] = {QStringLiteral("левая стрелка"), QStringLiteral("правая стрелка")};
    const QString where = kind == ScreenKind::Graph   ? kGraphPlaces[place]
                          : kind == ScreenKind::Arrow ? kArrowPlaces[place]
                                                      : QStringLiteral("место %1").arg(place);
    return QStringLiteral("Дисплей %1, %2").arg(screen + 1).arg(where);
}

void addLayoutSettings(std::vector<NamedSetting> &all)
{
    for (const LayoutPage &lp : kLayoutPages) {
        for (int screen = 0; screen < screenCount(lp.kind); ++screen) {
            for (int place = 0; place < placeCount(lp.kind); ++place) {
                const int offset = placeOffset(lp.kind, screen, place);
                const ScreenKind kind = lp.kind;
                NamedSetting s =
                    special(QStringLiteral("%1%2.%3").arg(QString::fromLatin1(lp.prefix)).arg(screen + 1).arg(place),
                            lp.page, placeCaption(kind, screen, place), kDisplaySection, {{offset, 0xFF}});
                s.control = special_control::layoutPreview(lp.kind, screen);
                s.read = [=](const TMK &m, const SettingsContext &ctx) {
                    return parameterText(m.record(kDisplaySection).u8(offset), kind, place, ctx);
                };
                s.store = [=](TMK &m, const QString &text, SettingsContext &ctx) {
                    int code = -1;
                    if (kind == ScreenKind::Graph && place == kLowerGraph && text == kNoLowerGraph)
                        code = 0;
                    else if (const std::optional<int> c = codeText(text))
                        code = *c;
                    else
                        code = codeByCaption(text, ctx);
                    const std::vector<int> offered = offeredCodes(kind, place, ctx);
                    if (code < 0 || std::find(offered.begin(), offered.end(), code) == offered.end())
                        throw Error(ErrorKind::BadValue,
                                    QStringLiteral("Протокол не предлагает здесь параметр \"%1\".").arg(text));
                    m.record(kDisplaySection).setU8(offset, quint8(code));
                };
                all.push_back(s);
            }
        }
    }
}

// --- Hot menus ------------------------------------------------------------------------------

constexpr PageId kHotMenuPage = PageId::HotMenus;

void collectIdents(const std::vector<HotMenuAddEntry> &entries, QStringList &idents)
{
    for (const HotMenuAddEntry &e : entries) {
        if (e.isSubMenu())
            collectIdents(e.children, idents);
        else
            idents << e.ident;
    }
}

QString hotMenuText(quint16 code, const SettingsContext &ctx)
{
    if (code == 0)
        return {};
    const TMKMenuItem *item = ctx.menuItems().FindMenuItemByCode(code);
    // Slot 10 of the refuelling journal repeats the identifier of slot 0: it goes by its code.
    if (!item || ctx.menuItems().FindMenuItemByIdent(item->Ident) != item)
        return codeName(code);
    return item->Ident;
}

quint16 hotMenuCode(int list, const QString &text, const SettingsContext &ctx)
{
    if (text.isEmpty())
        return 0; // the place is emptied, as "Удалить пункт" does
    const MenuItemCatalog &catalog = ctx.menuItems();
    const TMKMenuItem *item = nullptr;
    if (const std::optional<int> code = codeText(text))
        item = catalog.FindMenuItemByCode(quint16(*code));
    else
        item = catalog.FindMenuItemByIdent(text);
    if (!item)
        throw Error(ErrorKind::BadValue, QStringLiteral("Нет такого пункта меню: %1").arg(text));
    QStringList offered;
    collectIdents(hotMenuAddEntries(list, ctx.device().Flags.NoAirTempInput), offered);
    for (const QString &ident : offered)
        if (const TMKMenuItem *o = catalog.FindMenuItemByIdent(ident); o && o->Code == item->Code)
            return item->Code;
    throw Error(ErrorKind::BadValue, QStringLiteral("Пункт %1 не предлагается в этом меню.").arg(text));
}

void addHotMenuSettings(std::vector<NamedSetting> &all)
{
    for (int list = 0; list < kHotMenuCount; ++list) {
        for (int row = 0; row < kHotMenuLength; ++row) {
            const int offset = kHotMenuOffset + 2 * (kHotMenuLength * list + row);
            NamedSetting s = special(QStringLiteral("%1.%2").arg(hotMenuName(list)).arg(row), kHotMenuPage,
                                     QStringLiteral("%1, пункт %2").arg(hotMenuCaption(list)).arg(row), kDisplaySection,
                                     wordBytes(offset));
            s.control = special_control::hotMenuGrid(list);
            s.row = row;
            s.read = [offset](const TMK &m, const SettingsContext &ctx) {
                return hotMenuText(m.record(kDisplaySection).u16(offset), ctx);
            };
            s.itemCaption = [offset](const TMK &m, const SettingsContext &ctx) {
                const quint16 code = m.record(kDisplaySection).u16(offset);
                const TMKMenuItem *item = code ? ctx.menuItems().FindMenuItemByCode(code) : nullptr;
                return item ? item->Name : QString();
            };
            // The place takes the item as it stands; the editor closes gaps in a list when it opens
            // (comparisons show the lists so, SettingsDiff.h).
            s.store = [offset, list](TMK &m, const QString &text, SettingsContext &ctx) {
                m.record(kDisplaySection).setU16(offset, hotMenuCode(list, text, ctx));
            };
            all.push_back(s);
        }
    }
}

// --- Additional systems ---------------------------------------------------------------------

constexpr PageId kBlocksPage = PageId::AddSystems;

void addSystemSettings(std::vector<NamedSetting> &all)
{
    const QString showCaption = blocksShowCaption();
    const QStringList showItems = blocksShowItems(), listItems = blocksShowListItems();
    {
        // The choice alone: which systems are polled are the Blocks.* settings.
        NamedSetting s = special(QStringLiteral("BlocksShow"), kBlocksPage, showCaption, kServiceSection,
                                 {{kSystemBitmapOffset, 0x03}});
        s.control = special_control::blocksShow();
        s.actsAsClick = true;
        s.read = [showItems](const TMK &m, const SettingsContext &) {
            const int i = blocksShow(m.record(kServiceSection));
            return i < showItems.size() ? showItems[i] : QString::number(i);
        };
        // As a click on the page: "Все" and "Протокол" choose the listed systems too.
        s.store = [showItems](TMK &m, const QString &text, SettingsContext &ctx) {
            const DeviceModel &device = ctx.device();
            chooseBlocksShow(m.record(kServiceSection), itemOf(text, showItems), ctx.systems(),
                             [&device](quint8 code) { return IsProtocolSystem(device, code); });
        };
        all.push_back(s);
    }
    {
        NamedSetting s = special(QStringLiteral("BlocksShowList"), kBlocksPage, showCaption, kServiceSection,
                                 {{kSystemBitmapOffset, 0x80}});
        s.control = special_control::blocksShowList();
        s.read = [listItems](const TMK &m, const SettingsContext &) {
            return listItems[blocksShowList(m.record(kServiceSection)) & 1];
        };
        s.store = [listItems](TMK &m, const QString &text, SettingsContext &) {
            setBlocksShowList(m.record(kServiceSection), itemOf(text, listItems));
        };
        all.push_back(s);
    }
    // Every system any model lists; a model shows those its own list holds.
    const std::vector<AddSystem> every = buildAddSystemList({true, true, true});
    for (const AddSystem &system : every) {
        const quint8 code = system.code;
        NamedSetting s = special(QStringLiteral("Blocks.") + system.name, kBlocksPage, system.name, kServiceSection,
                                 {{kSystemBitmapOffset + code / 8, quint8(1u << (code % 8))}});
        s.control = special_control::allBlocks();
        s.read = [code](const TMK &m, const SettingsContext &) {
            return isSystemSelected(m.record(kServiceSection), code) ? QStringLiteral("1") : QStringLiteral("0");
        };
        s.itemCaption = [code](const TMK &m, const SettingsContext &) {
            return isSystemSelected(m.record(kServiceSection), code) ? QStringLiteral("вкл") : QStringLiteral("выкл");
        };
        s.store = [code](TMK &m, const QString &text, SettingsContext &) {
            setSystemSelected(m.record(kServiceSection), code, checkText(text));
        };
        s.shown = [code](const TMK &, const SettingsContext &ctx) {
            for (const AddSystem &listed : ctx.systems())
                if (listed.code == code)
                    return true;
            return false;
        };
        all.push_back(s);
    }
}

// --- Tank calibration table -----------------------------------------------------------------

int tableLength(const TMK &m) { return int(shownTarirLength(m.record(kTankTableSection).u8(tank::kTarirLeng))); }

void addTankSettings(std::vector<NamedSetting> &all)
{
    for (int i = 0; i < tank::kTarirMaxLength; ++i) {
        const int lit = tank::kTarirLit + i, code = tank::kTarirCode + 2 * i;
        NamedSetting s = special(QStringLiteral("Tarir.%1").arg(i + 1), PageId::Tank,
                                 QStringLiteral("Тарировка, точка %1 (литры, уе)").arg(i + 1), kTankTableSection,
                                 {{lit, 0xFF}, {code, 0xFF}, {code + 1, 0xFF}});
        s.control = special_control::tankTable();
        s.row = i;
        s.read = [=](const TMK &m, const SettingsContext &) {
            const Record &r = m.record(kTankTableSection);
            return QStringLiteral("%1,%2").arg(r.u8(lit)).arg(r.s16(code));
        };
        // As a row of the grid (the table's own rule).
        s.store = [=](TMK &m, const QString &text, SettingsContext &) {
            const QStringList cells = text.split(QLatin1Char(','));
            if (cells.size() != 2)
                throw Error(ErrorKind::BadValue, QStringLiteral("Ожидается \"литры,уе\"."));
            storeTarirRow(m.record(kTankTableSection), i, checkedTarirRow({cells[0], cells[1]}));
        };
        s.shown = [i](const TMK &m, const SettingsContext &) { return i < tableLength(m); };
        all.push_back(s);
    }
}

} // namespace

std::vector<NamedSetting> specialSettings()
{
    std::vector<NamedSetting> all;
    addColourSettings(all); // the scheme choice first: another preset replaces set 0
    addLayoutSettings(all);
    addHotMenuSettings(all);
    addTankSettings(all);
    addSystemSettings(all);
    return all;
}

} // namespace mk
