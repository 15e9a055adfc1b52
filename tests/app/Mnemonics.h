// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Alt shortcuts of a window: each visible push button has one, and no two things the window shows
// (buttons, check boxes, radio buttons, group boxes, labels with a buddy, tabs, the menu bar's
// menus) share a letter; within each menu its commands have letters of their own.

#include <QAbstractButton>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStringList>
#include <QTabBar>
#include <QTest>
#include <QWidget>

namespace mk::test {

// The letter after "&" (lower case), or nothing.
inline QChar mnemonicOf(const QString &text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (text[i + 1] != QLatin1Char('&'))
            return text[i + 1].toLower();
        ++i;
    }
    return {};
}

// Collects letters and reports the ones taken twice.
class MnemonicSet
{
public:
    explicit MnemonicSet(QStringList &faults) : m_faults(faults) {}
    void add(const QString &text, const QString &who)
    {
        const QChar letter = mnemonicOf(text);
        if (letter.isNull())
            return;
        if (m_used.contains(letter))
            m_faults << who + QStringLiteral(" shares Alt+") + letter + QStringLiteral(" with ") + m_used.value(letter);
        else
            m_used.insert(letter, who);
    }

private:
    QStringList &m_faults;
    QHash<QChar, QString> m_used;
};

inline QString nameOf(const QObject *o, const QString &text)
{
    return o->objectName().isEmpty() ? text : o->objectName();
}

// The commands of one menu, submenus each on their own.
inline void menuFaults(QMenu &menu, QStringList &faults)
{
    MnemonicSet set(faults);
    for (QAction *a : menu.actions()) {
        if (a->isSeparator() || !a->isVisible())
            continue;
        set.add(a->text(), nameOf(a, a->text()));
        if (a->menu())
            menuFaults(*a->menu(), faults);
    }
}

// Faults among what the window shows (check boxes without a letter are allowed unless asked):
// buttons without a shortcut, letters used twice. The standard buttons of a button box answer
// Enter and Esc instead.
inline QStringList mnemonicFaults(QWidget &window, bool checkBoxes = false)
{
    QStringList faults;
    MnemonicSet set(faults);
    const auto shown = [&window](QWidget *w) { return w->isVisibleTo(&window) || w == &window; };
    for (QAbstractButton *b : window.findChildren<QAbstractButton *>()) {
        if (b->text().isEmpty() || !shown(b) || qobject_cast<QDialogButtonBox *>(b->parentWidget()))
            continue;
        const bool required = qobject_cast<QPushButton *>(b) || (checkBoxes && qobject_cast<QCheckBox *>(b));
        if (required && mnemonicOf(b->text()).isNull())
            faults << nameOf(b, b->text()) + QStringLiteral(" has no Alt shortcut");
        set.add(b->text(), nameOf(b, b->text()));
    }
    for (QGroupBox *g : window.findChildren<QGroupBox *>())
        if (shown(g))
            set.add(g->title(), nameOf(g, g->title()));
    for (QLabel *l : window.findChildren<QLabel *>())
        if (l->buddy() && shown(l))
            set.add(l->text(), nameOf(l, l->text()));
    for (QTabBar *t : window.findChildren<QTabBar *>())
        if (shown(t))
            for (int i = 0; i < t->count(); ++i)
                set.add(t->tabText(i), QStringLiteral("tab ") + t->tabText(i));
    for (QMenuBar *bar : window.findChildren<QMenuBar *>()) {
        for (QAction *a : bar->actions()) {
            set.add(a->text(), nameOf(a->menu() ? static_cast<QObject *>(a->menu()) : a, a->text()));
            if (a->menu())
                menuFaults(*a->menu(), faults);
        }
    }
    return faults;
}

// Alt and a (Cyrillic) letter, pressed in the window.
inline void altKey(QWidget *window, char16_t upper)
{
    QTest::sendKeyEvent(QTest::Click, window, Qt::Key(upper), QString(QChar(upper).toLower()), Qt::AltModifier);
}

} // namespace mk::test
