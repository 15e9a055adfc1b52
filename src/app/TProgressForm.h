// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The progress window of a device exchange: a text, a blue gauge 0..100 and Cancel, under a
// caption bar of its own without buttons; it stays on top of the main window.
// The exchange reports to it from its worker thread; Cancel only raises a flag.

#include "link/Progress.h"

#include <QDialog>
#include <QPoint>
#include <atomic>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

namespace mk {

class TProgressForm : public QDialog, public Progress
{
    Q_OBJECT
public:
    explicit TProgressForm(QWidget *parent = nullptr);

    // Progress, callable from any thread.
    void setText(const QString &text) override;
    void setValue(int percent) override;
    bool cancelled() const override { return m_cancelled.load(); }
    void setGaugeVisible(bool visible) override;
    // While the exchange cannot stop (sections being written) Cancel is greyed out.
    void setCancelAllowed(bool allowed) override;

    // Centres the window over the given one (or the screen when there is none).
    void centreOver(const QWidget *owner);

    // Esc and the window manager's close act as Cancel; the window stays until the exchange ends.
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Runs on the window's own thread: at once there, queued from any other.
    void onOwnThread(std::function<void()> change);

    QLabel *m_caption;
    QLabel *m_text;
    QProgressBar *m_gauge;
    QPushButton *m_cancel;
    std::atomic<bool> m_cancelled{false};
    QPoint m_dragFrom;
};

} // namespace mk
