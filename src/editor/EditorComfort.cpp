// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/EditorComfort.h"

#include "base/Error.h"
#include "editor/EditHistory.h"
#include "editor/FieldBinder.h"
#include "editor/SearchBox.h"
#include "editor/SettingToolTip.h"
#include "editor/TMK_SetParamsDlg.h"
#include "image/TMK.h"
#include "settings/FieldTable.h"
#include "settings/SpecialCaptions.h"
#include "widgets/MessageBoxes.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QUndoStack>

namespace mk {

namespace {

constexpr int kFlashMs = 1500;
constexpr int kPollMs = 400;
constexpr double kDimmed = 0.35;

const RecordSet &factoryRecords()
{
    static const RecordSet records = takeRecords(factoryModel());
    return records;
}

bool isUndoKey(const QKeyEvent *e, bool *redo)
{
    const QKeySequence k(e->keyCombination());
    *redo = k == QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z) || k == QKeySequence(Qt::CTRL | Qt::Key_Y);
    return *redo || k == QKeySequence(Qt::CTRL | Qt::Key_Z);
}

void setDimmed(QWidget *w, bool dimmed)
{
    if (!w)
        return;
    auto *effect = qobject_cast<QGraphicsOpacityEffect *>(w->graphicsEffect());
    if (dimmed && !effect) {
        effect = new QGraphicsOpacityEffect(w);
        effect->setOpacity(kDimmed);
        w->setGraphicsEffect(effect);
    } else if (!dimmed && effect) {
        w->setGraphicsEffect(nullptr);
    }
}

} // namespace

EditorComfort::EditorComfort(TMK_SetParamsDlg &dialog, TMK &model, QHBoxLayout *buttonRow)
    : QObject(&dialog), m_dialog(dialog), m_model(model)
{
    setObjectName(QStringLiteral("editorComfort"));
    m_history = new EditHistory(
        model, [this] { m_dialog.followRecords(); },
        [this](const RecordSet &before, const RecordSet &after) { return describe(before, after); }, this);
    connect(m_history, &EditHistory::recordsChanged, this, &EditorComfort::refresh);
    connect(&m_dialog.binder(), &FieldBinder::stored, this, &EditorComfort::scheduleCheckpoint);

    buildBar(buttonRow);
    attachControls();

    // One filter for the whole editor: clicks, keys and focus changes may have stored something,
    // right clicks on a setting open its menu, and the undo keys are the editor's. The poll
    // catches what a page stores after a menu of its own has closed.
    qApp->installEventFilter(this);
    m_poll = new QTimer(this);
    m_poll->setInterval(kPollMs);
    connect(m_poll, &QTimer::timeout, this, [this] {
        if (m_dialog.isVisible())
            m_history->checkpoint();
    });
    m_poll->start();
    refresh();
}

EditorComfort::~EditorComfort()
{
    qApp->removeEventFilter(this);
    // The history's stack is cleared when it goes, after this object; nothing may hear that.
    m_history->stack()->disconnect();
}

