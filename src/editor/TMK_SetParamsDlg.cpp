// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/TMK_SetParamsDlg.h"

#include "catalogs/DeviceModel.h"
#include "editor/EditorComfort.h"
#include "editor/FieldBinder.h"
#include "editor/TabOrder.h"
#include "settings/EditSession.h"
#include "settings/SettingsPages.h"
#include "widgets/MessageBoxes.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

namespace mk {

namespace {

using namespace Qt::StringLiterals;

} // namespace

TMK_SetParamsDlg::TMK_SetParamsDlg(EditSession &session, QWidget *parent) : QDialog(parent), m_session(session)
{
    setObjectName(u"MK_SetParamsDlg"_s);
    setWindowTitle(u"Настройки МК"_s);
    // The pages are drawn for kWidth × kHeight. On a smaller screen (1280 × 1024 at 150 % leaves
    // 853 × 683) the pages scroll inside the window and the buttons below them stay in view.
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(u"saPages"_s);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    m_main = new QTabWidget;
    m_main->setObjectName(u"pcMain"_s);
    scroll->setWidget(m_main);
    layout->addWidget(scroll, 1);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton *ok = buttons->button(QDialogButtonBox::Ok);
    ok->setObjectName(u"bOk"_s);
    ok->setText(u"OK"_s);
    ok->setAutoDefault(false);
    buttons->button(QDialogButtonBox::Cancel)->setAutoDefault(false);
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(u"bCancel"_s);
    connect(buttons, &QDialogButtonBox::accepted, this, &TMK_SetParamsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TMK_SetParamsDlg::reject);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(buttons);
    layout->addLayout(buttonRow);

    buildPages();
    applyNaturalTabOrder(this);
    openPages();
    m_comfort = new EditorComfort(*this, m_session.model(), buttonRow);

    // The pages keep their full size; the window is that size at most, and as small as its
    // button row at least.
    const QMargins margins = layout->contentsMargins();
    m_main->setMinimumSize(kWidth - margins.left() - margins.right(), kHeight - margins.top() - margins.bottom() -
                                                                          layout->spacing() -
                                                                          buttonRow->sizeHint().height());
    setMaximumSize(kWidth, kHeight);
    setMinimumSize(buttonRow->minimumSize().width() + margins.left() + margins.right(), kHeight / 2);
    resize(kWidth, kHeight);

    auto *okByKeys = new QAction(this);
    okByKeys->setObjectName(u"miOkByKeys"_s);
    okByKeys->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
    okByKeys->setShortcutContext(Qt::WindowShortcut);
    connect(okByKeys, &QAction::triggered, this, &TMK_SetParamsDlg::accept);
    addAction(okByKeys);
    ok->setToolTip(u"Ctrl+Enter"_s);
}

TMK_SetParamsDlg::~TMK_SetParamsDlg() = default;

QWidget *TMK_SetParamsDlg::addTab(QTabWidget *tabs, const SettingsPage &page)
{
    auto *sheet = new QWidget;
    sheet->setObjectName(page.tab);
    tabs->addTab(sheet, page.caption);
    return sheet;
}

void TMK_SetParamsDlg::buildPages()
{
    // The table puts a page that holds others before them (settings/SettingsPages.cpp).
    std::array<QWidget *, kPageCount> sheets{};
    for (const SettingsPage &page : settingsPages()) {
        QWidget *sheet = addTab(page.parent ? m_disp : m_main, page);
        sheets[size_t(page.id)] = sheet;
        if (const SimplePageBuild build = simplePageBuilder(page.id)) {
            build(sheet);
        } else if (page.id == PageId::Display) {
            auto *l = new QVBoxLayout(sheet);
            l->setContentsMargins(4, 4, 4, 4);
            m_disp = new QTabWidget(sheet);
            m_disp->setObjectName(u"pcDisp"_s);
            l->addWidget(m_disp);
        }
    }

    m_binder = new FieldBinder(this, m_session.model(), context(), this);
    m_binder->bind();

    for (const PageEntry &entry : specialPages()) {
        Page p{entry.page, nullptr};
        if (entry.page && entry.factory)
            p.page = entry.factory(sheets[size_t(*entry.page)], *this);
        m_pages.push_back(std::move(p));
    }
    connect(m_main, &QTabWidget::currentChanged, this, &TMK_SetParamsDlg::currentPageChanged);
    connect(m_disp, &QTabWidget::currentChanged, this, &TMK_SetParamsDlg::currentPageChanged);
}

void TMK_SetParamsDlg::openPages()
{
    // Model-dependent visibility, then the first page of every page control, then the values.
    m_binder->applyVisibility();
    for (QTabWidget *tabs : findChildren<QTabWidget *>())
        tabs->setCurrentIndex(0);
    reloadAll();
    currentPageChanged();
}

void TMK_SetParamsDlg::reloadAll()
{
    for (Page &p : m_pages) {
        if (p.page)
            p.page->load();
        else
            m_binder->loadAll();
    }
}

void TMK_SetParamsDlg::reloadField(FieldId field) { m_binder->load(field); }

void TMK_SetParamsDlg::changeProtocol(int index)
{
    if (!m_session.context().chooseProtocol(m_session.model(), index))
        return;
    m_binder->followContext();
    m_binder->loadAll();
    for (Page &p : m_pages)
        if (p.page)
            p.page->protocolChanged();
}

void TMK_SetParamsDlg::followRecords()
{
    if (m_session.context().followProtocol(m_session.model())) {
        m_binder->followContext();
        for (Page &p : m_pages)
            if (p.page)
                p.page->protocolChanged();
    }
    reloadAll();
}

TMK &TMK_SetParamsDlg::model() { return m_session.model(); }

const DeviceModel &TMK_SetParamsDlg::device() const { return m_session.device(); }

const FieldContext &TMK_SetParamsDlg::context() const { return m_session.context().fields(); }

const SettingsContext &TMK_SetParamsDlg::settings() const { return m_session.context(); }

const MeasParCatalog &TMK_SetParamsDlg::measPars() const { return m_session.measPars(); }

const MenuItemCatalog &TMK_SetParamsDlg::menuItems() const { return m_session.menuItems(); }

EditorPage *TMK_SetParamsDlg::page(const QString &tabSheet) const
{
    for (const Page &p : m_pages)
        if (p.id && pageTab(*p.id) == tabSheet)
            return p.page.get();
    return nullptr;
}

void TMK_SetParamsDlg::currentPageChanged()
{
    QWidget *current = m_main->currentWidget();
    if (current && current->objectName() == pageTab(PageId::Display))
        current = m_disp->currentWidget();
    EditorPage *now = current ? page(current->objectName()) : nullptr;
    if (now == m_activePage)
        return;
    if (m_activePage)
        m_activePage->deactivated();
    m_activePage = now;
    if (m_activePage)
        m_activePage->activated();
}

void TMK_SetParamsDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // The button box makes its accept button the default when shown; in the editor no button is
    // one, so that Enter in a field never closes it.
    for (QPushButton *b : findChildren<QPushButton *>())
        b->setDefault(false);
}

