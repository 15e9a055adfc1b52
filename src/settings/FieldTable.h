// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The simple settings of the editor as data: one row per control that edits bytes of sections 0..10.
//
// A row names the setting (the control's name without its kind prefix), the control, where the value
// lives in the records, how the number the control shows converts to the stored value, the control's
// range and when the control is shown. The editor's binder, mktool dump/set/diff and the tests all
// work from this one table (rows in FieldTableData.cpp).

#include "catalogs/FeatureFlags.h"
#include "catalogs/ProtocolControls.h"
#include "settings/FieldId.h"
#include "settings/PageId.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <array>
#include <optional>
#include <vector>

namespace mk {

class TMK;

enum class ControlKind : quint8 {
    SpinEdit,   // number; QVariant double
    RadioGroup, // item index; QVariant int
    ComboBox,   // item index; QVariant int
    CheckBox,   // QVariant bool
    Edit,       // free text; QVariant QString
    DateEdit,   // "dd.mm.yy"; QVariant QString
    TimeEdit,   // "hh:mm"; QVariant QString
};

enum class FieldType : quint8 { Int8, UInt8, Int16, UInt16, Int32, UInt32, UInt64, Float32, Bytes };

enum class Conversion : quint8 {
    Scaled,           // stored = round(v × scale), ties to even; shown = stored / scale
    CorrectionFactor, // float32 1 + v/100; shown with one decimal of percent
    ItemIndex,        // stored = item index + param (param is 0 or −1)
    ProtocolIndex,    // item index; a changed index also copies it to offset 6 and zeroes the sub-types
    Checked,          // 1 checked, 0 not
    FlagBit,          // bit `param` of the word: set when checked or for item 1
    ServiceUseBit,    // like FlagBit; clearing a bit also clears bits 12..15
    AlarmFirst,       // bits 0..2 of the alarm byte; byte = F + 8 × N, or 9 × F without a second group
    AlarmNext,        // bits 3..5 of the alarm byte
    ForsCoef,         // items "1", "2", "4" store 1, 2, 4; loading shows item 2 for any other value
    ServiceCounter,   // round(v × 10) on single-counter models, else round(v)
    DayNumber,        // "dd.mm.yy" as a day number since 2000
    Minutes,          // "hh:mm" as minutes since midnight
    Text,             // zero-terminated Windows-1251 text in `param` bytes
};

enum class StoreOn : quint8 {
    FocusLoss, // spin edits, edits, dates, times, alarm groups, "Средние" combo boxes, "ТО" check boxes
    Change,    // click or change: other radio groups, check boxes and combo boxes
};

// Which code binds a control: the frame's generic binder, the protocol page's own logic, or a
// generic binder that the tank page keeps for its sheet (its grid follows the stored values).
enum class Binding : quint8 { Generic, ProtocolPage, TankPage };

// What a condition tests: a feature flag of the device model, a fact of its current protocol, or
// one of a few values of other fields. The first two come from their tables (MK_FEATURE_FLAGS,
// MK_PROTOCOL_FACTS), so a flag added there can be named here at once.
enum class Flag : quint8 {
    Always, // always set: when(Always) always holds, unless(Always) never
#define MK_FLAG_ENUMERATOR(name, ...) name,
    MK_FEATURE_FLAGS(MK_FLAG_ENUMERATOR) MK_PROTOCOL_FACTS(MK_FLAG_ENUMERATOR)
#undef MK_FLAG_ENUMERATOR
    // Values of other fields, read from the records as they are now.
    VirtualLock,      // Flags bit 0: the lock is virtual
    GabaritFromEcu,   // Flags bit 5: the side lights come from the ECU
    InjectorMeasured, // RevolutionsMeth, ExpenseMeth or GasMeth is non-zero
    // Set per row, from the row's `param`; only fieldShown() tells them.
    X1Parameter,      // the x1 display box `param` has a parameter of the current protocol
    CalibrationPoint, // point `param` of the 7-point calibration is within OilCalibrQuant
};

// When a control is shown (and when a field takes its alternative range): while a flag is set,
// or while it is clear.
struct Condition
{
    Flag flag = Flag::Always;
    bool set = true; // false: holds while the flag is clear

    bool operator==(const Condition &) const = default;
};
constexpr Condition when(Flag flag) { return {flag, true}; }
constexpr Condition unless(Flag flag) { return {flag, false}; }
constexpr Condition kNever = unless(Flag::Always);

// What the editor knows about the device model and the current protocol when it opens.
struct FieldContext
{
    FeatureFlags flags;        // of the device model
    ProtocolControls protocol; // of its current protocol; all clear without one