void EditorComfort::buildBar(QHBoxLayout *row)
{
    auto *bar = new QHBoxLayout;
    bar->setSpacing(6);
    m_search = new SearchBox(
        &m_dialog, [this](const QString &text) { return find(text); }, [this](const NamedSetting &s) { jumpTo(s); });
    bar->addWidget(m_search->field());

    QUndoStack *stack = m_history->stack();
    m_undo = new QAction(QStringLiteral("Отменить"), &m_dialog);
    m_undo->setObjectName(QStringLiteral("miUndo"));
    m_undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_redo = new QAction(QStringLiteral("Повторить"), &m_dialog);
    m_redo->setObjectName(QStringLiteral("miRedo"));
    m_redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    for (QAction *a : {m_undo, m_redo}) {
        a->setShortcutContext(Qt::WindowShortcut);
        a->setEnabled(false);
        m_dialog.addAction(a);
    }
    connect(m_undo, &QAction::triggered, this, &EditorComfort::undo);
    connect(m_redo, &QAction::triggered, this, &EditorComfort::redo);
    connect(stack, &QUndoStack::canUndoChanged, m_undo, &QAction::setEnabled);
    connect(stack, &QUndoStack::canRedoChanged, m_redo, &QAction::setEnabled);
    const auto name = [](QAction *a, const QString &verb, const QString &step, const QString &keys) {
        a->setText(step.isEmpty() ? verb : QStringLiteral("%1 %2").arg(verb, step));
        a->setToolTip(step.isEmpty() ? QStringLiteral("%1 (%2)").arg(verb, keys)
                                     : QStringLiteral("%1: %2 (%3)").arg(verb, step, keys));
    };
    connect(stack, &QUndoStack::undoTextChanged, m_undo, [name, undo = m_undo](const QString &t) {
        name(undo, QStringLiteral("Отменить"), t, QStringLiteral("Ctrl+Z"));
    });
    connect(stack, &QUndoStack::redoTextChanged, m_redo, [name, redo = m_redo](const QString &t) {
        name(redo, QStringLiteral("Повторить"), t, QStringLiteral("Ctrl+Shift+Z"));
    });
    name(m_undo, QStringLiteral("Отменить"), {}, QStringLiteral("Ctrl+Z"));
    name(m_redo, QStringLiteral("Повторить"), {}, QStringLiteral("Ctrl+Shift+Z"));
    for (QAction *a : {m_undo, m_redo}) {
        // The button keeps its short caption; the step it would undo is named in its tool tip.
        auto *button = new QToolButton(&m_dialog);
        button->setObjectName(a == m_undo ? QStringLiteral("bUndo") : QStringLiteral("bRedo"));
        button->setText(a == m_undo ? QStringLiteral("Отменить") : QStringLiteral("Повторить"));
        button->setFocusPolicy(Qt::NoFocus); // pressing it leaves the focused control alone
        const auto follow = [button, a] {
            button->setEnabled(a->isEnabled());
            button->setToolTip(a->toolTip());
        };
        follow();
        connect(a, &QAction::changed, button, follow);
        connect(button, &QToolButton::clicked, a, &QAction::trigger);
        bar->addWidget(button);
    }

    m_onlyChanged = new QCheckBox(QStringLiteral("Только изменённые"), &m_dialog);
    m_onlyChanged->setObjectName(QStringLiteral("cbOnlyChanged"));
    connect(m_onlyChanged, &QCheckBox::toggled, this, &EditorComfort::updateDimming);
    bar->addWidget(m_onlyChanged);
    bar->addStretch(1);
    row->insertLayout(0, bar, 1);

    auto *findAction = new QAction(&m_dialog);
    findAction->setObjectName(QStringLiteral("miFind"));
    findAction->setShortcut(QKeySequence::Find);
    connect(findAction, &QAction::triggered, m_search, &SearchBox::activate);
    m_dialog.addAction(findAction);
}

void EditorComfort::attachControls()
{
    // The simple settings, each marked on its own control; a special page's parts share their grids
    // and previews, so they count on the page's tab only.
    for (const NamedSetting &s : namedSettings()) {
        if (!s.field)
            continue;
        QWidget *control = m_dialog.findChild<QWidget *>(s.control);
        if (!control || !control->parentWidget())
            continue;
        const QString labelName = labelOf(*s.field);
        QWidget *label = labelName.isEmpty() ? nullptr : m_dialog.findChild<QWidget *>(labelName);
        const int index = int(m_marked.size());
        m_marked.push_back({s.field, control, label, new ChangeMarker(control, label ? label : control), s.bytes});
        m_byWidget.insert(control, index);
        // A text control's editor gets the right click itself.
        for (QLineEdit *edit : control->findChildren<QLineEdit *>())
            m_byWidget.insert(edit, index);
    }
    for (const SettingsPage &p : settingsPages())
        if (QWidget *sheet = m_dialog.findChild<QWidget *>(p.tab))
            m_tabCaptions.insert(sheet, p.caption);
    updateToolTips();
}

const SettingsContext &EditorComfort::named() const { return m_dialog.settings(); }

