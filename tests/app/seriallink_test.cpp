// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's serial link: the stored port, port discovery and the manual port choice,
// on simulated ports.

#include "DialogScript.h"

#include "app/AccessCheck.h"
#include "app/DemoDevice.h"
#include "app/LinkSettings.h"
#include "app/PortChoice.h"
#include "app/SerialDeviceLink.h"
#include "app/TMainForm.h"
#include "link/DeviceWatcher.h"
#include "link/PortMap.h"
#include "link/SerialPortIo.h"
#include "link/TKW_RS.h"
#include "sim/InMemoryPort.h"
#include "sim/SimulatedDevice.h"
#include "widgets/IniFile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

using namespace mk;
using namespace mk::test;

namespace {

InMemoryPort::Responder silent()
{
    return [](const QByteArray &) { return std::optional<TimedReply>(); };
}

} // namespace

class SerialLinkTest : public QObject
{
    Q_OBJECT

private:
    std::shared_ptr<SimulatedPortBackend> m_ports;
    std::unique_ptr<AccessGuard> m_access;
    QTemporaryDir m_dir;

    // The system's own serial nodes stay out of the test unless a case lists some.
    static DeviceSearchSource noSystemNodes()
    {
        DeviceSearchSource source;
        source.serialNodes = [] { return QList<SerialNodeInfo>(); };
        return source;
    }
    std::unique_ptr<SerialDeviceLink> makeLink(DeviceSearchSource source = noSystemNodes())
    {
        return std::make_unique<SerialDeviceLink>(m_ports, std::move(source), *m_access);
    }

private slots:
    void init()
    {
        m_ports = std::make_shared<SimulatedPortBackend>();
        m_ports->addPort(2, silent());
        m_ports->addPort(5, silent());
        m_access = std::make_unique<AccessGuard>();
    }

    void storedPortIsSelectedWithoutOpening()
    {
        const QString path = m_dir.filePath(QStringLiteral("link.ini"));
        QFile::remove(path);
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("[RS232]\nPort=5\n");
        }
        auto link = makeLink();
        {
            IniFile ini(path);
            link->loadSettings(ini);
        }
        QCOMPARE(link->link().port().PortNumber(), 5);
        QCOMPARE(m_ports->openCount(5), 0); // opened by the first exchange, not by the start
        QVERIFY(!link->link().port().IsOpen());
        QCOMPARE(link->link().port().BaudRate(), 115200u);
        QCOMPARE(link->link().protocol().PortType(), quint8(kPortRs232));

