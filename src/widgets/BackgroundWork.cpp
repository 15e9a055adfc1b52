// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/BackgroundWork.h"

#include <QApplication>
#include <QEventLoop>
#include <QThread>
#include <memory>

namespace mk {

void runOffUiThread(const std::function<void()> &work)
{
    std::exception_ptr error;
    std::unique_ptr<QThread> thread(QThread::create([&] {
        try {
            work();
        } catch (...) {
            error = std::current_exception();
        }
    }));
    QEventLoop loop;
    // Queued to this thread: a thread that ends before exec() starts still ends the loop.
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    thread->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    thread->wait();
    QApplication::restoreOverrideCursor();
    if (error)
        std::rethrow_exception(error);
}

} // namespace mk