QString EditorComfort::captionOf(const NamedSetting &s)
{
    const QString caption = bareCaption(settingCaption(s, named()));
    return caption.isEmpty() ? s.name : caption;
}

QString EditorComfort::describe(const RecordSet &before, const RecordSet &after)
{
    QStringList changed;
    for (const NamedSetting &s : namedSettings())
        if (settingDiffers(s, before, after))
            changed << captionOf(s);
    if (changed.isEmpty())
        return QStringLiteral("изменение");
    if (changed.size() == 1)
        return QStringLiteral("«%1»").arg(changed.first());
    return QStringLiteral("«%1» и ещё %2").arg(changed.first()).arg(changed.size() - 1);
}

void EditorComfort::scheduleCheckpoint()
{
    if (m_pending)
        return;
    m_pending = true;
    QTimer::singleShot(0, this, [this] {
        m_pending = false;
        m_history->checkpoint();
    });
}

bool EditorComfort::inDialog(QObject *o) const
{
    auto *w = qobject_cast<QWidget *>(o);
    return w && (w == &m_dialog || m_dialog.isAncestorOf(w));
}

void EditorComfort::storeFocused()
{
    // Taking the focus away stores what the focused control holds, as leaving it would.
    QWidget *focus = QApplication::focusWidget();
    if (focus && focus != m_search->field() && inDialog(focus))
        focus->clearFocus();
    m_history->checkpoint();
}

void EditorComfort::undo()
{
    QPointer<QWidget> focus = QApplication::focusWidget();
    storeFocused();
    m_history->stack()->undo();
    if (focus && inDialog(focus) && focus->isVisible())
        focus->setFocus(Qt::OtherFocusReason);
}

void EditorComfort::redo()
{
    QPointer<QWidget> focus = QApplication::focusWidget();
    storeFocused();
    m_history->stack()->redo();
    if (focus && inDialog(focus) && focus->isVisible())
        focus->setFocus(Qt::OtherFocusReason);
}

void EditorComfort::reset(const FieldDef &def, Source source)
{
    storeFocused();
    const RecordSet &from = source == Source::Opened ? m_history->opened() : factoryRecords();
    const std::vector<FieldByte> bytes = fieldBytes(def);
    if (!settingDiffers(def.section, bytes, from, takeRecords(m_model)))
        return;
    TMK fromModel;
    putRecords(fromModel, from);
    const FieldContext &ctx = m_dialog.context();
    try {
        if (def.conversion == Conversion::ProtocolIndex) {
            // Another protocol resets the sub-types and reconfigures the pages, as choosing it does.
            m_dialog.changeProtocol(loadField(def, fromModel, ctx).toInt());
        } else {
            if (def.partner && def.conversion == Conversion::Scaled) {
                // The pair's own check (two ADC points must differ) holds for a reset too.
                TMK trial = m_model;
                storeField(def, trial, loadField(def, fromModel, ctx), ctx);
            }
            copySettingBits(m_model, def.section, bytes, from);
            m_dialog.followRecords();
        }
    } catch (const Error &e) {
        showError(&m_dialog, e.text());
        return;
    }
    const QString caption = captionOf(*findNamedSetting(def.name));
    m_history->checkpoint(source == Source::Opened ? QStringLiteral("«%1»: исходное значение").arg(caption)
                                                   : QStringLiteral("«%1»: заводское значение").arg(caption));
}