    // Item lists that the model and the current protocol decide.
    QStringList protocolNames;               // cbProtocol: the model's protocol list
    QStringList selectMethods;               // cbProtocolSelectMeth
    QStringList tankMethItems;               // cbTankMeth
    std::array<QStringList, 8> subTypeItems; // cbProtTypeMain, cbProtTypeAdd1..7
    std::array<QString, 8> subTypeCaptions;  // their labels, named by the current protocol
    QStringList x1Names;                     // captions of the x1 display boxes: the protocol's measured parameters
};

struct FieldRange
{
    double min = 0;
    double max = 0;
    double step = 1;
    int decimals = 0;
    bool bounded = false; // false: the control itself does not limit the value
};

struct FieldDef
{
    FieldId id = FieldId::AllPathStart; // the row
    QString name;                       // the setting, e.g. "VelocityLimit": fieldName(id)
    QString control;                    // objectName of the control, e.g. "seVelocityLimit"
    PageId page = PageId::Corrections;  // the page that holds the control
    QString caption;                    // label, check-box or radio-group caption
    ControlKind kind = ControlKind::SpinEdit;
    int section = 0;
    int offset = 0;
    FieldType type = FieldType::UInt8;
    Conversion conversion = Conversion::Scaled;
    double scale = 1; // Scaled
    int param = 0;    // bit number, index shift or text area size
    FieldRange range;
    Condition altRangeWhen = kNever; // the context in which altRange applies
    FieldRange altRange;
    QString altCaption; // the caption in that context, when it changes too
    StoreOn storeOn = StoreOn::Change;
    Binding binding = Binding::Generic;
    Condition shown = when(Flag::Always);
    QStringList items;              // fixed item captions; empty when a page fills the list
    std::optional<FieldId> partner; // the other group of an alarm pair, the other point of the ADC pair
    bool referenceOnly = false;     // shown for reference: the page never stores it
    // What the page makes of a stored number it cannot show (it resets it when it loads); every
    // reader shows the same. nullptr: shown as stored.
    qint64 (*pageValue)(qint64 stored) = nullptr;
};

// Every row, in page order.
const std::vector<FieldDef> &fieldTable();
// The row of that id (every id has one: FieldTable.EveryIdHasExactlyOneRow).
const FieldDef &fieldDef(FieldId id);
// By the setting's name, as mktool, profiles and files give it; nullptr when no row has that name.
const FieldDef *findField(const QString &name);
const FieldDef *findFieldByControl(const QString &control);

// Controls that are no field (labels, pages) but are shown or hidden by a rule.
struct ControlRule
{
    QString control;
    Condition shown;
};
const std::vector<ControlRule> &controlRules();

// The label that belongs to a field's control ("lVelocityLimit", "lapVel"), empty for none.
QString labelOf(const FieldDef &def);

// Whether the condition holds for this model and these records (X1Parameter and CalibrationPoint
// count as set: they need the row).
bool conditionHolds(Condition condition, const FieldContext &ctx, const TMK &model);
// Whether the field's control is shown (its rule, with the x1 boxes counted against the protocol;
// on the protocol page the protocol list only with manual selection, sub-types that offer items).
bool fieldShown(const FieldDef &def, const FieldContext &ctx, const TMK &model);
FieldRange rangeOf(const FieldDef &def, const FieldContext &ctx);
// The caption in this context (the x1 boxes are named after the protocol's parameters).
QString captionOf(const FieldDef &def, const FieldContext &ctx);
// The item captions the control offers in this context.
QStringList itemsOf(const FieldDef &def, const FieldContext &ctx);
// Whether item `index` can be chosen in this context: the control shows the others disabled.
bool itemOffered(const FieldDef &def, int index, const FieldContext &ctx);

// The value the control shows for the stored bytes: double for spin edits, int (item index) for
// radio groups and combo boxes, bool for check boxes, QString for texts, dates and times.
QVariant loadField(const FieldDef &def, const TMK &model, const FieldContext &ctx);
// The stored number when the page shows another (pageValue); nothing when it shows it as stored.
std::optional<qint64> storedUnshown(const FieldDef &def, const TMK &model);
// Converts the shown value and stores it at once. Throws RangeError when the converted value does
// not fit the field's type, Error for a malformed date or time or a refused ADC point; the records
// are untouched on failure.
void storeField(const FieldDef &def, TMK &model, const QVariant &value, const FieldContext &ctx);

// The bits of the record a field stores: one entry per byte, with the bits of that byte it owns
// (a flag bit owns one bit of its word, an alarm group three bits of its byte).
struct FieldByte
{
    int offset;
    quint8 bits;
};
std::vector<FieldByte> fieldBytes(const FieldDef &def);
// Whether those bits differ between two copies of a record (bytes past either copy's end count as
// alike), and copying them from one copy into another, every other bit kept.
bool fieldBitsDiffer(const QByteArray &a, const QByteArray &b, const std::vector<FieldByte> &bytes);
void copyFieldBits(QByteArray &to, const QByteArray &from, const std::vector<FieldByte> &bytes);

// Text forms for tools: the value as the editor shows it, and back. parseFieldText also applies the
// control's range and item list; it throws Error with a Russian message.
QString fieldText(const FieldDef &def, const QVariant &value, const FieldContext &ctx);
QVariant parseFieldText(const FieldDef &def, const QString &text, const FieldContext &ctx);

} // namespace mk
