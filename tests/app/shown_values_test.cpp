// SPDX-License-Identifier: GPL-3.0-or-later
// Every setting shows the same text in the editor, in the compare window and in the write
// preview, on models with and without voice, parking, additional systems and CAN.

#include "app/CompareWindow.h"
#include "app/WritePreviewDialog.h"
#include "editor/EditorTestSupport.h"
#include "settings/NamedSettings.h"
#include "settings/SettingsDiff.h"
#include "settings/ShownValue.h"
#include "widgets/RadioGroup.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>
#include <QtTest>

using namespace mk;
using namespace mk::test;

namespace {

QString cellText(const QTableWidget *grid, int row, int column)
{
    const QTableWidgetItem *item = grid ? grid->item(row, column) : nullptr;
    return item ? item->text() : QString();
}

// What the editor shows for the setting; a null string where it shows no text (colours, previews).
QString editorText(const OpenEditor &ed, const NamedSetting &s)
{
    if (s.field) {
        QWidget *w = ed.find(s.field->control);
        if (auto *spin = qobject_cast<QAbstractSpinBox *>(w))
            return spin->text();
        if (auto *combo = qobject_cast<QComboBox *>(w))
            return combo->currentText();
        if (auto *group = qobject_cast<RadioGroup *>(w))
            return group->items().value(group->itemIndex());
        if (auto *box = qobject_cast<QCheckBox *>(w))
            return box->isChecked() ? QStringLiteral("да") : QStringLiteral("нет");
        if (auto *edit = qobject_cast<QLineEdit *>(w))
            return edit->text();
        return {};
    }
    const QString head = s.name.section(QLatin1Char('.'), 0, 0), tail = s.name.section(QLatin1Char('.'), 1);
    if (head.startsWith(QLatin1String("hm")))
        return cellText(ed.find<QTableWidget>(QStringLiteral("sg") + head), tail.toInt(), 1);
    if (head == QLatin1String("Tarir")) {
        const auto *grid = ed.find<QTableWidget>(QStringLiteral("sgTarir"));
        return cellText(grid, tail.toInt() - 1, 1) + QLatin1Char(',') + cellText(grid, tail.toInt() - 1, 2);
    }
    if (head == QLatin1String("Blocks")) {
        const auto *grid = ed.find<QTableWidget>(QStringLiteral("sgAllBlocks"));
        for (int r = 0; grid && r < grid->rowCount(); ++r)
            if (cellText(grid, r, 0) == tail)
                return cellText(grid, r, 1) == QLatin1String("V") ? QStringLiteral("вкл") : QStringLiteral("выкл");
    }
    if (auto *group = ed.find<RadioGroup>(QStringLiteral("rg") + s.name))
        return group->items().value(group->itemIndex());
    return {};
}

// Setting name -> the two value columns of the window's comparison.
QHash<QString, QStringList> windowRows(const QDialog &window)
{
    QHash<QString, QStringList> rows;
    const auto *tree = window.findChild<QTreeWidget *>(QStringLiteral("tvDiff"));
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        for (int j = 0; j < tree->topLevelItem(i)->childCount(); ++j) {
            const QTreeWidgetItem *row = tree->topLevelItem(i)->child(j);
            rows.insert(row->toolTip(0), {row->text(1), row->text(2)});
        }
    return rows;
}

} // namespace

class ShownValuesTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }

    void editorComparisonAndPreviewShowOneText()
    {
        const struct
        {
            quint16 code;
            quint32 version;
            int protocol;
        } models[] = {{0x0C01, 0, 0}, {0x8002, 0, 6}, {0x0302, 0, 0}, {0x0801, 1, 1}};
        QStringList differ;
        int compared = 0;
        for (const auto &m : models) {
            OpenEditor ed(m.code, m.version, m.protocol);
            ed.find<QTabWidget>(QStringLiteral("pcMain"))->setCurrentWidget(ed.find(QStringLiteral("tsBlocks")));
            const TMK &model = ed.session->model();
            const SettingsContext ctx(model);
            // Every bit flipped on the other side: every setting differs.
            TMK other = model;
            for (int k = 0; k < 13; ++k)
                for (int i = 0; i < other.record(k).size(); ++i)
                    other.record(k).setU8(i, quint8(~other.record(k).u8(i)));
            const SettingsDiff diff = diffSettings(other, model);
            const QHash<QString, QStringList> compare =
                windowRows(CompareWindow(diff, QStringLiteral("В файле"), QStringLiteral("файла")));
            const QHash<QString, QStringList> preview = windowRows(WritePreviewDialog(diff));
            QHash<QString, const SettingChange *> changes;
            for (const DiffPage &page : diff.pages)
                for (const SettingChange &c : page.changes)
                    changes.insert(c.name, &c);
            if (compare != preview)
                differ << QStringLiteral("%1: the two windows differ").arg(m.code, 0, 16);
            for (const NamedSetting &s : namedSettings()) {
                if (!settingShown(s, model, ctx))
                    continue;
                const QString shown = shownValue(s, model, ctx).text, inEditor = editorText(ed, s);
                const QString where = QStringLiteral("%1 on %2: ").arg(s.name).arg(m.code, 0, 16);
                if (!inEditor.isNull() && inEditor != shown)
                    differ << where + QStringLiteral("editor \"%1\", shown \"%2\"").arg(inEditor, shown);
                // A value that shows alike on both sides carries its stored bits: not the plain text.
                const SettingChange *c = changes.value(s.name);
                if (!c || c->after.endsWith(QStringLiteral("(%1)").arg(c->rawAfter)))
                    continue;
                const QString inWindow = compare.value(s.name).value(1);
                if (inWindow != shown && !inWindow.startsWith(QStringLiteral("%1 (хранится ").arg(shown)))
                    differ << where + QStringLiteral("window \"%1\", shown \"%2\"").arg(inWindow, shown);
                compared += !inEditor.isNull();
            }
        }
        QVERIFY2(differ.isEmpty(), qPrintable(differ.join(QLatin1Char('\n'))));
        QVERIFY2(compared > 1000, qPrintable(QString::number(compared)));
    }
};

QTEST_MAIN(ShownValuesTest)
#include "shown_values_test.moc"
