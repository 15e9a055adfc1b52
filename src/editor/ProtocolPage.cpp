// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/ProtocolPage.h"

#include "base/Error.h"
#include "catalogs/DeviceModel.h"
#include "editor/FieldControls.h"
#include "image/TMK.h"
#include "settings/FieldTable.h"
#include "widgets/MessageBoxes.h"

#include <QComboBox>
#include <QLabel>

namespace mk {

namespace {

void select(QComboBox *combo, int index) { combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1); }

} // namespace

// The controls are those the page's layout made for these fields (buildSourcesPage).
ProtocolPage::ProtocolPage(QWidget *tabSheet, EditorHost &host) : EditorPage(tabSheet, host)
{
    const BuiltFields &built = BuiltFields::of(tabSheet);
    const auto combo = [&](FieldId field) { return static_cast<QComboBox *>(built.control(field)); };
    m_selectMeth = combo(FieldId::ProtocolSelectMeth);
    m_protocol = combo(FieldId::Protocol);
    m_protocolLabel = built.label(FieldId::Protocol);
    for (int s = 0; s < int(kProtocolSubTypeFields.size()); ++s) {
        m_subTypes[size_t(s)] = combo(kProtocolSubTypeFields[size_t(s)]);
        m_subTypeLabels[size_t(s)] = built.label(kProtocolSubTypeFields[size_t(s)]);
        connect(m_subTypes[size_t(s)], &QComboBox::activated, this, [this, s](int index) { subTypeChosen(s, index); });
    }
    // activated: the user's choices only, never the lists being filled.
    connect(m_selectMeth, &QComboBox::activated, this, &ProtocolPage::selectMethChosen);
    connect(m_protocol, &QComboBox::activated, this, &ProtocolPage::protocolChosen);
}

void ProtocolPage::load()
{
    const FieldContext &ctx = host().context();
    const TMK &model = host().model();
    m_selectMeth->clear();
    m_selectMeth->addItems(ctx.selectMethods);
    select(m_selectMeth, loadField(fieldDef(FieldId::ProtocolSelectMeth), model, ctx).toInt());
    m_protocol->clear();
    m_protocol->addItems(ctx.protocolNames);
    // A stored index past the model's list selects nothing; the page keeps working.
    select(m_protocol, loadField(fieldDef(FieldId::Protocol), model, ctx).toInt());
    showManualChoice();
    refresh();
}

void ProtocolPage::protocolChanged()
{
    select(m_protocol, loadField(fieldDef(FieldId::Protocol), host().model(), host().context()).toInt());
    refresh();
}

// What the page shows follows the rules that decide whether mktool and profiles may set a
// setting (fieldShown, the shown rule of its named setting), so the two never disagree.
void ProtocolPage::showManualChoice()
{
    // The protocol list counts only when the last method ("Руч.") is chosen.
    const bool manual = fieldShown(fieldDef(FieldId::Protocol), host().context(), host().model());
    m_protocol->setVisible(manual);
    m_protocolLabel->setVisible(manual);
}

void ProtocolPage::refresh()
{
    const FieldContext &ctx = host().context();
    for (int s = 0; s < 8; ++s) {
        const FieldDef &def = fieldDef(kProtocolSubTypeFields[size_t(s)]);
        QComboBox *combo = m_subTypes[size_t(s)];
        m_subTypeLabels[size_t(s)]->setText(captionOf(def, ctx));
        combo->clear();
        combo->addItems(itemsOf(def, ctx));
        select(combo, loadField(def, host().model(), ctx).toInt());
        // A selector the protocol does not use has nothing to offer.
        const bool shown = fieldShown(def, ctx, host().model());
        combo->setVisible(shown);
        m_subTypeLabels[size_t(s)]->setVisible(shown);
    }
}

bool ProtocolPage::store(FieldId field, int index)
{
    try {
        storeField(fieldDef(field), host().model(), index, host().context());
        return true;
    } catch (const Error &e) {
        showError(host().dialog(), e.text());
        return false;
    }
}

void ProtocolPage::selectMethChosen(int index)
{
    if (!store(FieldId::ProtocolSelectMeth, index))
        select(m_selectMeth,
               loadField(fieldDef(FieldId::ProtocolSelectMeth), host().model(), host().context()).toInt());
    showManualChoice();
}

void ProtocolPage::protocolChosen(int index)
{
    try {
        host().changeProtocol(index);
    } catch (const Error &e) {
        showError(host().dialog(), e.text());
    }
    protocolChanged();
}

void ProtocolPage::subTypeChosen(int selector, int index)
{
    const FieldId field = kProtocolSubTypeFields[size_t(selector)];
    if (!store(field, index))
        select(m_subTypes[size_t(selector)], loadField(fieldDef(field), host().model(), host().context()).toInt());
}

} // namespace mk
