// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// mktool's side of an exchange's progress: a bar on a terminal, plain lines otherwise, both on
// stderr. Ctrl-C asks the exchange to stop (where it can); a second Ctrl-C ends mktool at once.

#include "link/Progress.h"

#include <QElapsedTimer>
#include <atomic>

namespace mk::tool {

class TerminalProgress : public Progress
{
public:
    // connectSeconds: how long to keep looking for the device (0: until Ctrl-C).
    explicit TerminalProgress(int connectSeconds);
    ~TerminalProgress() override;

    void setText(const QString &text) override;
    void setValue(int percent) override;
    bool cancelled() const override;
    // While the device is being written, Ctrl-C only tells the user that the write goes on.
    void setCancelAllowed(bool allowed) override;

    // The port the exchange goes through: the connecting step is then told as what mktool does,
    // "Подключение к МК на порту COM7...", instead of the window's caption.
    void setPort(const QString &label) { m_port = label; }

    // Ends the bar's line.
    void finish();
    bool timedOut() const { return m_timedOut; }
    bool interrupted() const;

private:
    void draw();

    bool m_tty;
    QString m_port;
    QString m_given; // the exchange's caption
    QString m_text;  // what is shown for it
    int m_percent = -1;
    bool m_barShown = false;
    qsizetype m_drawnLength = 0; // what the bar line holds, to be covered by the next one
    bool m_connecting = false;
    bool m_cancelAllowed = true;
    int m_connectSeconds;
    QElapsedTimer m_connectClock;
    mutable std::atomic<bool> m_timedOut{false};
};

} // namespace mk::tool
