// SPDX-License-Identifier: GPL-3.0-or-later
// The real editor and both viewers on erased, zeroed and random images: each opens, shows every
// page and closes; Cancel leaves image and records byte for byte as they were. A watchdog ends
// the run when one of them hangs.

#include "EditorTestSupport.h"
#include "app/DialogScript.h"
#include "base/Error.h"
#include "editor/EditTransaction.h"
#include "image/FactoryImage.h"
#include "image/TMK.h"
#include "image/TankCalibration.h"
#include "settings/HotMenuList.h"
#include "viewers/ViewerTransactions.h"

#include <QRandomGenerator>
#include <QTabWidget>
#include <QtTest>

#include <array>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

using namespace mk;
using namespace mk::test;

namespace {

// Aborts the whole program when it is not disarmed in time: a hang fails the run instead of
// stalling it, and the message names the image.
class Watchdog
{
public:
    Watchdog(const QString &what, int seconds) : m_what(what.toStdString())
    {
        m_thread = std::thread([this, seconds] {
            std::unique_lock lock(m_mutex);
            if (!m_done.wait_for(lock, std::chrono::seconds(seconds), [this] { return m_disarmed; })) {
                std::fprintf(stderr, "hung on %s\n", m_what.c_str());
                std::abort();
            }
        });
    }
    ~Watchdog()
    {
        {
            std::lock_guard lock(m_mutex);
            m_disarmed = true;
        }
        m_done.notify_all();
        m_thread.join();
    }

private:
    std::string m_what;
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_disarmed = false;
    std::thread m_thread;
};

struct Sample
{
    QString name;
    quint16 modelCode;
    QByteArray image;
};

// Erased and zeroed memory, random bytes everywhere, and random contents in a sound layout (with
// a lookup key the model table accepts, so that the editor really opens on them).
QList<Sample> samples()
{
    QList<Sample> list{{QStringLiteral("erased"), 0xFFFF, QByteArray(8128, '\xFF')},
                       {QStringLiteral("erased, known model"), 0x0101, QByteArray(8128, '\xFF')},
                       {QStringLiteral("zero"), 0x0101, QByteArray(8128, '\0')}};
    QRandomGenerator random(1717);
    const std::pair<quint16, quint32> keys[] = {{0x8002, 0}, {0x0C01, 0}, {0x0801, 1}, {0x0701, 0}, {0x0105, 6}};
    for (int i = 0; i < 30; ++i) {
        const auto [code, version] = keys[i % 5];
        QByteArray image = i % 3 == 0 ? QByteArray(8128, '\0') : makeFactoryImage(code, version);
        const int from = i % 3 == 0 ? 0 : 64;
        for (qsizetype p = from; p < image.size(); ++p)
            image[p] = char(random.bounded(256));
        if (i % 3 != 0) {
            const qsizetype protocol = ImageHeader::parse(image).sections[10].contentPos() + 4;
            image[protocol] = char(random.bounded(3));
            image[protocol + 1] = 0;
        }
        list.append({QStringLiteral("random %1").arg(i), code, image});
    }
    return list;
}

// Shows the dialog and walks through every page of every page control.
int showEveryPage(QDialog &dialog)
{
    dialog.show();
    QApplication::processEvents();
    for (QTabWidget *tabs : dialog.findChildren<QTabWidget *>())
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            QApplication::processEvents();
        }
    return QDialog::Rejected;
}

} // namespace

class EditorDamagedImagesTest : public QObject
{
    Q_OBJECT
private slots:
    void cancelLeavesEveryImageAsItWas()
    {
        int opened = 0;
        for (const Sample &s : samples()) {
            const Watchdog watchdog(s.name, 60);
            TMK tmk;
            tmk.replaceImage(s.modelCode, s.image);
            const Snapshot before(tmk);
            DialogScript script;
            bool shown = false;
            script.other = [&](QDialog &dialog) {
                shown = true;
                return showEveryPage(dialog);
            };
            try {
                QVERIFY2(!runEditTransaction(nullptr, tmk), qPrintable(s.name));
            } catch (const Error &) {
                // No model-table row for this key: refused before the dialog opened.
                QVERIFY2(!shown, qPrintable(s.name));
            }
            opened += shown;
            QVERIFY2(Snapshot(tmk) == before, qPrintable(s.name));

            QVERIFY2(!runJournalTransaction(nullptr, tmk), qPrintable(s.name));
            QVERIFY2(Snapshot(tmk) == before, qPrintable(s.name));
            runOscTransaction(nullptr, tmk);
            QVERIFY2(Snapshot(tmk) == before, qPrintable(s.name));
        }
        QVERIFY2(opened >= 20, qPrintable(QString::number(opened))); // the editor really opened on most of them
    }

    // OK without an edit changes no byte, except by the two rules that opening applies: the hot
    // menus are compacted and a table length above 68 is reset.
    void okWithoutEditsChangesOnlyWhatOpeningRules()
    {
        for (const Sample &s : samples()) {
            const Watchdog watchdog(s.name, 60);
            TMK tmk;
            tmk.replaceImage(s.modelCode, s.image);
            TMK expected;
            expected.replaceImage(s.modelCode, s.image);
            compactHotMenus(expected.record(9));
            normalizedTarirLength(expected.record(3));
            expected.encodeAll();
            DialogScript script;
            script.other = [&](QDialog &dialog) {
                showEveryPage(dialog);
                return int(QDialog::Accepted);
            };
            try {
                runEditTransaction(nullptr, tmk);
            } catch (const Error &) {
                continue;
            }
            for (int k = 0; k < 13; ++k)
                QVERIFY2(tmk.record(k) == expected.record(k),
                         qPrintable(s.name + QStringLiteral(": section %1").arg(k)));
            QVERIFY2(tmk.image() == expected.image(), qPrintable(s.name));
        }
    }
};

QTEST_MAIN(EditorDamagedImagesTest)
#include "editor_damaged_images_test.moc"
