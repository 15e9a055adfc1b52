// SPDX-License-Identifier: GPL-3.0-or-later
// The main window driven through its buttons with a scripted device link.

#include "DialogScript.h"
#include "FakeDeviceLink.h"
#include "Mnemonics.h"
#include "support/RawFiles.h"

#include "app/AccessCheck.h"
#include "app/ExchangeRunner.h"
#include "app/TMainForm.h"
#include "base/Error.h"
#include "base/StdStreams.h"
#include "image/SettingsFile.h"

#include <QApplication>
#include <QCheckBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTime>
#include <QTimer>

using namespace mk;
using namespace mk::test;

namespace {

const QString kUnsaved = QStringLiteral("Возможно, настройки были изменены, но не сохранены на диске. Сохранить?");
const QStringList kEditingButtons = {QStringLiteral("bEditParams"), QStringLiteral("bViewJournals"),
                                     QStringLiteral("bViewOsc"), QStringLiteral("bSaveParams"),
                                     QStringLiteral("bSetParams")};

QPushButton *button(QWidget &form, const QString &name)
{
    auto *b = form.findChild<QPushButton *>(name);
    if (!b)
        qFatal("no button %s", qPrintable(name));
    return b;
}

void click(QWidget &form, const QString &name) { QTest::mouseClick(button(form, name), Qt::LeftButton); }

// The five editing buttons are always enabled or disabled together.
int editingButtonsEnabled(QWidget &form)
{
    int enabled = 0;
    for (const QString &name : kEditingButtons)
        enabled += button(form, name)->isEnabled();
    return enabled;
}

} // namespace

class MainFormTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    FakeLinkScript m_link;
    AccessGuard m_access;
    bool m_editResult = true;
    int m_edits = 0;
    int m_journals = 0;
    int m_oscs = 0;
    std::function<void()> m_editAction;

    QString path(const QString &name) const { return m_dir->filePath(name); }
    QString iniPath() const { return path(QStringLiteral("mkconf.ini")); }

    std::unique_ptr<TMainForm> makeForm()
    {
        MainFormSetup setup;
        setup.iniPath = iniPath();
        setup.programDir = m_dir->path();
        setup.link = std::make_unique<FakeDeviceLink>(m_link);
        setup.access = &m_access;
        setup.steps.edit = [this](QWidget *, TMK &) {
            ++m_edits;
            if (m_editAction)
                m_editAction();
            return m_editResult;
        };
        setup.steps.journals = [this](QWidget *, TMK &) {
            ++m_journals;
            return true;
        };
        setup.steps.osc = [this](QWidget *, TMK &) { ++m_oscs; };
        return std::make_unique<TMainForm>(std::move(setup));
    }

    std::unique_ptr<TMainForm> shownForm()
    {
        auto form = makeForm();
        form->show();
        return form;
    }

    void makeModified(TMainForm &form)
    {
        m_editResult = true;
        click(form, QStringLiteral("bEditParams"));
        QVERIFY(form.modified());
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_link = FakeLinkScript{};
        m_editResult = true;
        m_edits = m_journals = m_oscs = 0;
        m_editAction = nullptr;
    }

    void controlsAsTabled()
    {
        auto form = shownForm();
        // "[*]" marks unsaved edits, none yet.
        QCOMPARE(form->windowTitle(), QStringLiteral("Просмотр и настройка параметров МК (Версия 16.04.19)[*]"));
        QVERIFY(!form->isWindowModified());
        // The tabled client area, with the menu bar above it and the status bar below.
        auto *client = form->findChild<QWidget *>(QStringLiteral("ClientArea"));
        QCOMPARE(client->size(), QSize(810, 401));
        QCOMPARE(form->width(), 810);
        QCOMPARE(form->minimumSize(), form->maximumSize());
        auto *menu = form->findChild<QMenuBar *>(QStringLiteral("MainMenu"));
        auto *status = form->findChild<QStatusBar *>(QStringLiteral("StatusBar"));
        QVERIFY(menu->geometry().bottom() < client->y());
        QVERIFY(status->y() > client->geometry().bottom());
        QCOMPARE(form->height(), menu->height() + 401 + status->height());
        QStringList menus;
        for (QAction *a : menu->actions())
            menus << a->text().remove(QLatin1Char('&'));
        QCOMPARE(menus, (QStringList{QStringLiteral("Файл"), QStringLiteral("Сервис"), QStringLiteral("Справка")}));
        const QList<std::pair<QString, QString>> captions = {
            {QStringLiteral("bRS232"), QStringLiteral("Выбрать СОМ-порт вручную")},
            {QStringLiteral("bGetParams"), QStringLiteral("Считать настройки из МК")},
            {QStringLiteral("bLoadParams"), QStringLiteral("Считать настройки из файла на диске")},
            {QStringLiteral("bEditParams"), QStringLiteral("Редактировать настройки")},
            {QStringLiteral("bViewJournals"), QStringLiteral("Просмотреть журналы")},
            {QStringLiteral("bViewOsc"), QStringLiteral("Просмотреть данные осциллографа")},
            {QStringLiteral("bSaveParams"), QStringLiteral("Сохранить настройки в файл на диске")},
            {QStringLiteral("bSetParams"), QStringLiteral("Записать настройки в МК")}};
        for (const auto &[name, text] : captions) {
            QCOMPARE(button(*form, name)->text().remove(QLatin1Char('&')), text);
            QVERIFY(button(*form, name)->font().bold());
        }
        auto *cbAuto = form->findChild<QCheckBox *>(QStringLiteral("cbAuto"));
        QCOMPARE(cbAuto->text().remove(QLatin1Char('&')), QStringLiteral("Искать МК автоматически"));
        const QStringList shortcuts = mnemonicFaults(*form, true);
        QVERIFY2(shortcuts.isEmpty(), qPrintable(shortcuts.join(QStringLiteral("; "))));
        QVERIFY(cbAuto->font().bold());
        auto *label5 = form->findChild<QLabel *>(QStringLiteral("Label5"));
        QCOMPARE(label5->text(), QStringLiteral("Внимание! Для правильной работы программы \nНЕОБХОДИМО \n"
                                                "предварительно загрузить в МК последнюю версию ПО."));
        QCOMPARE(label5->palette().color(QPalette::WindowText), QColor(Qt::red));
        // The groups and the column each stands in.
        const QList<std::pair<QString, QString>> groups = {{QStringLiteral("GroupBox1"), QStringLiteral("Шаг 1")},
                                                           {QStringLiteral("GroupBox2"), QStringLiteral("Шаг 2")},
                                                           {QStringLiteral("GroupBox5"), QStringLiteral("Шаг 2a")},
                                                           {QStringLiteral("GroupBox6"), QStringLiteral("Шаг 2b")},
                                                           {QStringLiteral("GroupBox3"), QStringLiteral("Шаг 3")},
                                                           {QStringLiteral("GroupBox4"), QStringLiteral("Шаг 4")}};
        int previousTop[2] = {-1, -1};
        for (int i = 0; i < groups.size(); ++i) {
            auto *group = form->findChild<QGroupBox *>(groups[i].first);
            QCOMPARE(group->title(), groups[i].second);
            const int column = i < 2 ? 0 : 1;
            QCOMPARE(group->geometry().center().x() > form->width() / 2, column == 1);
            QVERIFY(group->y() > previousTop[column]); // top to bottom
            previousTop[column] = group->y();
        }
        QCOMPARE(button(*form, QStringLiteral("bGetParams"))->parentWidget()->objectName(),
                 QStringLiteral("GroupBox1"));
        QCOMPARE(button(*form, QStringLiteral("bSetParams"))->parentWidget()->objectName(),
                 QStringLiteral("GroupBox4"));
        QCOMPARE(editingButtonsEnabled(*form), 0);
        QVERIFY(button(*form, QStringLiteral("bGetParams"))->isEnabled());
        QVERIFY(button(*form, QStringLiteral("bLoadParams"))->isEnabled());
        QVERIFY(m_access.granted()); // the port dialogs never ask for the password
    }

    // Enter on the focused button runs its step, as in a dialog; Alt and the underlined letter
    // press a button.
    void keyboardRunsTheSteps()
    {
        DialogScript dialogs;
        auto form = shownForm();
        QApplication::setActiveWindow(form.get());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QTest::keyClick(button(*form, QStringLiteral("bGetParams")), Qt::Key_Return);
        QCOMPARE(m_link.reads, 1);
        QTest::keyClick(button(*form, QStringLiteral("bEditParams")), Qt::Key_Enter);
        QCOMPARE(m_edits, 1);
        // Alt+З (the Cyrillic Ze) writes to the device; the progress window had the focus meanwhile.
        QApplication::setActiveWindow(form.get());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        altKey(form.get(), u'З');
        QTRY_COMPARE(m_link.writes, 1); // the button is pressed and released as if clicked
    }

    void firstStartCreatesIniAndCentres()
    {
        QVERIFY(!QFile::exists(iniPath()));
        auto form = shownForm();
        QCOMPARE(readRaw(iniPath()), textLineEnds(" \n"));
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        // Centred, except that a screen narrower than the window puts it at the left edge.
        const QSize area = form->size();
        QVERIFY(qAbs(form->geometry().left() - qMax(0, screen.center().x() - area.width() / 2)) <= 1);
        QVERIFY(qAbs(form->geometry().top() - qMax(0, screen.center().y() - area.height() / 2)) <= 1);
        // The window's own area is stored, not its frame: the same measure comes back.
        const QPoint where = form->geometry().topLeft();
        QVERIFY(form->close());
        const QByteArray ini = readRaw(iniPath());
        QVERIFY2(ini.contains(textLineEnds("[Common]\nAuto=1\n")), ini.constData());
        QVERIFY2(ini.contains(textLineEnds("[RS232]\nPort=3\n")), ini.constData());
        for (const QByteArray &line :
             {QByteArray("State=0"), "Left=" + QByteArray::number(where.x()), "Top=" + QByteArray::number(where.y()),
              QByteArray("Width=810"), "Height=" + QByteArray::number(area.height())})
            QVERIFY2(ini.contains(line), line.constData());
    }

    void storedPlacementIsApplied()
    {
        QVERIFY(writeRaw(iniPath(), "[MainWindow]\nState=0\nLeft=-20\nTop=35\nWidth=5\nHeight=5\n[RS232]\nPort=7\n"));
        auto form = shownForm();
        QCOMPARE(form->geometry().topLeft(), QPoint(0, 35));
        QCOMPARE(form->findChild<QWidget *>(QStringLiteral("ClientArea"))->size(), QSize(810, 401));
        QCOMPARE(form->minimumSize(), form->maximumSize());
        QVERIFY(form->close());
        QVERIFY(readRaw(iniPath()).contains("Port=7"));
    }

    void autoSurvivesRestart()
    {
        {
            auto form = shownForm();
            auto *cbAuto = form->findChild<QCheckBox *>(QStringLiteral("cbAuto"));
            QVERIFY(cbAuto->isChecked());
            QVERIFY(!button(*form, QStringLiteral("bRS232"))->isEnabled());
            cbAuto->click();
            QVERIFY(!form->autoSearch());
            QVERIFY(button(*form, QStringLiteral("bRS232"))->isEnabled()); // at once
            click(*form, QStringLiteral("bRS232"));
            QCOMPARE(m_link.portDialogs, 1);
            click(*form, QStringLiteral("bGetParams"));
            QCOMPARE(m_link.lastAutomatic, false);
            QVERIFY(form->close());
        }
        QVERIFY(readRaw(iniPath()).contains("Auto=0"));
        auto again = shownForm();
        QVERIFY(!again->findChild<QCheckBox *>(QStringLiteral("cbAuto"))->isChecked());
        QVERIFY(button(*again, QStringLiteral("bRS232"))->isEnabled());
    }

    void readWithClearFlagAsksNothing()
    {
        DialogScript dialogs;
        auto form = shownForm();
        click(*form, QStringLiteral("bGetParams"));
        QVERIFY(dialogs.boxes.isEmpty());
        QCOMPARE(m_link.reads, 1);
        QCOMPARE(m_link.lastAutomatic, true);
        QCOMPARE(editingButtonsEnabled(*form), 5);
        QVERIFY(form->model().hasImage());
    }

    void readWithModifiedFlagAsksFirst()
    {
        DialogScript dialogs;
        auto form = shownForm();
        click(*form, QStringLiteral("bGetParams"));
        makeModified(*form);

        dialogs.answers.enqueue(QMessageBox::No);
        click(*form, QStringLiteral("bGetParams"));
        QCOMPARE(dialogs.texts(QMessageBox::Question), QStringList{kUnsaved});
        QVERIFY(dialogs.fileDialogs.isEmpty());
        QCOMPARE(m_link.reads, 2);
        QVERIFY(form->modified()); // reading leaves the flag as it was

        // Yes saves first; a save that did not happen, or Cancel, stops the read.
        dialogs.answers.enqueue(QMessageBox::Yes);
        click(*form, QStringLiteral("bGetParams"));
        QCOMPARE(dialogs.fileDialogs, QStringList{QStringLiteral("SaveDialog")});
        dialogs.answers.enqueue(QMessageBox::Cancel);
        click(*form, QStringLiteral("bGetParams"));
        QCOMPARE(dialogs.fileDialogs.size(), 1);
        QCOMPARE(m_link.reads, 2);
        QVERIFY(form->modified());

        dialogs.answers.enqueue(QMessageBox::Yes);
        dialogs.fileNames.enqueue(path(QStringLiteral("before-read")));
        click(*form, QStringLiteral("bGetParams"));
        QVERIFY(QFile::exists(path(QStringLiteral("before-read.tcset"))));
        QVERIFY(!form->modified());
        QCOMPARE(m_link.reads, 3);
    }

    void editFlagRules()
    {
        DialogScript dialogs;
        auto form = shownForm();
        click(*form, QStringLiteral("bGetParams"));
        m_editResult = false;
        click(*form, QStringLiteral("bEditParams"));
        QVERIFY(!form->modified());
        makeModified(*form);
        m_editResult = false; // a cancelled edit keeps the flag
        click(*form, QStringLiteral("bEditParams"));
        QVERIFY(form->modified());
        click(*form, QStringLiteral("bViewJournals"));
        click(*form, QStringLiteral("bViewOsc"));
        click(*form, QStringLiteral("bSetParams"));
        QVERIFY(form->modified());
        QCOMPARE(m_edits, 3);
        QCOMPARE(m_journals, 1);
        QCOMPARE(m_oscs, 1);
        QCOMPARE(m_link.writes, 1);
    }

    void closingWithChangesAnsweredNo()
    {
        DialogScript dialogs;
        auto form = shownForm();
        click(*form, QStringLiteral("bGetParams"));
        makeModified(*form);
        dialogs.answers.enqueue(QMessageBox::No);
        QVERIFY(form->close());
        QCOMPARE(dialogs.texts(QMessageBox::Question), QStringList{kUnsaved});
        QVERIFY(dialogs.fileDialogs.isEmpty());
        QVERIFY(readRaw(iniPath()).contains("Auto=1")); // shut-down still stores the ini
    }

    void closingWithChangesSavesOrNot()
    {
        DialogScript dialogs;
        {
            auto form = shownForm();
            click(*form, QStringLiteral("bGetParams"));
            makeModified(*form);
            dialogs.answers.enqueue(QMessageBox::Yes); // then the save dialog is cancelled
            QVERIFY(!form->close());
            QCOMPARE(dialogs.fileDialogs.size(), 1);
            QVERIFY(form->modified());
            dialogs.answers.enqueue(QMessageBox::No);
            QVERIFY(form->close());
        }
        auto form = shownForm();
        click(*form, QStringLiteral("bGetParams"));
        makeModified(*form);
        dialogs.answers.enqueue(QMessageBox::Yes);
        dialogs.fileNames.enqueue(path(QStringLiteral("at-close.tcset")));
        QVERIFY(form->close());
        QCOMPARE(readRaw(path(QStringLiteral("at-close.tcset"))),
                 encodeSettingsFile(form->model().modelCode(), form->model().image()));
    }

    // The real question box: Esc, closing the box and Отмена keep the program and its edits.
    void closingQuestionCancelKeepsTheEdits_data()
    {
        QTest::addColumn<int>("how");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Esc") << 0 << false;
        QTest::newRow("box closed") << 1 << false;
        QTest::newRow("Отмена") << 2 << false;
        QTest::newRow("Нет") << 3 << true;
    }

    void closingQuestionCancelKeepsTheEdits()
    {
        QFETCH(int, how);
        QFETCH(bool, closes);
        QStringList buttons;
        const ScopedDialogHook hook([&](QDialog &dialog) {
            auto &box = static_cast<QMessageBox &>(dialog);
            for (QAbstractButton *b : box.buttons())
                buttons << b->text();
            QTimer::singleShot(0, &box, [&box, how] {
                if (how == 0)
                    QTest::keyClick(&box, Qt::Key_Escape);
                else if (how == 1)
                    box.close();
                else
                    box.button(how == 2 ? QMessageBox::Cancel : QMessageBox::No)->click();
            });
            return box.exec();
        });
        auto form = shownForm();
        click(*form, QStringLiteral("bGetParams"));
        makeModified(*form);
        QCOMPARE(form->close(), closes);
        QCOMPARE(buttons.size(), 3);
        QCOMPARE(form->modified(), true);
        QCOMPARE(form->isVisible(), !closes);
    }

    void loadingAsksAboutUnsavedEdits()
    {
        DialogScript dialogs;
        auto form = shownForm();
        click(*form, QStringLiteral("bGetParams"));
        makeModified(*form);
        const QString file = path(QStringLiteral("other.tcset"));
        QVERIFY(writeRaw(file, encodeSettingsFile(form->model().modelCode(), form->model().image())));

        dialogs.answers.enqueue(QMessageBox::Cancel);
        click(*form, QStringLiteral("bLoadParams"));
        QCOMPARE(dialogs.texts(QMessageBox::Question), QStringList{kUnsaved});
        QVERIFY(dialogs.fileDialogs.isEmpty());
        // A handed-over file asks the same and is not loaded on Cancel.
        dialogs.answers.enqueue(QMessageBox::Cancel);
        form->openFile(path(QStringLiteral("missing.tcset")));
        QCOMPARE(dialogs.texts(QMessageBox::Question).size(), 2);
        QVERIFY(dialogs.texts(QMessageBox::Critical).isEmpty());

        dialogs.answers.enqueue(QMessageBox::No);
        dialogs.fileNames.enqueue(file);
        click(*form, QStringLiteral("bLoadParams"));
        QCOMPARE(dialogs.fileDialogs, QStringList{QStringLiteral("OpenDialog")});
        QVERIFY(!form->modified()); // the edits were given up: the file just loaded holds none
    }

    void noQuestionAtClosingWhenClear()
    {
        DialogScript dialogs;
        auto form = shownForm();
        click(*form, QStringLiteral("bGetParams"));
        QVERIFY(form->close());
        QVERIFY(dialogs.boxes.isEmpty());
    }

    void saveAndLoadThroughTheButtons()
    {
        DialogScript dialogs;
        const QString file = path(QStringLiteral("settings"));
        QByteArray image;
        {
            auto form = shownForm();
            click(*form, QStringLiteral("bGetParams"));
            makeModified(*form);
            image = form->model().image();
            dialogs.fileNames.enqueue(file);
            click(*form, QStringLiteral("bSaveParams"));
            QVERIFY(!form->modified());
            QCOMPARE(dialogs.fileFilters, QStringList{QStringLiteral("Файлы настроек (*.tcset)")});
            QCOMPARE(dialogs.fileSuffixes, QStringList{QStringLiteral("tcset")});
            QCOMPARE(dialogs.fileDirs, QStringList{m_dir->path()}); // the program's folder
            // A name of the model and the day is offered.
            QVERIFY2(dialogs.fileOffers.value(0).endsWith(
                         QStringLiteral(" %1.tcset").arg(QDate::currentDate().toString(Qt::ISODate))),
                     qPrintable(dialogs.fileOffers.value(0)));
            QVERIFY(form->close());
        }
        QCOMPARE(readRaw(file + QStringLiteral(".tcset")), encodeSettingsFile(1, image));

        auto form = shownForm();
        dialogs.fileNames.enqueue(file + QStringLiteral(".tcset"));
        click(*form, QStringLiteral("bLoadParams"));
        QCOMPARE(dialogs.fileDialogs.last(), QStringLiteral("OpenDialog"));
        QCOMPARE(form->model().image(), image);
        QCOMPARE(form->model().modelCode(), quint16(1));
        QCOMPARE(editingButtonsEnabled(*form), 5);
        QVERIFY(!form->modified());
        QVERIFY(dialogs.texts(QMessageBox::Critical).isEmpty());
    }

    // The status bar follows every step that changes what is held or whether it was edited.
    void statusBarSaysWhatIsHeld()
    {
        DialogScript dialogs;
        auto form = shownForm();
        auto *held = form->statusBar().findChild<QLabel *>(QStringLiteral("heldStatus"));
        QVERIFY(held && held->isVisible());
        const auto now = [] { return QTime::currentTime().toString(QStringLiteral("HH:mm")); };
        QCOMPARE(held->text(), QStringLiteral("Настройки не загружены"));

        const QList<std::pair<std::function<void()>, QString>> steps = {
            {[&] { click(*form, QStringLiteral("bGetParams")); },
             QStringLiteral("Настройки из МК на COM3, считаны в ")},
            {[&] { makeModified(*form); }, QStringLiteral(" — изменены, не сохранены")},
            {[&] { click(*form, QStringLiteral("bSetParams")); }, QStringLiteral("Настройки записаны в МК на COM3 в ")},
            {[&] {
                 dialogs.fileNames.enqueue(path(QStringLiteral("a.tcset")));
                 click(*form, QStringLiteral("bSaveParams"));
             },
             QStringLiteral("Настройки из файла a.tcset")},
            {[&] {
                 QVERIFY(QFile::copy(path(QStringLiteral("a.tcset")), path(QStringLiteral("b.tcset"))));
                 // Edited, not saved ("Нет"), then another file loaded: nothing held is unsaved.
                 makeModified(*form);
                 dialogs.answers << QMessageBox::No;
                 dialogs.fileNames.enqueue(path(QStringLiteral("b.tcset")));
                 click(*form, QStringLiteral("bLoadParams"));
             },
             QStringLiteral("Настройки из файла b.tcset")},
        };
        for (const auto &[step, expected] : steps) {
            step();
            QVERIFY2(held->text().contains(expected), qPrintable(held->text()));
        }
        QVERIFY(form->held().source == HeldSettings::Source::File);
        QVERIFY(!held->text().contains(QStringLiteral("изменены")));
        QVERIFY(!form->modified());
        click(*form, QStringLiteral("bGetParams"));
        QVERIFY2(held->text().endsWith(now()), qPrintable(held->text()));
        // A failed or cancelled read leaves the words as they were, as it leaves the settings.
        const QString before = held->text();
        m_link.read = [](TMK &, Progress &) { return ExchangeEnd::Cancelled; };
        click(*form, QStringLiteral("bGetParams"));
        QCOMPARE(held->text(), before);
        QVERIFY(dialogs.texts(QMessageBox::Critical).isEmpty());
    }

    void overwriteRefusedLeavesFileAndFlag()
    {
        DialogScript dialogs;
        const QString file = path(QStringLiteral("old.tcset"));
        QVERIFY(writeRaw(file, "old"));
        auto form = shownForm();
        click(*form, QStringLiteral("bGetParams"));
        makeModified(*form);
        dialogs.fileNames.enqueue(file);
        dialogs.answers.enqueue(QMessageBox::No);
        click(*form, QStringLiteral("bSaveParams"));
        QCOMPARE(dialogs.texts(QMessageBox::Question), QStringList{QStringLiteral("Файл уже существует. Переписать?")});
        QCOMPARE(readRaw(file), QByteArray("old"));
        QVERIFY(form->modified());

        dialogs.fileNames.enqueue(file);
        dialogs.answers.enqueue(QMessageBox::Yes);
        click(*form, QStringLiteral("bSaveParams"));
        QCOMPARE(readRaw(file).size(), form->model().image().size() + 2);
        QVERIFY(!form->modified());
    }

    void failedSaveReportsAndChangesNothing()
    {
        DialogScript dialogs;
        auto form = shownForm();
        click(*form, QStringLiteral("bGetParams"));
        makeModified(*form);
        dialogs.fileNames.enqueue(path(QStringLiteral("no-such-folder/x.tcset")));
        click(*form, QStringLiteral("bSaveParams"));
        QCOMPARE(dialogs.texts(QMessageBox::Critical).size(), 1);
        QVERIFY(form->modified());
        QCOMPARE(editingButtonsEnabled(*form), 5);
    }

    void unreadableFileKeepsWhatWasHeld()
    {
        DialogScript dialogs;
        const QString file = path(QStringLiteral("short.tcset"));
        QVERIFY(writeRaw(file, "x"));
        auto form = shownForm();
        dialogs.fileNames.enqueue(file);
        click(*form, QStringLiteral("bLoadParams"));
        QCOMPARE(dialogs.texts(QMessageBox::Critical),
                 QStringList{QStringLiteral("Файл настроек слишком короткий (1 байт).")});
        QCOMPARE(editingButtonsEnabled(*form), 0);

        click(*form, QStringLiteral("bGetParams"));
        const QByteArray held = form->model().image();
        dialogs.fileNames.enqueue(file);
        click(*form, QStringLiteral("bLoadParams"));
        QCOMPARE(form->model().image(), held);
        QCOMPARE(editingButtonsEnabled(*form), 5);
        QVERIFY(form->isVisible());
    }

    // A file whose header no device can have is refused, whatever was held before stays; the
    // refusal says why in the user's words.
    void impossibleFileIsRefusedKeepingTheHeld()
    {
        DialogScript dialogs;
        const QString file = path(QStringLiteral("random.tcset"));
        QByteArray random(500, '\0');
        for (int i = 0; i < random.size(); ++i)
            random[i] = char((i * 89 + 7) ^ (i >> 2));
        QVERIFY(writeRaw(file, random));
        auto form = shownForm();
        click(*form, QStringLiteral("bGetParams"));
        const QByteArray held = form->model().image();
        const QString status = form->statusBar().findChild<QLabel *>(QStringLiteral("heldStatus"))->text();
        dialogs.fileNames.enqueue(file);
        click(*form, QStringLiteral("bLoadParams"));
        const QStringList errors = dialogs.texts(QMessageBox::Critical);
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors[0].contains(QStringLiteral("не является файлом настроек МК")), qPrintable(errors[0]));
        QVERIFY(errors[0].contains(QStringLiteral("прежние настройки сохранены")));
        QVERIFY(dialogs.texts(QMessageBox::Information).isEmpty());
        QCOMPARE(form->model().image(), held);
        QCOMPARE(form->statusBar().findChild<QLabel *>(QStringLiteral("heldStatus"))->text(), status);
        QCOMPARE(editingButtonsEnabled(*form), 5);
    }

    void readOutcomes()
    {
        DialogScript dialogs;
        auto form = shownForm();
        m_link.portFound = false;
        click(*form, QStringLiteral("bGetParams"));
        QCOMPARE(m_link.reads, 0); // no port, no exchange

        m_link.portFound = true;
        m_link.read = [](TMK &, Progress &) { return ExchangeEnd::Cancelled; };
        click(*form, QStringLiteral("bGetParams"));
        QCOMPARE(editingButtonsEnabled(*form), 0);
        QVERIFY(dialogs.boxes.isEmpty());

        m_link = FakeLinkScript{};
        click(*form, QStringLiteral("bGetParams"));
        QCOMPARE(editingButtonsEnabled(*form), 5);

        // A failed read keeps the settings held before, and with them the buttons.
        const QByteArray held = form->model().image();
        m_link.read = [](TMK &, Progress &) -> ExchangeEnd { throw Error(QStringLiteral("МК не отвечает")); };
        click(*form, QStringLiteral("bGetParams"));
        QCOMPARE(dialogs.texts(QMessageBox::Critical), QStringList{QStringLiteral("МК не отвечает")});
        QCOMPARE(editingButtonsEnabled(*form), 5);
        QCOMPARE(form->model().image(), held);
    }

    void writeOutcomes()
    {
        DialogScript dialogs;
        auto form = shownForm();
        click(*form, QStringLiteral("bGetParams"));
        click(*form, QStringLiteral("bSetParams"));
        // Settings read from the device leave its journals and counters to it.
        QCOMPARE(m_link.lastRecorded, RecordedData::FollowDevice);
        QCOMPARE(dialogs.boxes.size(), 1);
        QCOMPARE(dialogs.boxes[0].icon, QMessageBox::Information);
        QVERIFY(dialogs.boxes[0].text.startsWith(QStringLiteral("Настройки записаны в МК")));
        QVERIFY(dialogs.boxes[0].text.contains(QDir::toNativeSeparators(QStringLiteral("/tmp/backup.tcset"))));

        m_link.write = [](TMK &, Progress &) -> WriteReport {
            throw Error(QStringLiteral("Версия настроек не совпадает с версией устройства!"));
        };
        click(*form, QStringLiteral("bSetParams"));
        QCOMPARE(dialogs.texts(QMessageBox::Critical),
                 QStringList{QStringLiteral("Версия настроек не совпадает с версией устройства!")});
        QCOMPARE(editingButtonsEnabled(*form), 5);

        m_link.write = [](TMK &, Progress &) { return WriteReport{ExchangeEnd::Cancelled, {}}; };
        click(*form, QStringLiteral("bSetParams"));
        QCOMPARE(dialogs.boxes.size(), 2);
    }

    void errorsOfAStepAreShownAndTheWindowGoesOn()
    {
        DialogScript dialogs;
        auto form = shownForm();
        click(*form, QStringLiteral("bGetParams"));
        m_editAction = [] { throw Error(QStringLiteral("Ошибка проверки диапазона")); };
        click(*form, QStringLiteral("bEditParams"));
        QCOMPARE(dialogs.texts(QMessageBox::Critical), QStringList{QStringLiteral("Ошибка проверки диапазона")});
        QVERIFY(!form->modified());
        m_editAction = [] { throw std::runtime_error("bad_alloc"); };
        click(*form, QStringLiteral("bEditParams"));
        QCOMPARE(dialogs.texts(QMessageBox::Critical).size(), 2);
        m_editAction = nullptr;
        click(*form, QStringLiteral("bEditParams"));
        QVERIFY(form->modified());
    }

    void nothingElseStartsDuringAnExchange()
    {
        DialogScript dialogs;
        auto form = shownForm();
        bool closeRefused = false;
        bool otherButtonsBlocked = false;
        m_link.read = [&](TMK &model, Progress &) {
            QMetaObject::invokeMethod(
                form.get(),
                [&] {
                    // The progress window is application-modal; even a click that got
                    // through must not start a second exchange.
                    otherButtonsBlocked = QApplication::activeModalWidget() != nullptr;
                    form->bSetParamsClick();
                    form->bGetParamsClick();
                    closeRefused = !form->close();
                },
                Qt::BlockingQueuedConnection);
            model.replaceImage(1, makeFactoryImage(1, 1));
            return ExchangeEnd::Done;
        };
        click(*form, QStringLiteral("bGetParams"));
        QVERIFY(otherButtonsBlocked);
        QVERIFY(closeRefused);
        QCOMPARE(m_link.reads, 1);
        QCOMPARE(m_link.writes, 0);
        QVERIFY(form->isVisible());
        QCOMPARE(editingButtonsEnabled(*form), 5);
    }
};

QTEST_MAIN(MainFormTest)
#include "mainform_test.moc"
