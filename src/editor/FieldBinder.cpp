// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/FieldBinder.h"

#include "base/Error.h"
#include "editor/FieldControls.h"
#include "editor/FieldSpinBox.h"
#include "editor/SettingToolTip.h"
#include "image/TMK.h"
#include "settings/SettingsPages.h"
#include "settings/SpecialCaptions.h"
#include "widgets/MessageBoxes.h"
#include "widgets/RadioGroup.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>
#include <cmath>

namespace mk {

namespace {

// Type limits for spin edits whose table row names no range.
double typeLimit(FieldType type, bool upper)
{
    switch (type) {
    case FieldType::Int8: return upper ? 127 : -128;
    case FieldType::UInt8: return upper ? 255 : 0;
    case FieldType::Int16: return upper ? 32767 : -32768;
    case FieldType::UInt16: return upper ? 65535 : 0;
    default: return upper ? 2147483647.0 : -2147483648.0;
    }
}

// Shows or hides a control; a tab sheet is shown or hidden as a tab of its page control.
void setShown(QWidget *w, bool shown)
{
    auto *stack = qobject_cast<QStackedWidget *>(w->parentWidget());
    auto *tabs = stack ? qobject_cast<QTabWidget *>(stack->parentWidget()) : nullptr;
    if (tabs && tabs->indexOf(w) >= 0)
        tabs->setTabVisible(tabs->indexOf(w), shown);
    else
        w->setVisible(shown);
}

} // namespace

FieldBinder::FieldBinder(QWidget *root, TMK &model, const FieldContext &ctx, QObject *parent)
    : QObject(parent), m_root(root), m_model(model), m_ctx(ctx)
{
    m_index.fill(-1);
    connect(qApp, &QApplication::focusChanged, this, &FieldBinder::onFocusChanged);
}

void FieldBinder::bind(Binding binding)
{
    for (const FieldDef &def : fieldTable()) {
        if (def.binding != binding)
            continue;
        QWidget *w = m_root->findChild<QWidget *>(def.control);
        if (!w)
            continue;
        const QString labelName = labelOf(def);
        QWidget *label = labelName.isEmpty() ? nullptr : m_root->findChild<QWidget *>(labelName);
        m_index[size_t(def.id)] = int(m_bound.size());
        m_byWidget.insert(w, int(m_bound.size()));
        m_bound.push_back({&def, w, label, {}});
        if (def.referenceOnly)
            w->setEnabled(false); // shown for information; the page never stores it
    }
    for (Bound &b : m_bound) {
        configure(b);
        connectStore(b);
    }
}

void FieldBinder::followContext()
{
    for (Bound &b : m_bound)
        configure(b);
}

void FieldBinder::configure(Bound &b)
{
    ++m_loading;
    const FieldDef &def = *b.def;
    if (auto *spin = qobject_cast<QDoubleSpinBox *>(b.widget)) {
        const FieldRange r = rangeOf(def, m_ctx);
        spin->setDecimals(r.decimals);
        if (r.bounded)
            spin->setRange(r.min, r.max);
        else
            spin->setRange(typeLimit(def.type, false), typeLimit(def.type, true));
        spin->setSingleStep(r.step);
    } else if (auto *combo = qobject_cast<QComboBox *>(b.widget)) {
        const QStringList items = itemsOf(def, m_ctx);
        if (combo->count() != items.size() || [&] {
                for (int i = 0; i < items.size(); ++i)
                    if (combo->itemText(i) != items[i])
                        return true;
                return false;
            }()) {
            combo->clear();
            combo->addItems(items);
            if (b.shown.isValid())
                setControlValue(b, b.shown);
        }
    } else if (auto *group = qobject_cast<RadioGroup *>(b.widget)) {
        const QStringList items = itemsOf(def, m_ctx);
        if (group->items() != items) {
            group->setItems(items);
            if (b.shown.isValid())
                setControlValue(b, b.shown);
        }
        for (int i = 0; i < items.size(); ++i)
            group->setItemEnabled(i, itemOffered(def, i, m_ctx));
    }
    if (b.widget) {
        auto *spin = qobject_cast<QDoubleSpinBox *>(b.widget);
        b.widget->setToolTip(settingToolTip(def, m_ctx, spin ? rangeText(*spin) : QString()));
    }
    if (auto *label = qobject_cast<QLabel *>(b.label.data()))
        label->setText(captionOf(def, m_ctx));
    if (def.shown.flag == Flag::X1Parameter)
        if (auto *check = qobject_cast<QCheckBox *>(b.widget))
            check->setText(captionOf(def, m_ctx));
    --m_loading;
}

void FieldBinder::connectStore(Bound &b)
{
    const int index = int(&b - m_bound.data());
    if (auto *spin = qobject_cast<FieldSpinBox *>(b.widget))
        connect(spin, &FieldSpinBox::refused, this,
                [this, index](double typed) { reportRange(m_bound[size_t(index)], typed); });
    if (b.def->storeOn == StoreOn::FocusLoss)
        return; // onFocusChanged
    auto store = [this, index] {
        if (!m_loading)
            commit(m_bound[size_t(index)]);
    };
    if (auto *group = qobject_cast<RadioGroup *>(b.widget))
        connect(group, &RadioGroup::itemClicked, this, store);
    else if (auto *check = qobject_cast<QCheckBox *>(b.widget))
        connect(check, &QCheckBox::toggled, this, store);
    else if (auto *combo = qobject_cast<QComboBox *>(b.widget))
        connect(combo, &QComboBox::currentIndexChanged, this, store);
}

void FieldBinder::loadAll()
{
    for (Bound &b : m_bound)
        loadBound(b);
    applyVisibility();
}

void FieldBinder::load(FieldId field)
{
    if (const int i = m_index[size_t(field)]; i >= 0)
        loadBound(m_bound[size_t(i)]);
}

void FieldBinder::loadBound(Bound &b)
{
    if (!b.widget)
        return;
    // An x1 box without a parameter is hidden and shows unchecked; its bit stays as stored.
    if (b.def->shown.flag == Flag::X1Parameter && !fieldShown(*b.def, m_ctx, m_model))
        setControlValue(b, false);
    else
        setControlValue(b, loadField(*b.def, m_model, m_ctx));
}

bool FieldBinder::isBound(const QString &name) const
{
    const FieldDef *def = findField(name);
    return def && isBound(def->id);
}

QWidget *FieldBinder::control(FieldId field) const
{
    const int i = m_index[size_t(field)];
    return i >= 0 ? m_bound[size_t(i)].widget.data() : nullptr;
}

QVariant FieldBinder::controlValue(const Bound &b) const
{
    QWidget *w = b.widget;
    if (auto *spin = qobject_cast<QDoubleSpinBox *>(w)) {
        spin->interpretText();
        return spin->value();
    }
    if (auto *group = qobject_cast<RadioGroup *>(w))
        return group->itemIndex();
    if (auto *combo = qobject_cast<QComboBox *>(w))
        return combo->currentIndex();
    if (auto *check = qobject_cast<QCheckBox *>(w))
        return check->isChecked();
    if (auto *date = qobject_cast<QDateEdit *>(w))
        return dateToText(date->date());
    if (auto *edit = qobject_cast<QLineEdit *>(w))
        return edit->text();
    return {};
}

void FieldBinder::setControlValue(Bound &b, const QVariant &value)
{
    ++m_loading;
    QWidget *w = b.widget;
    if (auto *spin = qobject_cast<QDoubleSpinBox *>(w))
        spin->setValue(value.toDouble());
    else if (auto *group = qobject_cast<RadioGroup *>(w))
        group->setItemIndex(value.toInt());
    else if (auto *combo = qobject_cast<QComboBox *>(w))
        combo->setCurrentIndex(value.toInt() >= 0 && value.toInt() < combo->count() ? value.toInt() : -1);
    else if (auto *check = qobject_cast<QCheckBox *>(w))
        check->setChecked(value.toBool());
    else if (auto *date = qobject_cast<QDateEdit *>(w)) {
        const QDate d = dateFromText(value.toString());
        date->setDate(d.isValid() ? d : date->minimumDate());
    } else if (auto *edit = qobject_cast<QLineEdit *>(w))
        edit->setText(value.toString());
    // What the control really holds (a spin edit clamps to its range, a date edit to its dates).
    b.shown = controlValue(b);
    --m_loading;
}

bool FieldBinder::changed(const Bound &b) const { return b.widget && controlValue(b) != b.shown; }

void FieldBinder::commit(Bound &b, bool withPartner)
{
    if (!changed(b))
        return;
    const FieldDef &def = *b.def;
    try {
        storeField(def, m_model, controlValue(b), m_ctx);
    } catch (const RangeError &e) {
        const QVariant typed = controlValue(b);
        loadBound(b);
        if (qobject_cast<QDoubleSpinBox *>(b.widget))
            reportRange(b, typed.toDouble());
        else // the store's own words name the value and the range; the setting is added here
            report(QStringLiteral("«%1»: %2").arg(settingCaption(b), e.text()));
        return;
    } catch (const Error &e) {
        loadBound(b);
        // A refused text says which setting it was meant for.
        report(def.conversion == Conversion::Text ? QStringLiteral("%1: %2").arg(settingCaption(b), e.text())
                                                  : e.text());
        return;
    }
    // The control shows what the record now holds (41 km/h is stored as 20 and shows 40), and a
    // number that became another says so.
    const QVariant typed = controlValue(b);
    loadBound(b);
    if (auto *spin = qobject_cast<QDoubleSpinBox *>(b.widget);
        spin && std::abs(typed.toDouble() - b.shown.toDouble()) * std::pow(10.0, spin->decimals()) >= 0.5)
        inform(QStringLiteral("«%1»: введено %2, сохранено %3 (ближайшее значение, которое хранит МК%4).")
                   .arg(settingCaption(b), numberText(*spin, typed.toDouble()), numberText(*spin, b.shown.toDouble()),
                        spin->singleStep() == 1
                            ? QString()
                            : QStringLiteral(", шаг %1").arg(numberText(*spin, spin->singleStep()))));
    // Storing either group of an alarm pair stores the pair.
    if (withPartner && def.partner &&
        (def.conversion == Conversion::AlarmFirst || def.conversion == Conversion::AlarmNext))
        if (const int partner = m_index[size_t(*def.partner)]; partner >= 0)
            commit(m_bound[size_t(partner)], false);
    applyVisibility();
    emit stored(def.id);
}

void FieldBinder::commitPending()
{
    for (Bound &b : m_bound)
        if (b.def->storeOn == StoreOn::FocusLoss)
            commit(b);
}

void FieldBinder::commitAt(QWidget *focus)
{
    if (Bound *b = focus ? boundAt(focus) : nullptr; b && b->def->storeOn == StoreOn::FocusLoss)
        commit(*b);
}

FieldBinder::Bound *FieldBinder::boundAt(QWidget *widget)
{
    for (QWidget *w = widget; w && w != m_root; w = w->parentWidget())
        if (m_byWidget.contains(w))
            return &m_bound[size_t(m_byWidget.value(w))];
    return nullptr;
}

void FieldBinder::onFocusChanged(QWidget *old, QWidget *now)
{
    Bound *left = old ? boundAt(old) : nullptr;
    if (!left || left->def->storeOn != StoreOn::FocusLoss || (now && boundAt(now) == left))
        return;
    commit(*left);
}

void FieldBinder::report(const QString &text)
{
    // Shown after the focus change that caused it has finished.
    QPointer<QWidget> parent = m_root;
    QTimer::singleShot(0, this, [parent, text] { showError(parent, text); });
}

void FieldBinder::inform(const QString &text)
{
    QPointer<QWidget> parent = m_root;
    QTimer::singleShot(0, this, [parent, text] { showInformation(parent, text); });
}

void FieldBinder::reportRange(const Bound &b, double typed)
{
    auto *spin = qobject_cast<QDoubleSpinBox *>(b.widget);
    if (!spin)
        return;
    report(QStringLiteral("%1: «%2» принимает значения %3 (введено %4).")
               .arg(RangeError::caption(), settingCaption(b), rangeText(*spin), numberText(*spin, typed)));
}

QString FieldBinder::settingCaption(const Bound &b) const
{
    const QString setting = bareCaption(captionOf(*b.def, m_ctx));
    return setting.isEmpty() ? b.def->name : setting;
}

void FieldBinder::applyVisibility()
{
    for (Bound &b : m_bound) {
        const bool shown = fieldShown(*b.def, m_ctx, m_model);
        if (b.widget)
            setShown(b.widget, shown);
        if (b.label)
            setShown(b.label, shown);
    }
    for (const ControlRule &rule : controlRules())
        if (QWidget *w = m_root->findChild<QWidget *>(rule.control))
            setShown(w, conditionHolds(rule.shown, m_ctx, m_model));
    for (const SettingsPage &page : settingsPages())
        if (QWidget *sheet = m_root->findChild<QWidget *>(page.tab))
            setShown(sheet, conditionHolds(page.shown, m_ctx, m_model));
}

} // namespace mk