QMenu *EditorComfort::settingMenu(const FieldDef &def, QLineEdit *edit)
{
    QMenu *menu = edit ? edit->createStandardContextMenu() : new QMenu;
    menu->setObjectName(QStringLiteral("pmSetting"));
    // The editor's own undo and redo stand for the line's: one «Отменить» in the menu.
    for (QAction *a : menu->actions())
        if (a->objectName() == QLatin1String("edit-undo") || a->objectName() == QLatin1String("edit-redo"))
            delete a;
    while (!menu->actions().isEmpty() && menu->actions().first()->isSeparator())
        delete menu->actions().first();
    QAction *first = menu->actions().isEmpty() ? nullptr : menu->actions().first();
    const RecordSet now = takeRecords(m_model);
    const std::vector<FieldByte> bytes = fieldBytes(def);
    const FieldContext &ctx = m_dialog.context();
    TMK opened;
    putRecords(opened, m_history->opened());
    const QString openedText = valueText(def, opened, ctx);

    auto *title = new QAction(QStringLiteral("«%1»: при открытии %2, заводское %3")
                                  .arg(captionOf(*findNamedSetting(def.name)), openedText, factoryText(def, ctx)),
                              menu);
    title->setEnabled(false);
    auto *toOpened = new QAction(QStringLiteral("Вернуть исходное значение"), menu);
    toOpened->setObjectName(QStringLiteral("miResetOpened"));
    toOpened->setEnabled(settingDiffers(def.section, bytes, m_history->opened(), now));
    connect(toOpened, &QAction::triggered, this, [this, &def] { reset(def, Source::Opened); });
    auto *toFactory = new QAction(QStringLiteral("Заводское значение"), menu);
    toFactory->setObjectName(QStringLiteral("miResetFactory"));
    toFactory->setEnabled(settingDiffers(def.section, bytes, factoryRecords(), now));
    connect(toFactory, &QAction::triggered, this, [this, &def] { reset(def, Source::Factory); });
    menu->insertActions(first, {title, toOpened, toFactory});
    menu->insertSeparator(first);
    menu->insertActions(first, {m_undo, m_redo});
    if (first)
        menu->insertSeparator(first);
    return menu;
}

SettingMark EditorComfort::markOf(const QString &field) const
{
    for (const Marked &m : m_marked)
        if (m.def->name == field)
            return m.marker->mark();
    return SettingMark::None;
}

int EditorComfort::changeCount()
{
    storeFocused();
    const RecordSet now = takeRecords(m_model);
    int count = 0;
    for (const NamedSetting &s : namedSettings())
        count += settingDiffers(s, m_history->opened(), now) ? 1 : 0;
    return count == 0 && now != m_history->opened() ? 1 : count;
}

void EditorComfort::refresh()
{
    const RecordSet now = takeRecords(m_model);
    for (Marked &m : m_marked) {
        SettingMark mark = SettingMark::None;
        if (settingDiffers(m.def->section, m.bytes, m_history->opened(), now))
            mark = mark | SettingMark::Changed;
        if (settingDiffers(m.def->section, m.bytes, factoryRecords(), now))
            mark = mark | SettingMark::NotFactory;
        m.marker->setMark(mark);
    }
    m_counts.clear();
    for (const NamedSetting &s : namedSettings())
        if (settingDiffers(s, m_history->opened(), now)) {
            const SettingsPage &p = settingsPage(s.page);
            m_counts[p.tab] += 1;
            if (p.parent)
                m_counts[pageTab(*p.parent)] += 1;
        }
    updateTabs();
    updateDimming();
    updateToolTips();
}

void EditorComfort::updateTabs()
{
    for (auto it = m_tabCaptions.cbegin(); it != m_tabCaptions.cend(); ++it) {
        QWidget *sheet = it.key();
        auto *stack = qobject_cast<QStackedWidget *>(sheet->parentWidget());
        auto *tabs = stack ? qobject_cast<QTabWidget *>(stack->parentWidget()) : nullptr;
        if (!tabs || tabs->indexOf(sheet) < 0)
            continue;
        const int n = m_counts.value(sheet->objectName());
        const QString text = n ? QStringLiteral("%1 (%2)").arg(it.value()).arg(n) : it.value();
        if (tabs->tabText(tabs->indexOf(sheet)) != text)
            tabs->setTabText(tabs->indexOf(sheet), text);
    }
}

void EditorComfort::updateDimming()
{
    const bool only = m_onlyChanged->isChecked();
    for (Marked &m : m_marked) {
        // The simple pages only: a special page's controls belong together.
        const bool dim = only && m.def->binding == Binding::Generic && !has(m.marker->mark(), SettingMark::Changed);
        setDimmed(m.control, dim);
        if (m.label != m.control)
            setDimmed(m.label, dim);
    }
}

