// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/SearchBox.h"

#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <algorithm>

namespace mk {

namespace {

constexpr int kVisibleRows = 12;
constexpr int kMinWidth = 460;

} // namespace

SearchBox::SearchBox(QWidget *dialog, Find finder, Choose chosen)
    : QObject(dialog), m_dialog(dialog), m_find(std::move(finder)), m_choose(std::move(chosen))
{
    m_field = new QLineEdit(dialog);
    m_field->setObjectName(QStringLiteral("eSearch"));
    m_field->setPlaceholderText(QStringLiteral("Найти настройку (Ctrl+F)"));
    m_field->setClearButtonEnabled(true);
    m_field->setMinimumWidth(240);
    m_field->installEventFilter(this);
    connect(m_field, &QLineEdit::textEdited, this, &SearchBox::edited);

    // The list lies over the pages just above the field: part of the dialog rather than a window
    // of its own, so the typing goes on in the field.
    m_list = new QListWidget(dialog);
    m_list->setObjectName(QStringLiteral("lbSearchResults"));
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->setFrameShape(QFrame::Box);
    m_list->hide();
    connect(m_list, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) { choose(m_list->row(item)); });
}

void SearchBox::activate()
{
    m_field->setFocus(Qt::ShortcutFocusReason);
    m_field->selectAll();
    if (!m_field->text().isEmpty())
        edited(m_field->text());
}

void SearchBox::edited(const QString &text)
{
    m_hits = m_find(text);
    // Settings of one caption on one page (the front and rear parking sensors) are told apart by
    // the group their controls sit in.
    std::vector<bool> twin(m_hits.size());
    for (size_t i = 0; i < m_hits.size(); ++i)
        twin[i] = std::count_if(m_hits.begin(), m_hits.end(), [&](const SearchHit &o) {
                      return o.page == m_hits[i].page && o.caption == m_hits[i].caption;
                  }) > 1;
    for (size_t i = 0; i < m_hits.size(); ++i) {
        SearchHit &h = m_hits[i];
        if (!twin[i])
            continue;
        for (QWidget *w = settingWidget(m_dialog, *h.setting); w; w = w->parentWidget())
            if (auto *group = qobject_cast<QGroupBox *>(w); group && !group->title().isEmpty()) {
                h.page = QStringLiteral("%1 — %2").arg(h.page, group->title());
                break;
            }
    }
    m_list->clear();
    for (const SearchHit &h : m_hits)
        m_list->addItem(hitText(h));
    if (m_hits.empty() && !text.trimmed().isEmpty())
        m_list->addItem(QStringLiteral("Ничего не найдено"));
    if (m_list->count() == 0) {
        m_list->hide();
        return;
    }
    m_list->setCurrentRow(0);
    place();
    m_list->show();
    m_list->raise();
}

void SearchBox::place()
{
    const int rows = qMin(m_list->count(), kVisibleRows);
    const int height = rows * qMax(m_list->sizeHintForRow(0), 16) + 2 * m_list->frameWidth() + 4;
    const QPoint fieldTop = m_field->mapTo(m_dialog, QPoint(0, 0));
    m_list->setGeometry(fieldTop.x(), qMax(0, fieldTop.y() - height), qMax(m_field->width(), kMinWidth), height);
}

void SearchBox::choose(int row)
{
    if (row < 0 || row >= int(m_hits.size()))
        return;
    const NamedSetting *s = m_hits[size_t(row)].setting;
    m_list->hide();
    m_choose(*s);
}

bool SearchBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_field)
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::FocusOut)
        m_list->hide();
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    switch (static_cast<QKeyEvent *>(event)->key()) {
    case Qt::Key_Down:
    case Qt::Key_Up:
        if (m_list->isVisible()) {
            const int step = static_cast<QKeyEvent *>(event)->key() == Qt::Key_Down ? 1 : -1;
            m_list->setCurrentRow(qBound(0, m_list->currentRow() + step, m_list->count() - 1));
        }
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_list->isVisible())
            choose(m_list->currentRow());
        else
            edited(m_field->text());
        return true;
    case Qt::Key_Escape:
        m_list->hide();
        m_field->clear();
        return true;
    default: return QObject::eventFilter(watched, event);
    }
}

} // namespace mk
