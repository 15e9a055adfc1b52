// SPDX-License-Identifier: GPL-3.0-or-later
// The progress window and the exchange runner: reports from the worker thread, Cancel, one
// exchange at a time, errors handed back to the caller.

#include "app/ExchangeRunner.h"
#include "app/TProgressForm.h"
#include "base/Error.h"
#include "widgets/MessageBoxes.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <atomic>

using namespace mk;

namespace {

// Runs `step` on the user-interface thread and waits until it has run.
void onGuiThread(const std::function<void()> &step)
{
    QMetaObject::invokeMethod(qApp, step, Qt::BlockingQueuedConnection);
}

// Waits on the worker thread until the flag is set; gives up after ten seconds.
bool waitFor(const std::function<bool()> &condition)
{
    for (int i = 0; i < 10000; ++i) {
        if (condition())
            return true;
        QThread::msleep(1);
    }
    return false;
}

TProgressForm *shownProgressForm()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *form = qobject_cast<TProgressForm *>(w); form && form->isVisible())
            return form;
    return nullptr;
}

} // namespace

class ProgressTest : public QObject
{
    Q_OBJECT

private slots:
    void formLayout()
    {
        TProgressForm form;
        QCOMPARE(form.windowTitle(), QStringLiteral("Progress..."));
        QCOMPARE(form.findChild<QWidget *>(QStringLiteral("ClientArea"))->size(), QSize(261, 113));
        QVERIFY(form.windowFlags() & Qt::WindowStaysOnTopHint);
        // The caption is the window's own bar, without buttons: no window manager adds any.
        QVERIFY(form.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(form.findChild<QLabel *>(QStringLiteral("lCaption"))->text(), QStringLiteral("Progress..."));
        QVERIFY(!(form.windowFlags() & Qt::WindowCloseButtonHint));
        QCOMPARE(form.findChild<QLabel *>(QStringLiteral("lText"))->text(), QStringLiteral("Прогресс"));
        QCOMPARE(form.findChild<QProgressBar *>(QStringLiteral("Gauge"))->maximum(), 100);
        QVERIFY(!form.cancelled());
    }

    void reportsFromAnotherThreadArrive()
    {
        TProgressForm form;
        form.show();
        auto *text = form.findChild<QLabel *>(QStringLiteral("lText"));
        auto *gauge = form.findChild<QProgressBar *>(QStringLiteral("Gauge"));
        auto *cancel = form.findChild<QPushButton *>(QStringLiteral("bCancel"));
        std::unique_ptr<QThread> worker(QThread::create([&] {
            form.setText(QStringLiteral("Не могу подключиться к МК..."));
            form.setGaugeVisible(false);
            form.setText(QStringLiteral("Запись настроек..."));
            form.setValue(250);
            form.setGaugeVisible(true);
            form.setCancelAllowed(false);
        }));
        worker->start();
        QVERIFY(worker->wait(10000));
        // Queued to the window's thread, in order.
        QCOMPARE(text->text(), QStringLiteral("Прогресс"));
        QTRY_VERIFY(!cancel->isEnabled());
        QCOMPARE(gauge->value(), 100); // clamped
        QCOMPARE(text->text(), QStringLiteral("Запись настроек..."));
        QVERIFY(gauge->isVisible());
        // From the window's own thread the change is immediate.
        form.setGaugeVisible(false);
        form.setCancelAllowed(true);
        QVERIFY(!gauge->isVisible());
        QVERIFY(cancel->isEnabled());
    }

    void cancelOnlyRaisesTheFlag()
    {
        TProgressForm form;
        form.show();
        QTest::mouseClick(form.findChild<QPushButton *>(QStringLiteral("bCancel")), Qt::LeftButton);
        QVERIFY(form.cancelled());
        QVERIFY(form.isVisible());
        TProgressForm other;
        other.show();
        QTest::keyClick(&other, Qt::Key_Escape);
        QVERIFY(other.cancelled());
        QVERIFY(!other.close()); // the window stays until the exchange ends
        QVERIFY(other.isVisible());
    }

    void exchangeRunsOnWorkerWhileWindowStaysLive()
    {
        QWidget owner;
        owner.resize(400, 300);
        owner.show();
        std::atomic<bool> sawCancel{false};
        Qt::HANDLE workerThread = nullptr;
        bool formShownModal = false;
        runExchange(&owner, [&](Progress &progress) {
            workerThread = QThread::currentThreadId();
            progress.setText(QStringLiteral("Не могу подключиться к МК..."));
            // The user interface answers while the exchange waits: press Cancel there.
            onGuiThread([&] {
                TProgressForm *form = shownProgressForm();
                formShownModal = form && QApplication::activeModalWidget() == form;
                QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("bCancel")), Qt::LeftButton);
            });
            sawCancel = waitFor([&] { return progress.cancelled(); });
        });
        QVERIFY(workerThread != QThread::currentThreadId());
        QVERIFY(formShownModal);
        QVERIFY(sawCancel);
        QVERIFY(!shownProgressForm());
        QVERIFY(!exchangeRunning());
    }

    // A question the exchange asks stands alone: the progress window is hidden while it is open,
    // so the question and any box it shows come up over the owner; a yes brings the progress
    // window back, on top again. Once the exchange is over, boxes go to the window that asks.
    void questionsDuringAnExchangeStandAlone()
    {
        QWidget owner;
        owner.show();
        QList<QWidget *> parents;
        bool progressWhileAsked = false;
        TProgressForm *afterYes = nullptr; // compared, never used once the exchange is over
        Qt::WindowFlags flags;
        const ScopedDialogHook hook([&](QDialog &dialog) {
            parents << dialog.parentWidget();
            progressWhileAsked = progressWhileAsked || shownProgressForm();
            return int(QMessageBox::Ok);
        });
        runExchange(&owner, [&](Progress &) {
            askOnUiThread(&owner, [&] {
                progressWhileAsked = progressWhileAsked || shownProgressForm();
                return true;
            });
            onGuiThread([&] {
                afterYes = shownProgressForm();
                flags = afterYes ? afterYes->windowFlags() : Qt::WindowFlags();
            });
            askOnUiThread(&owner, []() -> bool { throw Error(QStringLiteral("Нет связи с МК")); });
        });
        QVERIFY(!progressWhileAsked);
        QVERIFY(afterYes);
        QCOMPARE(parents, QList<QWidget *>{&owner});
        QCOMPARE(boxParent(&owner), &owner);
        QVERIFY(flags & Qt::WindowStaysOnTopHint);
        QVERIFY(flags & Qt::FramelessWindowHint);
        for (auto hint : {Qt::WindowCloseButtonHint, Qt::WindowMinMaxButtonsHint, Qt::WindowSystemMenuHint,
                          Qt::WindowContextHelpButtonHint})
            QVERIFY(!(flags & hint));
    }

    void errorsComeBackToTheCaller()
    {
        try {
            runExchange(nullptr, [](Progress &) { throw Error(QStringLiteral("Нет связи с МК")); });
            QFAIL("no error");
        } catch (const Error &error) {
            QCOMPARE(error.text(), QStringLiteral("Нет связи с МК"));
        }
        QVERIFY(!exchangeRunning());
        QVERIFY(!shownProgressForm());
    }

    void onlyOneExchangeAtATime()
    {
        QString secondError;
        bool runningInside = false;
        runExchange(nullptr, [&](Progress &) {
            onGuiThread([&] {
                runningInside = exchangeRunning();
                try {
                    runExchange(nullptr, [](Progress &) {});
                } catch (const Error &error) {
                    secondError = error.text();
                }
            });
        });
        QVERIFY(runningInside);
        QCOMPARE(secondError, QStringLiteral("Обмен с МК уже идёт."));
        QVERIFY(!exchangeRunning());
    }

    void quickWorkDoesNotHang()
    {
        // A worker that ends before the waiting loop starts must still end the exchange.
        for (int i = 0; i < 50; ++i)
            runExchange(nullptr, [](Progress &) {});
        QVERIFY(!exchangeRunning());
    }
};

QTEST_MAIN(ProgressTest)
#include "progress_test.moc"
