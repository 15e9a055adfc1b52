// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SettingsDiffView.h"

#include "base/Text.h"
#include "settings/SettingsDiff.h"

#include <QHeaderView>
#include <QStyle>
#include <QStyledItemDelegate>
#include <functional>

namespace mk {

namespace {

// A value wider than this wraps: a journal's or the averages' long text must not push the other
// column off the window.
constexpr int kMaxValueWidth = 320;
constexpr int kMinCaptionWidth = 60;
constexpr int kColumnGap = 12;

// Item views lay rows out one line high whatever their word wrap; this one gives each text the
// width its column (or the whole row, for a spanned one) leaves it, so that a long caption or
// note takes more lines instead of being cut.
class WrappingDelegate : public QStyledItemDelegate
{
public:
    explicit WrappingDelegate(QTreeWidget *view) : QStyledItemDelegate(view), m_view(view) {}

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        int depth = m_view->rootIsDecorated() ? 1 : 0;
        for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
            ++depth;
        const bool spanned = m_view->isFirstColumnSpanned(index.row(), index.parent());
        int width = spanned ? m_view->viewport()->width() : m_view->columnWidth(index.column());
        if (index.column() == 0)
            width -= depth * m_view->indentation();
        QStyleOptionViewItem wrapped(option);
        // A valid rectangle: the style wraps only within one.
        wrapped.rect = QRect(0, 0, qMax(width, 1), qMax(option.rect.height(), 1));
        return QStyledItemDelegate::sizeHint(wrapped, index);
    }

private:
    QTreeWidget *m_view;
};

// Every row under `item`, depth first, with its depth below the tree's top.
void forEachRow(const QTreeWidgetItem *item, int depth, const std::function<void(const QTreeWidgetItem *, int)> &f)
{
    for (int i = 0; i < item->childCount(); ++i) {
        f(item->child(i), depth);
        forEachRow(item->child(i), depth + 1, f);
    }
}

} // namespace

QString settingCountText(int count)
{
    return countedText(count, "настройка", "настройки", "настроек");
}

SettingsDiffView::SettingsDiffView(const SettingsDiff &diff, const QString &beforeTitle, const QString &afterTitle,
                                   QWidget *parent)
    : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("tvDiff"));
    setColumnCount(3);
    setHeaderLabels({QStringLiteral("Настройка"), beforeTitle, afterTitle});
    setRootIsDecorated(true);
    // Long texts wrap rather than end in an ellipsis.
    setWordWrap(true);
    setTextElideMode(Qt::ElideNone);
    setAlternatingRowColors(true);
    for (const DiffPage &page : diff.pages) {
        // Counted as the editor's tab counts: the settings changed, without a count when none is.
        const int settings = page.settingCount();
        auto *group = new QTreeWidgetItem(
            this, {settings > 0 ? QStringLiteral("%1 (%2)").arg(page.page).arg(settings) : page.page});
        QFont bold = group->font(0);
        bold.setBold(true);
        group->setFont(0, bold);
        group->setFirstColumnSpanned(true);
        for (const SettingChange &c : page.changes) {
            auto *row = new QTreeWidgetItem(group, {c.label(), c.shownBefore, c.shownAfter});
            if (!c.name.isEmpty())
                row->setToolTip(0, c.name);
        }
    }
    // Apart from the changes, spanning the row so that nothing of it is cut off.
    if (!diff.tidyUps.empty()) {
        auto *tidy = new QTreeWidgetItem(this, {diff.tidyUpLine()});
        tidy->setFirstColumnSpanned(true);
        tidy->setToolTip(0, diff.tidyUpLine());
    }
    if (diff.otherImageBytes > 0)
        new QTreeWidgetItem(this, {QStringLiteral("Прочие байты образа памяти: %1").arg(diff.otherImageBytes)});
    if (diff.modelCodesDiffer)
        new QTreeWidgetItem(this, {QStringLiteral("Код модели"),
                                   QStringLiteral("0x%1").arg(diff.modelCodeBefore, 4, 16, QLatin1Char('0')),
                                   QStringLiteral("0x%1").arg(diff.modelCodeAfter, 4, 16, QLatin1Char('0'))});
    expandAll();
    // The values keep the width they need; the captions take what is left and wrap in it.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int c = 1; c < 3; ++c)
        setColumnWidth(c, qMin(qMax(sizeHintForColumn(c), header()->sectionSizeHint(c)), kMaxValueWidth) + kColumnGap);
    header()->setMinimumSectionSize(kMinCaptionWidth);
    setItemDelegate(new WrappingDelegate(this));
    // Wider or narrower columns wrap the texts anew.
    connect(header(), &QHeaderView::sectionResized, this, [this] { scheduleDelayedItemsLayout(); });
}

void SettingsDiffView::resizeEvent(QResizeEvent *event)
{
    QTreeWidget::resizeEvent(event);
    scheduleDelayedItemsLayout();
}

int SettingsDiffView::captionWidth() const
{
    const QStyledItemDelegate oneLine;
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    int width = QFontMetrics(header()->font()).horizontalAdvance(headerItem()->text(0));
    forEachRow(invisibleRootItem(), rootIsDecorated() ? 1 : 0, [&](const QTreeWidgetItem *item, int depth) {
        if (item->isFirstColumnSpanned())
            return;
        const QModelIndex index = indexFromItem(item, 0);
        width = qMax(width, depth * indentation() + oneLine.sizeHint(option, index).width());
    });
    return width + kColumnGap;
}

int SettingsDiffView::chromeWidth() const
{
    return 2 * frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
}

QSize SettingsDiffView::contentSize() const
{
    // Every caption on one line.
    const int width = captionWidth() + columnWidth(1) + columnWidth(2) + chromeWidth();
    return {width, contentHeight(width)};
}

int SettingsDiffView::contentHeight(int width) const
{
    // The rows as the view lays them out at this width: the captions get what the values leave.
    const int rowWidth = width - chromeWidth();
    const int captions = qMax(rowWidth - columnWidth(1) - columnWidth(2), kMinCaptionWidth);
    const QStyledItemDelegate plain;
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    int height = header()->sizeHint().height() + 2 * frameWidth();
    forEachRow(invisibleRootItem(), rootIsDecorated() ? 1 : 0, [&](const QTreeWidgetItem *item, int depth) {
        const bool spanned = item->isFirstColumnSpanned();
        int row = 0;
        for (int c = 0; c < (spanned ? 1 : columnCount()); ++c) {
            int textWidth = c > 0 ? columnWidth(c) : (spanned ? rowWidth : captions) - depth * indentation();
            QStyleOptionViewItem cell(option);
            cell.rect = QRect(0, 0, qMax(textWidth, 1), 1);
            row = qMax(row, plain.sizeHint(cell, indexFromItem(item, c)).height());
        }
        height += row;
    });
    return height;
}

} // namespace mk