        link->link().port().OpenPort(2);
        {
            IniFile ini(path);
            link->saveSettings(ini);
        }
        QVERIFY(IniFile(path).readInteger(QStringLiteral("RS232"), QStringLiteral("Port"), 0) == 2);
    }

    void manualSearchKeepsThePortAndAutomaticSearchReports()
    {
        DialogScript dialogs;
        auto link = makeLink();
        link->link().port().OpenPort(5);
        link->link().port().ClosePort();
        QVERIFY(link->findDevicePort(nullptr, false));
        QCOMPARE(link->link().port().PortNumber(), 5);
        QVERIFY(dialogs.boxes.isEmpty());

        QVERIFY(!link->findDevicePort(nullptr, true)); // nothing lists the device
        QCOMPARE(dialogs.texts(QMessageBox::Critical), QStringList{QStringLiteral("Не вижу МК.")});
    }

    void manualPortChoice()
    {
        DialogScript dialogs;
        QStringList items;
        int preselected = -2;
        dialogs.other = [&](QDialog &dialog) {
            auto *pcb = dialog.findChild<QComboBox *>(QStringLiteral("PCB"));
            for (int i = 0; i < pcb->count(); ++i)
                items << pcb->itemText(i);
            preselected = pcb->currentIndex();
            pcb->setCurrentIndex(1);
            return int(QDialog::Accepted);
        };
        auto link = makeLink();
        link->link().port().OpenPort(2);
        m_access->grant();
        link->selectPortDialog(nullptr);
        QCOMPARE(items, (QStringList{QStringLiteral("COM2"), QStringLiteral("COM5")}));
        QCOMPARE(preselected, 0);
        QCOMPARE(link->link().port().PortNumber(), 5);
        QVERIFY(!link->link().port().IsOpen()); // checked by opening, then closed for the exchanges
        QVERIFY(dialogs.boxes.isEmpty());
    }

    void manualPortChoiceAsksForThePasswordUnlessGranted()
    {
        DialogScript dialogs;
        int passwordDialogs = 0;
        dialogs.other = [&](QDialog &dialog) {
            if (auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("MaskEdit1"))) {
                ++passwordDialogs;
                edit->setText(QStringLiteral("qxr"));
                return int(QDialog::Accepted);
            }
            return int(QDialog::Rejected);
        };
        auto link = makeLink();
        link->link().port().OpenPort(2);
        link->selectPortDialog(nullptr);
        QCOMPARE(passwordDialogs, 1);
        QCOMPARE(dialogs.texts(QMessageBox::Critical), QStringList{QStringLiteral("Неверный пароль!")});
        QCOMPARE(link->link().port().PortNumber(), 2);
    }

    void demoDeviceIsFoundOnItsPseudoTerminal()
    {
        DialogScript dialogs;
        auto demo = std::make_unique<DemoDevice>(quint16(0x0101), 2);
        const int port = demo->portNumber();
        QVERIFY(port >= 1 && port <= kMaxPortNumber);
        SerialDeviceLink link(std::move(demo));
        QVERIFY(link.findDevicePort(nullptr, true));
        QVERIFY(dialogs.boxes.isEmpty());
        QCOMPARE(link.link().port().PortNumber(), port);
        QVERIFY(!link.link().port().IsOpen());

        // The device answers the identify command with its model code.
        link.link().port().Reopen(true);
        link.link().protocol().CommandExchange(0xFC, 1);
        link.link().frame().GetByte();
        QCOMPARE(link.link().frame().GetWord(), quint16(0x0101));
        link.link().port().Reopen(false);
    }

    // A start with no ini as a user without the right to open any port: only the main window,
    // nothing opened; the port's problem is told by the exchange that uses it, with the check of
    // that port beside it.
    void startWithoutPortRightsShowsOnlyTheWindow()
    {
        DialogScript dialogs;
        m_ports->removePort(2);
        m_ports->addForbiddenPort(2);
        QTemporaryDir dir;
        MainFormSetup setup;
        setup.iniPath = dir.filePath(QStringLiteral("none.ini"));
        setup.programDir = dir.path();
        setup.link = makeLink();
        setup.access = m_access.get();
        TMainForm form(std::move(setup));
        form.show();
        QTest::qWait(50);
        QVERIFY(dialogs.boxes.isEmpty());
        QCOMPARE(m_ports->openCount(2), 0);
        form.findChild<QCheckBox *>(QStringLiteral("cbAuto"))->click(); // the stored port, by hand
        form.findChild<QPushButton *>(QStringLiteral("bGetParams"))->click();
        QCOMPARE(dialogs.boxes.size(), 1);
        QVERIFY2(dialogs.boxes.first().text.startsWith(permissionDeniedText(QStringLiteral("COM2"))),
                 qPrintable(dialogs.boxes.first().text));
    }

    // mkconf --demo: the status bar counts the simulated device as present and names it
    // "МК (демо)" once its settings were read, whatever port the ini keeps and with the automatic
    // search off.
    void demoDeviceInTheStatusBar()
    {
        DialogScript dialogs;
        QTemporaryDir dir;
        MainFormSetup setup;
        setup.iniPath = dir.filePath(QStringLiteral("demo.ini"));
        {
            IniFile ini(setup.iniPath);
            ini.writeBool(QStringLiteral("Common"), QStringLiteral("Auto"), false);
            ini.writeInteger(QStringLiteral("RS232"), QStringLiteral("Port"), 1);
        }
        setup.programDir = dir.path();
        setup.link = std::make_unique<SerialDeviceLink>(std::make_unique<DemoDevice>(quint16(0x0101), 2));
        AccessGuard access;
        setup.access = &access;
        TMainForm form(std::move(setup));
        form.show();
        auto *device = form.statusBar().findChild<QLabel *>(QStringLiteral("deviceStatus"));
        QTRY_VERIFY2(device->text().startsWith(QStringLiteral("МК (демо) подключён: COM")), qPrintable(device->text()));
        form.bGetParamsClick();
        QVERIFY(dialogs.boxes.isEmpty());
        const QString held = form.statusBar().findChild<QLabel *>(QStringLiteral("heldStatus"))->text();
        QVERIFY2(held.startsWith(QStringLiteral("Настройки из МК (демо), считаны в ")), qPrintable(held));
    }

    // A trip computer behind an adapter the watcher cannot tell for one, on the port chosen by
    // hand: after the read the status bar says who answered, not "МК не подключён".
    void readThroughAPortChosenByHandShowsWhoAnswered()
    {
        DialogScript dialogs;
        SimulatedDevice device{DeviceConfig{}};
        m_ports->removePort(2);
        m_ports->addPort(2, InMemoryPort::deviceResponder(device));
        QTemporaryDir dir;
        MainFormSetup setup;
        setup.iniPath = dir.filePath(QStringLiteral("manual.ini"));
        {
            IniFile ini(setup.iniPath);
            ini.writeBool(QStringLiteral("Common"), QStringLiteral("Auto"), false);
            ini.writeInteger(QStringLiteral("RS232"), QStringLiteral("Port"), 2);
        }
        setup.programDir = dir.path();
        setup.link = makeLink();
        DeviceWatcher nothingSeen([] { return QList<SerialNodeInfo>(); });
        setup.deviceWatcher = &nothingSeen;
        setup.access = m_access.get();
        TMainForm form(std::move(setup));
        form.show();
        auto *status = form.statusBar().findChild<QLabel *>(QStringLiteral("deviceStatus"));
        QCOMPARE(status->text(), QStringLiteral("МК не подключён"));
        form.bGetParamsClick();
        QVERIFY2(dialogs.boxes.isEmpty(), qPrintable(dialogs.boxes.isEmpty() ? QString() : dialogs.boxes.first().text));
        QVERIFY2(status->text().startsWith(QStringLiteral("Ответил МК на COM2")), qPrintable(status->text()));
        nothingSeen.refresh(); // no news: the note stays
        QVERIFY2(status->text().startsWith(QStringLiteral("Ответил МК на COM2")), qPrintable(status->text()));
    }

    // No port present at all: the dialog opens all the same, says so, and takes a typed port
    // (a path on Linux, a COM port in any of its spellings on Windows).
    void noPortAtAllStillLetsAPortBeTyped()
    {
        DialogScript dialogs;
        m_ports->removePort(2);
        m_ports->removePort(5);
        clearPortOverrides();
        const bool paths = systemPortNode(1).startsWith(QLatin1Char('/'));
        const QString typed = paths ? QStringLiteral("/dev/null") : QStringLiteral("\\\\.\\COM12");
        QString type = typed;
        int listed = -1;
        QString hint;
        dialogs.other = [&](QDialog &dialog) {
            auto *pcb = dialog.findChild<QComboBox *>(QStringLiteral("PCB"));
            listed = pcb->count();
            hint = dialog.findChild<QLabel *>(QStringLiteral("lTypeHint"))->text();
            dialog.show();
            // The node appears (the device is plugged in) while the dialog is open.
            if (!type.isEmpty())
                m_ports->addPort(paths ? typedPortChoice(type) : 12, silent());
            QTest::keyClicks(pcb->lineEdit(), type);
            QTest::keyClick(pcb->lineEdit(), Qt::Key_Return);
            return dialog.result();
        };
        auto link = makeLink();
        m_access->grant();
        link->selectPortDialog(nullptr);
        QCOMPARE(listed, 0);
        QVERIFY2(hint.startsWith(QStringLiteral("Нет свободного COM-порта!")), qPrintable(hint));
        QVERIFY2(dialogs.boxes.isEmpty(), qPrintable(dialogs.boxes.isEmpty() ? QString() : dialogs.boxes.first().text));
        QCOMPARE(nodeForPort(link->link().port().PortNumber()), paths ? typed : QStringLiteral("COM12"));
        QVERIFY(!link->link().port().IsOpen());
        // Kept in the ini as typed: the path, or the number.
        QSettings ini(m_dir.filePath(QStringLiteral("typed.ini")), QSettings::IniFormat);
        SaveSettings(link->link().port(), ini);
        ini.sync();
        QCOMPARE(ini.value(QStringLiteral("RS232/Port")).toString(), paths ? typed : QStringLiteral("12"));

        // OK with nothing typed chooses nothing, as Cancel: no box, the port as it was.
        const int before = link->link().port().PortNumber();
        m_ports->removePort(before);
        type.clear();
        link->selectPortDialog(nullptr);
        QVERIFY(dialogs.boxes.isEmpty());
        QCOMPARE(link->link().port().PortNumber(), before);
        clearPortOverrides();
    }
};

QTEST_MAIN(SerialLinkTest)
#include "seriallink_test.moc"
