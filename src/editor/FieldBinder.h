// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one generic binder of the simple fields: finds each control of the field table by objectName
// under a root widget, loads it from the working records and stores it back on the field's event
// (focus loss, or click and change). A value the field refuses is reported in an error box and the
// control returns to the stored value.
//
// Only values the user changed are stored: tabbing through the dialog never rewrites a byte.

#include "settings/FieldTable.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <array>
#include <functional>
#include <vector>

class QWidget;

namespace mk {

class TMK;

class FieldBinder : public QObject
{
    Q_OBJECT
public:
    // `ctx` is the session's own (SettingsContext::fields()): read at every step, never copied, so
    // that the binder sees what the session's context holds; it outlives the binder.
    FieldBinder(QWidget *root, TMK &model, const FieldContext &ctx, QObject *parent = nullptr);

    // Finds the controls of every row of that binding present under the root, applies ranges
    // and item lists and connects the store events. Rows without a control are skipped.
    void bind(Binding binding = Binding::Generic);
    // The context changed (another protocol): ranges, item lists, disabled items and captions follow.
    void followContext();

    void loadAll();
    void load(FieldId field);
    // Stores every control whose change has not reached the records yet (OK pressed by keyboard).
    void commitPending();
    // Stores what the control holding `focus` has not stored yet (Enter pressed in it).
    void commitAt(QWidget *focus);
    // Shows or hides the controls, their labels and the pages by the table's rules.
    void applyVisibility();

    QWidget *control(FieldId field) const;
    bool isBound(FieldId field) const { return m_index[size_t(field)] >= 0; }
    // By the setting's name (the control's objectName without its prefix); false for no setting.
    bool isBound(const QString &name) const;

signals:
    // A field was stored into the records.
    void stored(FieldId field);

private:
    struct Bound
    {
        const FieldDef *def;
        QPointer<QWidget> widget;
        QPointer<QWidget> label;
        QVariant shown; // the value last put into the control
    };

    void configure(Bound &b);
    void connectStore(Bound &b);
    void loadBound(Bound &b);
    // Stores the control when its value changed; an alarm group takes its pair along.
    void commit(Bound &b, bool withPartner = true);
    bool changed(const Bound &b) const;
    QVariant controlValue(const Bound &b) const;
    void setControlValue(Bound &b, const QVariant &value);
    Bound *boundAt(QWidget *widget);
    void onFocusChanged(QWidget *old, QWidget *now);
    void report(const QString &text);
    // A note (not an error) shown the same way: a typed number stored as another.
    void inform(const QString &text);
    // A number outside the setting's range: the message names the setting and the range.
    void reportRange(const Bound &b, double typed);
    // The setting's caption as its label shows it, without the colon; its name when it has none.
    QString settingCaption(const Bound &b) const;

    QWidget *m_root;
    TMK &m_model;
    const FieldContext &m_ctx;
    std::vector<Bound> m_bound;
    std::array<int, kFieldCount> m_index; // field -> m_bound; -1 for none
    QHash<QWidget *, int> m_byWidget;     // control -> m_bound
    int m_loading = 0;
};

} // namespace mk
