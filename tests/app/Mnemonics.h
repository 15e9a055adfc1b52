#pragma once
// Alt shortcuts of a window's buttons: each visible button has one, and no two share a letter.

#include <QAbstractButton>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHash>
#include <QPushButton>
#include <QStringList>
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

// Faults among the visible push buttons (and check boxes when asked): buttons without a
// shortcut, letters used twice. The standard buttons of a button box answer Enter and Esc instead.
inline QStringList mnemonicFaults(QWidget &window, bool checkBoxes = false)
{
    QStringList faults;
    QHash<QChar, QString> used;
    for (QAbstractButton *b : window.findChildren<QAbstractButton *>()) {
        const bool kind = qobject_cast<QPushButton *>(b) || (checkBoxes && qobject_cast<QCheckBox *>(b));
        if (!kind || b->text().isEmpty() || !b->isVisibleTo(&window) ||
            qobject_cast<QDialogButtonBox *>(b->parentWidget()))
            continue;
        const QChar letter = mnemonicOf(b->text());
        const QString who = b->objectName().isEmpty() ? b->text() : b->objectName();
        if (letter.isNull())
            faults << who + QStringLiteral(" has no Alt shortcut");
        else if (used.contains(letter))
            faults << who + QStringLiteral(" shares Alt+") + letter + QStringLiteral(" with ") + used.value(letter);
        else
            used.insert(letter, who);
    }
    return faults;
}

// Alt and a (Cyrillic) letter, pressed in the window.
inline void altKey(QWidget *window, char16_t upper)
{
    QTest::sendKeyEvent(QTest::Click, window, Qt::Key(upper), QString(QChar(upper).toLower()), Qt::AltModifier);
}

} // namespace mk::test