void TMK_SetParamsDlg::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter) {
        QDialog::keyPressEvent(event);
        return;
    }
    // A field has taken what it needs of the key (a spin box interprets its text) and passed it on.
    // Only a focused push button acts on it, as a click; a field stores what it holds.
    QWidget *focus = QApplication::focusWidget();
    auto *button = qobject_cast<QPushButton *>(focus);
    if (button && isAncestorOf(button) && button->isEnabled() && !(event->modifiers() & Qt::ControlModifier))
        button->click();
    else if (focus && isAncestorOf(focus))
        m_binder->commitAt(focus);
    event->accept();
}

void TMK_SetParamsDlg::accept()
{
    // OK by the keyboard leaves the focused control without a focus change.
    m_binder->commitPending();
    for (Page &p : m_pages)
        if (p.page)
            p.page->store();
    QDialog::accept();
}

void TMK_SetParamsDlg::reject()
{
    // The pages store what they hold so that the count sees every change; the transaction
    // restores the records on Cancel whatever was stored.
    m_binder->commitPending();
    for (Page &p : m_pages)
        if (p.page)
            p.page->store();
    const int changes = m_comfort ? m_comfort->changeCount() : 0;
    // Enter in the question keeps the edits: Esc then Enter must not throw them away.
    if (changes > 0 && !askYesNo(this, u"Отменить изменения (%1)?"_s.arg(changes), true))
        return;
    QDialog::reject();
}

} // namespace mk
