// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/ProtocolPage.h"

#include "base/Error.h"
#include "catalogs/DeviceModel.h"
#include "image/TMK.h"
#include "settings/FieldTable.h"
#include "widgets/MessageBoxes.h"

#include <QComboBox>
#include <QLabel>

namespace mk {

namespace {

using namespace Qt::StringLiterals;

const QString kSelectMeth = u"ProtocolSelectMeth"_s;
const QString kProtocol = u"Protocol"_s;

QString subTypeField(int selector)
{
    return selector == 0 ? u"ProtTypeMain"_s : u"ProtTypeAdd"_s + QString::number(selector);
}

template<class W>
W *child(QWidget *page, const QString &name)
{
    W *w = page->findChild<W *>(name);
    if (!w)
        qFatal("Protocol control %s missing", qPrintable(name));
    return w;
}

void select(QComboBox *combo, int index) { combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1); }

} // namespace

ProtocolPage::ProtocolPage(QWidget *tabSheet, EditorHost &host) : EditorPage(tabSheet, host)
{
    m_selectMeth = child<QComboBox>(tabSheet, u"cbProtocolSelectMeth"_s);
    m_protocol = child<QComboBox>(tabSheet, u"cbProtocol"_s);
    m_protocolLabel = child<QLabel>(tabSheet, u"lProtocol"_s);
    for (int s = 0; s < 8; ++s) {
        m_subTypes[size_t(s)] = child<QComboBox>(tabSheet, u"cb"_s + subTypeField(s));
        m_subTypeLabels[size_t(s)] = child<QLabel>(tabSheet, u"l"_s + subTypeField(s));
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
    select(m_selectMeth, loadField(*findField(kSelectMeth), model, ctx).toInt());
    m_protocol->clear();
    m_protocol->addItems(ctx.protocolNames);
    // A stored index past the model's list selects nothing; the page keeps working.
    select(m_protocol, loadField(*findField(kProtocol), model, ctx).toInt());
    showManualChoice();
    refresh();
}

void ProtocolPage::protocolChanged()
{
    select(m_protocol, loadField(*findField(kProtocol), host().model(), host().context()).toInt());
    refresh();
}

// What the page shows follows the rules that decide whether mktool and profiles may set a
// setting (fieldShown, the shown rule of its named setting), so the two never disagree.
void ProtocolPage::showManualChoice()
{
    // The protocol list counts only when the last method ("Руч.") is chosen.
    const bool manual = fieldShown(*findField(kProtocol), host().context(), host().model());
    m_protocol->setVisible(manual);
    m_protocolLabel->setVisible(manual);
}

void ProtocolPage::refresh()
{
    const FieldContext &ctx = host().context();
    for (int s = 0; s < 8; ++s) {
        const FieldDef &def = *findField(subTypeField(s));
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

bool ProtocolPage::store(const QString &field, int index)
{
    try {
        storeField(*findField(field), host().model(), index, host().context());
        return true;
    } catch (const Error &e) {
        showError(host().dialog(), e.text());
        return false;
    }
}

void ProtocolPage::selectMethChosen(int index)
{
    if (!store(kSelectMeth, index))
        select(m_selectMeth, loadField(*findField(kSelectMeth), host().model(), host().context()).toInt());
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
    if (!store(subTypeField(selector), index))
        select(m_subTypes[size_t(selector)],
               loadField(*findField(subTypeField(selector)), host().model(), host().context()).toInt());
}

} // namespace mk
