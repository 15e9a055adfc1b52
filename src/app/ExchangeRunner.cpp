// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ExchangeRunner.h"

#include "app/EndRequests.h"
#include "app/TProgressForm.h"
#include "base/Error.h"
#include "widgets/MessageBoxes.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QMetaObject>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <exception>
#include <memory>

namespace mk {

namespace {

bool g_running = false;
TProgressForm *g_progressWindow = nullptr;
bool g_endAfterExchange = false;
bool g_asking = false;

struct RunningMark
{
    RunningMark() { g_running = true; }
    ~RunningMark() { g_running = false; }
};

// The dialogs open over the exchange: the question and any box it shows.
QList<QDialog *> openDialogs()
{
    QList<QDialog *> dialogs;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *dialog = qobject_cast<QDialog *>(w); dialog && dialog != g_progressWindow && dialog->isVisible() &&
                                                       (dialog->isModal() || dialog->testAttribute(Qt::WA_ShowModal)))
            dialogs << dialog;
    return dialogs;
}

} // namespace

bool exchangeRunning() { return g_running; }

QWidget *boxParent(QWidget *fallback)
{
    return g_progressWindow && g_progressWindow->isVisible() ? g_progressWindow : fallback;
}

void runExchange(QWidget *owner, const std::function<void(Progress &)> &work)
{
    if (g_running)
        throw Error(QStringLiteral("Обмен с МК уже идёт."));
    const RunningMark mark;

    TProgressForm form(owner);
    form.centreOver(owner);
    form.show();
    g_progressWindow = &form;
    struct Forget
    {
        ~Forget() { g_progressWindow = nullptr; }
    } forget;

    std::exception_ptr failure;
    QEventLoop loop;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        try {
            work(form);
        } catch (...) {
            failure = std::current_exception();
        }
    }));
    worker->setObjectName(QStringLiteral("exchange"));
    // Queued to this thread: even a worker that ends before exec() starts quits the loop.
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    worker->start();
    loop.exec();
    worker->wait();
    form.hide();
    // Asked to end meanwhile: once this exchange's own outcome has been shown.
    if (g_endAfterExchange)
        QTimer::singleShot(0, qApp, [] { endWhenExchangeAllows(); });

    if (failure)
        std::rethrow_exception(failure);
}

void endWhenExchangeAllows()
{
    if (!g_running) {
        // The outcome of an exchange is told in a box: the program ends once it is answered.
        if (g_endAfterExchange && QApplication::activeModalWidget()) {
            QTimer::singleShot(250, qApp, [] { endWhenExchangeAllows(); });
            return;
        }
        // Served now: should the user keep the program (unsaved edits), later exchanges ask again.
        g_endAfterExchange = false;
        QCoreApplication::quit();
        return;
    }
    g_endAfterExchange = true;
    // An open question (the write preview) is answered "Отмена": nothing has been written yet.
    if (g_asking)
        for (QDialog *dialog : openDialogs())
            dialog->reject();
    // A read stops at once; sections being written go on to the end, the window ignoring Cancel.
    if (g_progressWindow)
        g_progressWindow->reject();
}

bool askOnUiThread(QObject *context, const std::function<bool()> &question)
{
    bool answer = false;
    const auto ask = [&] {
        // Asked to end before the question came up: it is not asked, the answer is no.
        if (g_endAfterExchange)
            return;
        // The question stands alone: the progress window would stay on top of it at its last step,
        // with a Cancel that cannot act while the exchange waits for the answer.
        const bool hid = g_progressWindow && g_progressWindow->isVisible();
        if (hid)
            g_progressWindow->hide();
        {
            struct AskingMark
            {
                AskingMark() { g_asking = true; }
                ~AskingMark() { g_asking = false; }
            } asking;
            try {
                answer = question();
            } catch (const Error &e) {
                showError(boxParent(qobject_cast<QWidget *>(context)), e);
                answer = false;
            }
        }
        // An end request while it was open answered it no, whatever was pressed after.
        if (g_endAfterExchange)
            answer = false;
        // The exchange goes on: its progress shows again.
        if (hid && answer && g_progressWindow)
            g_progressWindow->show();
    };
    if (QThread::currentThread() == context->thread())
        ask();
    else
        QMetaObject::invokeMethod(context, ask, Qt::BlockingQueuedConnection);
    return answer;
}

} // namespace mk
