// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's menus: the write preview, comparing with a file or the device, the backups
// list and "О программе", with a scripted device link; and the places further commands join.

#include "DialogScript.h"
#include "FakeDeviceLink.h"

#include "app/AccessCheck.h"
#include "app/BackupsDialog.h"
#include "app/MainMenu.h"
#include "app/TMainForm.h"
#include "base/FileIo.h"
#include "base/StdStreams.h"
#include "image/FactoryImage.h"
#include "image/ImageLayout.h"
#include "image/SettingsFile.h"
#include "image/TMK.h"
#include "link/Backup.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDate>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QUrl>

using namespace mk;
using namespace mk::test;

namespace {

QPushButton *button(QWidget &w, const QString &name)
{
    auto *b = w.findChild<QPushButton *>(name);
    if (!b)
        qFatal("no button %s", qPrintable(name));
    return b;
}

QAction *action(QWidget &form, const QString &name)
{
    auto *a = form.findChild<QAction *>(name);
    if (!a)
        qFatal("no action %s", qPrintable(name));
    return a;
}

// The rows of a comparison tree: "page (n)" for a branch, "caption | before | after" under it.
QStringList treeRows(QDialog &dialog)
{
    QStringList rows;
    auto *tree = dialog.findChild<QTreeWidget *>(QStringLiteral("tvDiff"));
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *page = tree->topLevelItem(i);
        rows << page->text(0);
        for (int j = 0; j < page->childCount(); ++j)
            rows << QStringLiteral("%1 | %2 | %3")
                        .arg(page->child(j)->text(0), page->child(j)->text(1), page->child(j)->text(2));
    }
    return rows;
}

// The title as the window manager shows it: "[*]" is "*" while the window is marked modified.
QString shownTitle(const QWidget &w)
{
    return QString(w.windowTitle())
        .replace(QStringLiteral("[*]"), w.isWindowModified() ? QStringLiteral("*") : QString());
}

// Drops `urls` on `target` as a file manager would; whether the drag was taken.
bool dropUrls(QWidget *target, const QList<QUrl> &urls)
{
    QMimeData data;
    data.setUrls(urls);
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    QApplication::processEvents(); // the file opens once the drop has ended
    return drop.isAccepted();
}

// The paths "Последние файлы" offers, in menu order.
QStringList recentPaths(QWidget &form)
{
    QStringList paths;
    auto *menu = form.findChild<QMenu *>(QStringLiteral("miRecent"));
    for (QAction *a : menu->actions())
        if (a->data().isValid())
            paths << a->data().toString();
    return paths;
}

// The held settings of model 1 with the speed limit at 140 and the second scheme's colour 3 changed.
void editSettings(TMK &model)
{
    model.record(5).setU8(0, 70);
    model.record(9).setU16(248 + 56 + 6, model.record(9).u16(248 + 56 + 6) ^ 0x0101);
    model.encodeAll();
}

// The speed limit the fake device's factory memory holds, as the editor shows it (stored halved).
int factorySpeed()
{
    TMK m;
    m.replaceImage(1, makeFactoryImage(1, 1));
    return m.record(5).s8(0) * 2;
}

} // namespace

class InstallerMenusTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    FakeLinkScript m_link;
    AccessGuard m_access;

    QString path(const QString &name) const { return m_dir->filePath(name); }

    std::unique_ptr<TMainForm> shownForm()
    {
        MainFormSetup setup;
        setup.iniPath = path(QStringLiteral("mkconf.ini"));
        setup.programDir = m_dir->path();
        setup.link = std::make_unique<FakeDeviceLink>(m_link);
        setup.access = &m_access;
        setup.steps.edit = [](QWidget *, TMK &model) {
            editSettings(model);
            return true;
        };
        auto form = std::make_unique<TMainForm>(std::move(setup));
        form->show();
        return form;
    }

    // Settings read from the device, then edited: the unsaved-changes flag is set.
    std::unique_ptr<TMainForm> editedForm()
    {
        auto form = shownForm();
        QTest::mouseClick(button(*form, QStringLiteral("bGetParams")), Qt::LeftButton);
        QTest::mouseClick(button(*form, QStringLiteral("bEditParams")), Qt::LeftButton);
        return form;
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_link = FakeLinkScript{};
        m_link.backupDir = path(QStringLiteral("backups"));
    }

    // The preview lists what changes against the device's fresh memory; "Отмена" writes nothing,
    // "Записать" writes; settings alike write nothing and say so.
    void writePreview()
    {
        auto form = editedForm();
        m_link.deviceImage = makeFactoryImage(1, 1);
        QStringList shown, buttons, count, recorded;
        int answer = QDialog::Rejected;
        DialogScript dialogs;
        dialogs.other = [&](QDialog &dialog) {
            if (dialog.objectName() != QLatin1String("WritePreviewDialog"))
                return int(QDialog::Rejected);
            shown = treeRows(dialog);
            count << dialog.findChild<QLabel *>(QStringLiteral("lCount"))->text();
            recorded << dialog.findChild<QLabel *>(QStringLiteral("lRecorded"))->text();
            buttons = {button(dialog, QStringLiteral("bWrite"))->text().remove(QLatin1Char('&')),
                       button(dialog, QStringLiteral("bCancel"))->text()};
            return answer;
        };
        QTest::mouseClick(button(*form, QStringLiteral("bSetParams")), Qt::LeftButton);
        QCOMPARE(m_link.writes, 1);
        QVERIFY(!m_link.written);
        QVERIFY(dialogs.boxes.isEmpty()); // a cancelled write is not reported as done
        QCOMPARE(shown, (QStringList{
                            QStringLiteral("Границы (1)"),
                            QStringLiteral("Превышение скорости, км/ч (VelocityLimit) | %1 | 140").arg(factorySpeed()),
                            QStringLiteral("Цветовые схемы (1)"), shown.value(3)}));
        QVERIFY2(shown.value(3).startsWith(QStringLiteral("Схема пользователя: Цвет #3 (ColorScheme1.Palette3) | ")),
                 qPrintable(shown.value(3)));
        QCOMPARE(buttons, (QStringList{QStringLiteral("Записать"), QStringLiteral("Отмена")}));
        QVERIFY2(count.first().contains(QStringLiteral("изменятся при записи: 2.")), qPrintable(count.first()));
        QVERIFY2(recorded.first().startsWith(QStringLiteral("Остаются как в МК: Журнал поездок, Журнал заправок")),
                 qPrintable(recorded.first()));

        answer = QDialog::Accepted;
        QTest::mouseClick(button(*form, QStringLiteral("bSetParams")), Qt::LeftButton);
        QVERIFY(m_link.written);
        QVERIFY(dialogs.texts(QMessageBox::Information).value(0).startsWith(QStringLiteral("Настройки записаны в МК")));

        // The device already holds these settings: nothing to confirm, nothing written.
        m_link.written = false;
        m_link.deviceImage = form->model().image();
        shown.clear();
        QTest::mouseClick(button(*form, QStringLiteral("bSetParams")), Qt::LeftButton);
        QVERIFY(!m_link.written);
        QVERIFY(shown.isEmpty());
        QVERIFY(dialogs.texts(QMessageBox::Information).last().contains(QStringLiteral("уже такие же")));
    }

    // A counter the device moved on since the settings were read is listed with both values and
    // kept unless ticked; the preview shows it although no setting changes. Space ticks it.
    void writePreviewOffersTheDevicesOwnRecords()
    {
        auto form = shownForm();
        QTest::mouseClick(button(*form, QStringLiteral("bGetParams")), Qt::LeftButton);
        TMK device = form->model();
        device.record(kServiceSection).setU8(5, quint8(device.record(kServiceSection).u8(5) - 1));
        device.encodeAll();
        m_link.deviceImage = device.image();
        QStringList row;
        QString ticked;
        bool tickable = false;
        DialogScript dialogs;
        dialogs.other = [&](QDialog &dialog) {
            auto *table = dialog.findChild<QTableWidget *>(QStringLiteral("tblRecordedChoices"));
            if (dialog.objectName() != QLatin1String("WritePreviewDialog") || !table || table->rowCount() != 1)
                return int(QDialog::Rejected);
            for (int c = 0; c < table->columnCount(); ++c)
                row << table->item(0, c)->text();
            tickable = table->item(0, 3)->flags().testFlag(Qt::ItemIsUserCheckable);
            table->setCurrentCell(0, 3);
            QTest::keyClick(table, Qt::Key_Space);
            ticked = table->item(0, 3)->text();
            if (const QString dir = qEnvironmentVariable("MK_PREVIEW_PNG"); !dir.isEmpty()) {
                dialog.show();
                dialog.grab().save(dir + QStringLiteral("/write-preview-recorded.png"));
                dialog.hide();
            }
            return int(QDialog::Accepted);
        };
        QTest::mouseClick(button(*form, QStringLiteral("bSetParams")), Qt::LeftButton);
        const int counter = form->model().record(kServiceSection).u8(5);
        QCOMPARE(row, (QStringList{QStringLiteral("Счётчик ТО «Замена масла ДВС»"), QString::number(counter - 1),
                                   QString::number(counter), QStringLiteral("остаётся как в МК")}));
        QVERIFY(tickable);
        QCOMPARE(ticked, QStringLiteral("записывается"));
        QVERIFY(m_link.written);
        QCOMPARE(m_link.lastTake.size(), size_t(1));
    }

    // As a new user meets it: settings read from a device whose hot menu has an empty place, the
    // editor opened and another colour scheme chosen, the write previewed. The scheme's byte is
    // listed once, under its setting; the page is counted as the editor's tab counts it; the
    // preview opens showing both value columns within the screen, with no progress window behind
    // it. The note that the page closed the hot menu's gaps shows only in the session it did.
    void writePreviewAsANewUserSeesIt()
    {
        MainFormSetup setup;
        setup.iniPath = path(QStringLiteral("mkconf.ini"));
        setup.programDir = m_dir->path();
        setup.link = std::make_unique<FakeDeviceLink>(m_link);
        setup.access = &m_access;
        TMainForm form(std::move(setup)); // the real editor
        form.show();
        m_link.deviceImage = makeFactoryImage(1, 1);
        QTest::mouseClick(button(form, QStringLiteral("bGetParams")), Qt::LeftButton);

        QStringList tabs, rows;
        QString note;
        bool progressBehind = true;
        QRect frame, screen;
        int valuesRight = 0, viewWidth = 0, frameWidth = 0, previews = 0;
        DialogScript dialogs;
        dialogs.other = [&](QDialog &dialog) {
            if (dialog.objectName() == QLatin1String("MK_SetParamsDlg")) {
                dialog.show();
                auto *main = dialog.findChild<QTabWidget *>(QStringLiteral("pcMain"));
                auto *disp = dialog.findChild<QTabWidget *>(QStringLiteral("pcDisp"));
                main->setCurrentWidget(dialog.findChild<QWidget *>(QStringLiteral("tsDisp")));
                disp->setCurrentWidget(dialog.findChild<QWidget *>(QStringLiteral("tsColor")));
                auto *schemes = dialog.findChild<QWidget *>(QStringLiteral("rgActiveColorScheme"));
                QTest::mouseClick(schemes->findChildren<QRadioButton *>().value(1), Qt::LeftButton);
                if (!QTest::qWaitFor([&] { return disp->tabText(disp->currentIndex()).contains(QLatin1Char('(')); }))
                    qWarning("the editor's tab shows no count");
                tabs = {main->tabText(main->currentIndex()), disp->tabText(disp->currentIndex())};
                return int(QDialog::Accepted);
            }
            if (dialog.objectName() != QLatin1String("WritePreviewDialog"))
                return int(QDialog::Rejected);
            progressBehind = false;
            for (QWidget *w : QApplication::topLevelWidgets())
                progressBehind = progressBehind || (w->objectName() == QLatin1String("ProgressForm") && w->isVisible());
            rows = treeRows(dialog);
            auto *tree = dialog.findChild<QTreeWidget *>(QStringLiteral("tvDiff"));
            for (int i = 0; i < tree->topLevelItemCount(); ++i)
                if (tree->topLevelItem(i)->text(0).startsWith(QStringLiteral("Горячие меню")))
                    note = tree->topLevelItem(i)->text(0);
            dialog.show();
            if (!QTest::qWaitForWindowExposed(&dialog))
                qWarning("the preview did not show");
            frame = dialog.geometry();
            frameWidth = dialog.frameGeometry().width();
            screen = dialog.screen()->availableGeometry();
            valuesRight = tree->header()->sectionViewportPosition(2) + tree->header()->sectionSize(2);
            viewWidth = tree->viewport()->width();
            if (const QString dir = qEnvironmentVariable("MK_PREVIEW_PNG"); !dir.isEmpty())
                dialog.grab().save(dir + QStringLiteral("/write-preview-%1.png").arg(++previews));
            dialog.hide();
            return int(QDialog::Rejected);
        };
        QTest::mouseClick(button(form, QStringLiteral("bEditParams")), Qt::LeftButton);
        QVERIFY(form.modified());
        QTest::mouseClick(button(form, QStringLiteral("bSetParams")), Qt::LeftButton);

        QVERIFY2(tabs.size() == 2 && tabs[0].startsWith(QStringLiteral("Дисплей (")), qPrintable(tabs.join(u'|')));
        const QString count = tabs[0].mid(tabs[0].indexOf(u'('));
        QCOMPARE(tabs[1], QStringLiteral("Цветовые схемы ") + count);
        QVERIFY2(rows.contains(QStringLiteral("Цветовые схемы ") + count), qPrintable(rows.join(u'\n')));
        for (const QString &row : rows)
            QVERIFY2(!row.startsWith(QStringLiteral("Без имени")), qPrintable(row));
        QVERIFY(!progressBehind);
        // Within the screen as every window is kept (ScreenFit), its frame no wider than the screen.
        QVERIFY2(
            screen.contains(frame) && frameWidth <= screen.width(),
            qPrintable(
                QStringLiteral("%1,%2 %3x%4").arg(frame.x()).arg(frame.y()).arg(frame.width()).arg(frame.height())));
        QVERIFY2(valuesRight <= viewWidth, qPrintable(QStringLiteral("%1 > %2").arg(valuesRight).arg(viewWidth)));
        // The editor closed the menu's empty place when it opened, in this session.
        QVERIFY2(note.startsWith(QStringLiteral("Горячие меню «Параметры»: страница при открытии убрала")),
                 qPrintable(note));

        // Saved, and written from the file in a later session: the page made nothing then.
        dialogs.fileNames << path(QStringLiteral("scheme.tcset"));
        QTest::mouseClick(button(form, QStringLiteral("bSaveParams")), Qt::LeftButton);
        dialogs.fileNames << path(QStringLiteral("scheme.tcset"));
        QTest::mouseClick(button(form, QStringLiteral("bLoadParams")), Qt::LeftButton);
        QVERIFY(!form.modified());
        note.clear();
        QTest::mouseClick(button(form, QStringLiteral("bSetParams")), Qt::LeftButton);
        QVERIFY2(!note.contains(QStringLiteral("убрала")) &&
                     note.contains(QStringLiteral("«Параметры» места 6 -> нет")),
                 qPrintable(note));
    }

    void compareWithFileAndDevice()
    {
        auto form = shownForm();
        QVERIFY(!action(*form, QStringLiteral("miCompareFile"))->isEnabled()); // nothing held yet
        QVERIFY(!action(*form, QStringLiteral("miCompareDevice"))->isEnabled());
        QTest::mouseClick(button(*form, QStringLiteral("bGetParams")), Qt::LeftButton);
        QVERIFY(action(*form, QStringLiteral("miCompareFile"))->isEnabled());

        TMK edited;
        edited.replaceImage(1, makeFactoryImage(1, 1));
        editSettings(edited);
        saveSettingsFile(edited, path(QStringLiteral("other.tcset")));
        QStringList shown, headers, summary;
        DialogScript dialogs;
        dialogs.fileNames << path(QStringLiteral("other.tcset")) << path(QStringLiteral("diff.txt"));
        dialogs.other = [&](QDialog &dialog) {
            if (dialog.objectName() != QLatin1String("CompareWindow"))
                return int(QDialog::Rejected);
            shown = treeRows(dialog);
            auto *tree = dialog.findChild<QTreeWidget *>(QStringLiteral("tvDiff"));
            headers = {tree->headerItem()->text(1), tree->headerItem()->text(2)};
            summary << dialog.findChild<QLabel *>(QStringLiteral("lSummary"))->text();
            if (!dialogs.fileNames.isEmpty())
                button(dialog, QStringLiteral("bSaveText"))->click();
            return int(QDialog::Rejected);
        };
        action(*form, QStringLiteral("miCompareFile"))->trigger();
        QCOMPARE(shown.value(0), QStringLiteral("Границы (1)"));
        QCOMPARE(shown.value(2), QStringLiteral("Цветовые схемы (1)"));
        QCOMPARE(headers, (QStringList{QStringLiteral("В файле"), QStringLiteral("В программе")}));
        QVERIFY(summary.last().contains(QStringLiteral("other.tcset")));
        const QString saved = QString::fromUtf8(readWholeFile(path(QStringLiteral("diff.txt")), 1 << 20));
        QVERIFY2(saved.contains(QStringLiteral("[Границы]") + QString::fromLatin1(textLineEnds("\n")) +
                                QStringLiteral("Границы / Превышение скорости, км/ч (VelocityLimit)\t")),
                 qPrintable(saved));
        QVERIFY2(saved.contains(QStringLiteral("\t140 -> ")), qPrintable(saved));

        // Against the device: read into a model of its own; the settings held stay as they are.
        QTest::mouseClick(button(*form, QStringLiteral("bEditParams")), Qt::LeftButton);
        const QByteArray held = form->model().image();
        action(*form, QStringLiteral("miCompareDevice"))->trigger();
        QCOMPARE(m_link.reads, 2);
        QCOMPARE(headers, (QStringList{QStringLiteral("В МК"), QStringLiteral("В программе")}));
        QCOMPARE(shown.value(0), QStringLiteral("Границы (1)"));
        QCOMPARE(shown.value(1),
                 QStringLiteral("Превышение скорости, км/ч (VelocityLimit) | %1 | 140").arg(factorySpeed()));
        QCOMPARE(form->model().image(), held);
        QVERIFY(form->modified());
    }

    // "Открыть" loads a backup as a file load, after the unsaved-changes question; foreign and
    // damaged files are listed but cannot be opened.
    void backups()
    {
        auto form = editedForm();
        const QString dir = m_link.backupDir;
        saveBackup(dir, 0x8002, makeFactoryImage(0x8002, 3), QDateTime(QDate(2026, 12, 5), QTime(10, 0)));
        writeFileAtomically(dir + QStringLiteral("/mk-20261201-100000-0001.tcset"), "x");
        writeFileAtomically(dir + QStringLiteral("/readme.txt"), "notes");
        QStringList opened;
        BackupsDialog::setFolderOpener([&opened](const QString &d) {
            opened << d;
            return true;
        });
        QStringList rows;
        bool damagedOpenable = true;
        DialogScript dialogs;
        dialogs.answers << QMessageBox::No; // do not save the edits first
        dialogs.other = [&](QDialog &dialog) {
            if (dialog.objectName() != QLatin1String("BackupsDialog"))
                return int(QDialog::Rejected);
            auto *list = dialog.findChild<QTreeWidget *>(QStringLiteral("tvBackups"));
            for (int i = 0; i < list->topLevelItemCount(); ++i)
                rows << list->topLevelItem(i)->text(1);
            list->setCurrentItem(list->topLevelItem(2));
            damagedOpenable = button(dialog, QStringLiteral("bOpen"))->isEnabled();
            button(dialog, QStringLiteral("bShowFolder"))->click();
            list->setCurrentItem(list->topLevelItem(1));
            button(dialog, QStringLiteral("bOpen"))->click();
            return dialog.result();
        };
        action(*form, QStringLiteral("miBackups"))->trigger();
        QCOMPARE(rows.size(), 3); // newest first: the notes were written last, the damaged file is the oldest
        QVERIFY(rows[0].startsWith(QStringLiteral("Чужой файл")));
        QVERIFY(rows[2].startsWith(QStringLiteral("Повреждён")));
        QVERIFY(!damagedOpenable);
        QCOMPARE(opened, QStringList{dir});
        QCOMPARE(dialogs.texts(QMessageBox::Question).size(), 1);
        QCOMPARE(form->model().modelCode(), quint16(0x8002));
        QCOMPARE(form->model().image(), makeFactoryImage(0x8002, 3));
        QVERIFY(form->editingEnabled());
        const QString held = form->statusBar().findChild<QLabel *>(QStringLiteral("heldStatus"))->text();
        QVERIFY2(held.startsWith(QStringLiteral("Настройки из резервной копии от ")), qPrintable(held));
        BackupsDialog::setFolderOpener({});

        // A restored backup goes back whole: its journals and counters too. The device counted
        // on since: the restore names what it replaces and writes only when told to.
        TMK device;
        device.replaceImage(0x8002, makeFactoryImage(0x8002, 3));
        device.record(kServiceSection).setU8(5, quint8(device.record(kServiceSection).u8(5) - 1));
        device.encodeAll();
        m_link.deviceImage = device.image();
        dialogs.answers << QMessageBox::Cancel;
        button(*form, QStringLiteral("bSetParams"))->click();
        QCOMPARE(m_link.writes, 1);
        QVERIFY(!m_link.written);
        const QString asked = dialogs.texts(QMessageBox::Question).last();
        QVERIFY2(asked.contains(QStringLiteral("Счётчик ТО «Замена масла ДВС»: в МК ")), qPrintable(asked));
        dialogs.answers << QMessageBox::Ok;
        dialogs.other = [](QDialog &dialog) {
            return int(dialog.objectName() == QLatin1String("WritePreviewDialog") ? QDialog::Accepted
                                                                                  : QDialog::Rejected);
        };
        button(*form, QStringLiteral("bSetParams"))->click();
        QVERIFY(m_link.written);
        QCOMPARE(m_link.lastRecorded, RecordedData::FromSettings);

        // "Восстановить…" opens the backup and goes on to the same write, preview first; every
        // column fits its text (the model's name is not cut).
        const int writes = m_link.writes;
        m_link.written = false;
        QStringList shown;
        bool columnsFit = false;
        dialogs.answers << QMessageBox::Ok;
        dialogs.other = [&](QDialog &dialog) {
            shown << dialog.objectName();
            if (dialog.objectName() == QLatin1String("WritePreviewDialog"))
                return int(QDialog::Accepted);
            auto *list = dialog.findChild<QTreeWidget *>(QStringLiteral("tvBackups"));
            dialog.show();
            columnsFit = true;
            const QTreeWidgetItem *backup = list->topLevelItem(1);
            for (int c = 0; c + 1 < list->columnCount(); ++c)
                columnsFit =
                    columnsFit && list->columnWidth(c) > list->fontMetrics().horizontalAdvance(backup->text(c));
            columnsFit = columnsFit && list->header()->length() <= list->viewport()->width();
            list->setCurrentItem(list->topLevelItem(1));
            button(dialog, QStringLiteral("bRestore"))->click();
            return dialog.result();
        };
        action(*form, QStringLiteral("miBackups"))->trigger();
        QCOMPARE(shown, (QStringList{QStringLiteral("BackupsDialog"), QStringLiteral("WritePreviewDialog")}));
        QVERIFY(columnsFit);
        QCOMPARE(m_link.writes, writes + 1);
        QVERIFY(m_link.written);
        QCOMPARE(m_link.lastRecorded, RecordedData::FromSettings);
    }

    // A profile exported from edited settings and imported into fresh ones brings the edits;
    // a profile that does not fit changes nothing and says why.
    void profilesAndConnectionTools()
    {
        const QString profile = path(QStringLiteral("fleet.json"));
        {
            auto form = editedForm();
            DialogScript dialogs;
            QStringList ticked, unticked;
            dialogs.other = [&](QDialog &dialog) {
                for (QCheckBox *box : dialog.findChildren<QCheckBox *>())
                    (box->isChecked() ? ticked : unticked) << box->text();
                return int(QDialog::Accepted);
            };
            dialogs.fileNames << profile;
            action(*form, QStringLiteral("miExportProfile"))->trigger();
            // The pages of this car's own data start unticked; the rest go into the profile.
            QCOMPARE(unticked, (QStringList{QStringLiteral("Поправки"), QStringLiteral("Бак"), QStringLiteral("ТО")}));
            QVERIFY(ticked.contains(QStringLiteral("Границы")));
            QCOMPARE(dialogs.fileFilters, QStringList{QStringLiteral("Профили настроек (*.json)")});
            QVERIFY2(dialogs.fileOffers.value(0).endsWith(
                         QStringLiteral(" профиль %1.json").arg(QDate::currentDate().toString(Qt::ISODate))),
                     qPrintable(dialogs.fileOffers.value(0)));
            QCOMPARE(dialogs.texts(QMessageBox::Information).size(), 1);
            QVERIFY(dialogs.texts(QMessageBox::Information)[0].contains(QDir::toNativeSeparators(profile)));
            const QString exported = QString::fromUtf8(readWholeFile(profile, 1 << 22));
            QVERIFY(!exported.contains(QStringLiteral("AllPathStart")));
            QVERIFY(exported.contains(QStringLiteral("VelocityLimit")));
        }
        auto form = shownForm();
        QTest::mouseClick(button(*form, QStringLiteral("bGetParams")), Qt::LeftButton);
        QVERIFY(!form->modified());
        QCOMPARE(form->model().record(5).u8(0), quint8(factorySpeed() / 2));
        DialogScript dialogs;
        // The import shows its changes first; Отмена (the default, and a stray Enter) changes nothing.
        QString previewed;
        bool cancelIsDefault = false;
        int answer = QDialog::Rejected;
        dialogs.other = [&](QDialog &dialog) {
            previewed = dialog.findChild<QLabel *>(QStringLiteral("lCount"))->text();
            cancelIsDefault = dialog.findChild<QPushButton *>(QStringLiteral("bCancel"))->isDefault();
            return answer;
        };
        const QByteArray fresh = form->model().image();
        dialogs.fileNames << profile;
        action(*form, QStringLiteral("miImportProfile"))->trigger();
        QVERIFY2(previewed.startsWith(QStringLiteral("Настроек, которые профиль изменит: ")), qPrintable(previewed));
        QVERIFY(cancelIsDefault);
        QCOMPARE(form->model().image(), fresh);
        QVERIFY(!form->modified());
        answer = QDialog::Accepted;
        dialogs.fileNames << profile;
        action(*form, QStringLiteral("miImportProfile"))->trigger();
        QCOMPARE(dialogs.texts(QMessageBox::Critical), QStringList{});
        QCOMPARE(form->model().record(5).u8(0), quint8(70));
        QVERIFY(form->modified());

        const QByteArray before = form->model().image();
        const QString foreign = path(QStringLiteral("foreign.json"));
        writeFileAtomically(
            foreign, R"({"profile": 1, "model_code": 1, "settings": [{"name": "NoSuchSetting", "value": "1"}]})");
        dialogs.fileNames << foreign;
        action(*form, QStringLiteral("miImportProfile"))->trigger();
        const QString error = dialogs.texts(QMessageBox::Critical).value(0);
        QVERIFY2(error.contains(QStringLiteral("не применён")) || error.contains(QStringLiteral("повреждён")),
                 qPrintable(error));
        QCOMPARE(form->model().image(), before);

        // A refusal names settings as the editor shows them; a decimal comma is a number.
        const QString typed = path(QStringLiteral("typed.json"));
        writeFileAtomically(typed, R"({"profile": 1, "model_code": 1, "settings": [)"
                                   R"({"name": "K100Manual", "value": "7,5"}, {"name": "TankMode", "value": "Нет"}]})");
        dialogs.boxes.clear();
        dialogs.fileNames << typed;
        action(*form, QStringLiteral("miImportProfile"))->trigger();
        const QString refusal = dialogs.texts(QMessageBox::Critical).value(0);
        QVERIFY2(refusal.contains(QStringLiteral("Источники → Калибровка ДУТ: Допустимые значения: «Калибров.2»")),
                 qPrintable(refusal));
        QVERIFY2(!refusal.contains(QStringLiteral("TankMode")) && !refusal.contains(QStringLiteral("K100Manual")) &&
                     !refusal.contains(QStringLiteral("..")),
                 qPrintable(refusal));
        QCOMPARE(form->model().image(), before);
        writeFileAtomically(typed, R"({"profile": 1, "model_code": 1, "settings": [)"
                                   R"({"name": "K100Manual", "value": "7,5"}]})");
        dialogs.boxes.clear();
        dialogs.fileNames << typed;
        action(*form, QStringLiteral("miImportProfile"))->trigger();
        QCOMPARE(dialogs.texts(QMessageBox::Critical), QStringList{});
        QCOMPARE(form->model().record(kFuelSensorSection).u16(42), quint16(75));

        // The connection check opens from "Сервис"; the status bar tells whether a device is there.
        QString opened;
        dialogs.other = [&](QDialog &dialog) {
            opened = dialog.objectName();
            return int(QDialog::Accepted);
        };
        action(*form, QStringLiteral("miConnectionCheck"))->trigger();
        QCOMPARE(opened, QStringLiteral("ConnectionCheckDialog"));
        auto *status = form->statusBar().findChild<QLabel *>(QStringLiteral("deviceStatus"));
        QVERIFY(status);
        // After the read above: who answered, as the fake link names its device.
        QVERIFY2(status->text().startsWith(QStringLiteral("МК ")) ||
                     status->text().startsWith(QStringLiteral("Ответил МК")),
                 qPrintable(status->text()));
    }

    // "Файл": open, save and save as by their keys, the same steps as the buttons; the title names
    // the file held; Ctrl+Q closes through the question about unsaved edits.
    void fileCommandsAndTitle()
    {
        auto form = shownForm();
        // The keys as the user presses them, in the window active again after any step's windows.
        const auto press = [&form](Qt::Key key, Qt::KeyboardModifiers modifiers) {
            QApplication::setActiveWindow(form.get());
            QVERIFY(QTest::qWaitForWindowActive(form.get()));
            QTest::keyClick(form.get(), key, modifiers);
        };
        const QString caption = TMainForm::caption();
        QCOMPARE(shownTitle(*form), caption);
        const std::pair<const char *, QKeySequence> keys[] = {
            {"miOpen", QKeySequence(Qt::CTRL | Qt::Key_O)},
            {"miSave", QKeySequence(Qt::CTRL | Qt::Key_S)},
            {"miSaveAs", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
            {"miExit", QKeySequence(Qt::CTRL | Qt::Key_Q)}};
        for (const auto &[name, key] : keys)
            QCOMPARE(action(*form, QLatin1String(name))->shortcut(), key);
        const auto saveFollowsTheButton = [&] {
            for (const char *name : {"miSave", "miSaveAs"})
                if (action(*form, QLatin1String(name))->isEnabled() !=
                    button(*form, QStringLiteral("bSaveParams"))->isEnabled())
                    return false;
            return true;
        };
        QVERIFY(!action(*form, QStringLiteral("miSave"))->isEnabled());
        QVERIFY(saveFollowsTheButton());
        QVERIFY(action(*form, QStringLiteral("miOpen"))->isEnabled());

        TMK factory;
        factory.replaceImage(1, makeFactoryImage(1, 1));
        saveSettingsFile(factory, path(QStringLiteral("car.tcset")));
        DialogScript dialogs;
        dialogs.fileNames << path(QStringLiteral("car.tcset"));
        press(Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(dialogs.fileDialogs, QStringList{QStringLiteral("OpenDialog")});
        QCOMPARE(shownTitle(*form), caption + QStringLiteral(" — car.tcset"));
        QVERIFY(action(*form, QStringLiteral("miSave"))->isEnabled());
        QVERIFY(saveFollowsTheButton());

        // Ctrl+S writes the edits back to the file they came from, without a dialog or question.
        QTest::mouseClick(button(*form, QStringLiteral("bEditParams")), Qt::LeftButton);
        QCOMPARE(shownTitle(*form), caption + QStringLiteral(" — car.tcset*"));
        press(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(shownTitle(*form), caption + QStringLiteral(" — car.tcset"));
        QCOMPARE(dialogs.fileDialogs.size(), 1);
        QVERIFY(dialogs.boxes.isEmpty());
        TMK saved;
        openSettingsFile(saved, path(QStringLiteral("car.tcset")));
        QCOMPARE(saved.record(5).u8(0), quint8(70));

        // Ctrl+Shift+S asks for the name, as the save button does; the title follows the new file.
        dialogs.fileNames << path(QStringLiteral("copy.tcset"));
        press(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(dialogs.fileDialogs.last(), QStringLiteral("SaveDialog"));
        QVERIFY(QFileInfo::exists(path(QStringLiteral("copy.tcset"))));
        QCOMPARE(shownTitle(*form), caption + QStringLiteral(" — copy.tcset"));

        // Read from the device: no file is held, and Ctrl+S asks for one (cancelled here).
        QTest::mouseClick(button(*form, QStringLiteral("bGetParams")), Qt::LeftButton);
        QCOMPARE(shownTitle(*form), caption);
        press(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(dialogs.fileDialogs.size(), 3);
        QCOMPARE(dialogs.fileDialogs.last(), QStringLiteral("SaveDialog"));

        // Ctrl+Q with unsaved edits asks first: Cancel stays, No closes.
        QTest::mouseClick(button(*form, QStringLiteral("bEditParams")), Qt::LeftButton);
        const QString question =
            QStringLiteral("Возможно, настройки были изменены, но не сохранены на диске. Сохранить?");
        dialogs.boxes.clear();
        dialogs.answers << QMessageBox::Cancel;
        press(Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(dialogs.texts(QMessageBox::Question), QStringList{question});
        QVERIFY(form->isVisible());
        dialogs.answers << QMessageBox::No;
        press(Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(dialogs.texts(QMessageBox::Question), QStringList(2, question));
        QVERIFY(!form->isVisible());
    }

    // "Последние файлы": the files opened and saved, newest first, at most eight, kept in the ini
    // file for the next start; a file gone from the disk leaves the list; a recent file and a
    // dropped one open through the same step as "Открыть…", unsaved-edits question first.
    void recentFilesAndDrop()
    {
        TMK factory;
        factory.replaceImage(1, makeFactoryImage(1, 1));
        QStringList files;
        for (int i = 0; i < 10; ++i) {
            files << path(QStringLiteral("car%1.tcset").arg(i));
            saveSettingsFile(factory, files.last());
        }
        {
            auto form = shownForm();
            QCOMPARE(recentPaths(*form), QStringList());
            QVERIFY(!form->findChild<QAction *>(QStringLiteral("miRecentNone"))->isEnabled());
            DialogScript dialogs;
            for (const QString &file : files) {
                dialogs.fileNames << file;
                action(*form, QStringLiteral("miOpen"))->trigger();
            }
            // Opened again: it moves to the top, once.
            dialogs.fileNames << files.at(5);
            action(*form, QStringLiteral("miOpen"))->trigger();
            QStringList expected{files.at(5), files.at(9), files.at(8), files.at(7),
                                 files.at(6), files.at(4), files.at(3), files.at(2)};
            QCOMPARE(recentPaths(*form), expected);
            QCOMPARE(action(*form, QStringLiteral("miRecent1"))->text(),
                     QStringLiteral("&1 ") + QDir::toNativeSeparators(files.at(5)));
            // Saved under a new name: it comes first too.
            dialogs.fileNames << path(QStringLiteral("saved.tcset"));
            action(*form, QStringLiteral("miSaveAs"))->trigger();
            expected.prepend(path(QStringLiteral("saved.tcset")));
            expected.removeLast();
            QCOMPARE(recentPaths(*form), expected);
            form->close();
        }
        // The next start offers them; a file deleted meanwhile is dropped, from the ini as well.
        QVERIFY(QFile::remove(files.at(9)));
        auto form = shownForm();
        QStringList expected{path(QStringLiteral("saved.tcset")),
                             files.at(5),
                             files.at(8),
                             files.at(7),
                             files.at(6),
                             files.at(4),
                             files.at(3)};
        QCOMPARE(recentPaths(*form), expected);
        QFile ini(path(QStringLiteral("mkconf.ini")));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QVERIFY(!ini.readAll().contains("car9"));

        // A recent file opens through the unsaved-edits question: Cancel keeps what is held.
        DialogScript dialogs;
        QTest::mouseClick(button(*form, QStringLiteral("bGetParams")), Qt::LeftButton);
        QTest::mouseClick(button(*form, QStringLiteral("bEditParams")), Qt::LeftButton);
        QVERIFY(form->isWindowModified());
        dialogs.answers << QMessageBox::Cancel;
        action(*form, QStringLiteral("miRecent3"))->trigger();
        QCOMPARE(dialogs.texts(QMessageBox::Question).size(), 1);
        QVERIFY(form->held().source != HeldSettings::Source::File);
        dialogs.answers << QMessageBox::No;
        action(*form, QStringLiteral("miRecent3"))->trigger();
        QCOMPARE(form->held().name, QStringLiteral("car8.tcset"));
        QVERIFY(!form->isWindowModified());
        QCOMPARE(recentPaths(*form).constFirst(), files.at(8));

        // One that vanished after the menu was made: an error naming it, and it leaves the list.
        QVERIFY(QFile::remove(files.at(7)));
        dialogs.boxes.clear();
        QCOMPARE(action(*form, QStringLiteral("miRecent4"))->data().toString(), files.at(7));
        action(*form, QStringLiteral("miRecent4"))->trigger();
        QCOMPARE(dialogs.texts(QMessageBox::Critical).size(), 1);
        QVERIFY(dialogs.texts(QMessageBox::Critical).constFirst().contains(QDir::toNativeSeparators(files.at(7))));
        QVERIFY(!recentPaths(*form).contains(files.at(7)));
        QCOMPARE(form->held().name, QStringLiteral("car8.tcset"));

        // Drops: one settings file opens (and joins the list); anything else is refused at the border.
        const auto url = [](const QString &p) { return QUrl::fromLocalFile(p); };
        QFile::copy(files.at(0), path(QStringLiteral("UPPER.TCSET")));
        QFile::copy(files.at(0), path(QStringLiteral("other.txt")));
        const struct
        {
            QList<QUrl> urls;
            bool taken;
        } drops[] = {
            {{url(path(QStringLiteral("other.txt")))}, false},
            {{url(files.at(0)), url(files.at(1))}, false},
            {{QUrl(QStringLiteral("https://example.org/a.tcset"))}, false},
            {{url(m_dir->path())}, false},
            {{url(path(QStringLiteral("UPPER.TCSET")))}, true},
        };
        for (const auto &drop : drops)
            QCOMPARE(dropUrls(form.get(), drop.urls), drop.taken);
        QCOMPARE(form->held().name, QStringLiteral("UPPER.TCSET"));
        QCOMPARE(recentPaths(*form).constFirst(), path(QStringLiteral("UPPER.TCSET")));
        // With unsaved edits the drop asks first, as "Открыть…" does; Cancel keeps them.
        QTest::mouseClick(button(*form, QStringLiteral("bEditParams")), Qt::LeftButton);
        dialogs.boxes.clear();
        dialogs.answers << QMessageBox::Cancel;
        QVERIFY(dropUrls(form.get(), {url(files.at(0))}));
        QCOMPARE(dialogs.texts(QMessageBox::Question).size(), 1);
        QCOMPARE(form->held().name, QStringLiteral("UPPER.TCSET"));
        QVERIFY(form->isWindowModified());
        // A drop on a button of the window is the window's too.
        dialogs.answers << QMessageBox::No;
        QVERIFY(dropUrls(button(*form, QStringLiteral("bEditParams")), {url(files.at(0))}));
        QCOMPARE(form->held().name, QStringLiteral("car0.tcset"));
    }

    void aboutAndExtensionPoints()
    {
        auto form = shownForm();
        QString text;
        DialogScript dialogs;
        dialogs.other = [&](QDialog &dialog) {
            if (auto *label = dialog.findChild<QLabel *>(QStringLiteral("lAbout")))
                text = label->text();
            return int(QDialog::Accepted);
        };
        action(*form, QStringLiteral("miAbout"))->trigger();
        for (const QString &part : {QString::fromLatin1(qVersion()), QStringLiteral("SIL Open Font License"),
                                    path(QStringLiteral("mkconf.ini")), m_link.backupDir})
            QVERIFY2(text.contains(QDir::toNativeSeparators(part).toHtmlEscaped()), qPrintable(part));

        // Commands added later join "Файл" above "Выход" and the end of "Сервис"; a widget joins
        // the status bar for good.
        QAction *exported =
            form->menu().addFileAction(QStringLiteral("Экспорт профиля…"), QStringLiteral("miExportProfile"));
        QAction *check =
            form->menu().addServiceAction(QStringLiteral("Проверить подключение"), QStringLiteral("miCheck"));
        const QList<QAction *> file = form->menu().fileMenu()->actions();
        QCOMPARE(file.indexOf(exported) + 2, file.indexOf(form->menu().exit())); // the separator between
        QCOMPARE(form->menu().serviceMenu()->actions().last(), check);
        auto *status = new QLabel(QStringLiteral("МК не подключён"));
        form->addPermanentStatusWidget(status);
        QVERIFY(status->isVisible());
        QCOMPARE(status->parentWidget(), static_cast<QWidget *>(&form->statusBar()));
    }
};

QTEST_MAIN(InstallerMenusTest)
#include "installer_menus_test.moc"