void EditorComfort::updateToolTips()
{
    // The binders give their controls tool tips; the protocol page's lists are its own.
    for (Marked &m : m_marked)
        if (m.def->binding == Binding::ProtocolPage && m.control)
            m.control->setToolTip(settingToolTip(*m.def, m_dialog.context()));
}

std::vector<SearchHit> EditorComfort::find(const QString &text)
{
    std::vector<SearchHit> all = searchSettings(text, m_model, named());
    // A setting on a page this model does not show is not offered either.
    std::vector<SearchHit> hits;
    for (SearchHit &h : all) {
        bool pageShown = true;
        if (QWidget *sheet = m_dialog.findChild<QWidget *>(pageTab(h.setting->page))) {
            auto *stack = qobject_cast<QStackedWidget *>(sheet->parentWidget());
            auto *tabs = stack ? qobject_cast<QTabWidget *>(stack->parentWidget()) : nullptr;
            if (tabs && !tabs->isTabVisible(tabs->indexOf(sheet)))
                pageShown = false;
        }
        if (pageShown)
            hits.push_back(std::move(h));
    }
    return hits;
}

void EditorComfort::showPageOf(QWidget *w)
{
    for (QWidget *p = w; p && p != &m_dialog; p = p->parentWidget()) {
        auto *stack = qobject_cast<QStackedWidget *>(p->parentWidget());
        auto *tabs = stack ? qobject_cast<QTabWidget *>(stack->parentWidget()) : nullptr;
        if (tabs && tabs->indexOf(p) >= 0)
            tabs->setCurrentWidget(p);
    }
}

void EditorComfort::jumpTo(const NamedSetting &setting)
{
    int row = -1;
    QWidget *w = settingWidget(&m_dialog, setting, &row);
    if (!w)
        w = m_dialog.findChild<QWidget *>(pageTab(setting.page));
    if (!w)
        return;
    showPageOf(w);
    if (auto *grid = qobject_cast<QTableWidget *>(w); grid && row >= 0 && row < grid->rowCount()) {
        grid->setCurrentCell(row, grid->columnCount() > 1 ? 1 : 0);
        grid->scrollToItem(grid->item(row, grid->currentColumn()));
    }
    w->setFocus(Qt::OtherFocusReason);
    // Typing right after the jump replaces the value, as after Tab.
    if (auto *spin = qobject_cast<QAbstractSpinBox *>(w))
        spin->selectAll();
    else if (auto *edit = qobject_cast<QLineEdit *>(w))
        edit->selectAll();
    ChangeMarker *marker = nullptr;
    if (m_byWidget.contains(w))
        marker = m_marked[size_t(m_byWidget.value(w))].marker;
    else if (w->parentWidget() && !m_tabCaptions.contains(w)) {
        QPointer<ChangeMarker> &flasher = m_flashers[w];
        if (!flasher)
            flasher = new ChangeMarker(w, nullptr);
        marker = flasher;
    }
    if (marker)
        marker->flash(kFlashMs);
}

bool EditorComfort::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Undo and redo belong to the editor, also while a text field has the focus.
        if (bool redo = false; inDialog(watched) && isUndoKey(static_cast<QKeyEvent *>(event), &redo)) {
            event->ignore();
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
    case QEvent::KeyRelease:
    case QEvent::FocusOut:
    case QEvent::Drop:
        if (inDialog(watched) || qobject_cast<QMenu *>(watched))
            scheduleCheckpoint();
        break;
    default: break;
    }

    if (event->type() == QEvent::ContextMenu && m_byWidget.contains(qobject_cast<QWidget *>(watched))) {
        const Marked &m = m_marked[size_t(m_byWidget.value(static_cast<QWidget *>(watched)))];
        auto *menuEvent = static_cast<QContextMenuEvent *>(event);
        QMenu *menu = settingMenu(*m.def, qobject_cast<QLineEdit *>(watched));
        menu->exec(menuEvent->globalPos());
        delete menu;
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace mk
