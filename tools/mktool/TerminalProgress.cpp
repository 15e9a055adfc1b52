// SPDX-License-Identifier: GPL-3.0-or-later
#include "TerminalProgress.h"

#include "StopSignals.h"

#include "base/StdStreams.h"
#include "link/ExchangeTexts.h"

#include <unistd.h>

namespace mk::tool {

namespace {

std::atomic<bool> g_interrupted{false};
std::atomic<bool> g_cancelAllowed{true};
// Written from the signal handler, so a plain byte string.
constexpr char kWriteGoesOn[] = "\nЗапись в МК нельзя прервать: она будет завершена.\n";

extern "C" void onInterrupt(int)
{
    if (!g_cancelAllowed) {
        // Stopping now would leave the device half written.
        [[maybe_unused]] const ssize_t n = write(STDERR_FILENO, kWriteGoesOn, sizeof kWriteGoesOn - 1);
        return;
    }
    if (g_interrupted.exchange(true))
        _exit(130); // asked a second time: the user insists
}

} // namespace

TerminalProgress::TerminalProgress(int connectSeconds)
    : m_tty(isatty(fileno(stderr)) != 0), m_connectSeconds(connectSeconds)
{
    g_interrupted = false;
    g_cancelAllowed = true;
    installStopSignals(onInterrupt);
}

void TerminalProgress::setCancelAllowed(bool allowed)
{
    m_cancelAllowed = allowed;
    g_cancelAllowed = allowed;
}

TerminalProgress::~TerminalProgress()
{
    finish();
    restoreStopSignals();
}

void TerminalProgress::setText(const QString &text)
{
    if (text == m_given)
        return;
    finish();
    m_given = text;
    m_text = text;
    m_percent = -1;
    m_connecting = text == kConnectingText;
    if (m_connecting)
        m_connectClock.start();
    if (m_connecting && !m_port.isEmpty())
        m_text = QStringLiteral("Подключение к МК на порту %1...").arg(m_port);
    if (m_tty) {
        draw();
    } else {
        writeStderr(m_text + QLatin1Char('\n'));
    }
}

void TerminalProgress::setValue(int percent)
{
    if (percent == m_percent)
        return;
    m_percent = percent;
    if (m_tty)
        draw();
}

void TerminalProgress::draw()
{
    QString line = m_text;
    if (m_percent >= 0) {
        constexpr int kWidth = 30;
        const int filled = kWidth * m_percent / 100;
        line += QStringLiteral(" [%1%2] %3%")
                    .arg(QString(filled, QLatin1Char('#')), QString(kWidth - filled, QLatin1Char('.')))
                    .arg(m_percent, 3);
    }
    // Spaces cover a longer line drawn before (no terminal escapes: a Windows console shows them).
    const qsizetype length = line.size();
    writeStderr(QLatin1Char('\r') + line.leftJustified(m_drawnLength));
    m_drawnLength = length;
    m_barShown = true;
}

void TerminalProgress::finish()
{
    if (m_barShown) {
        writeStderr(QStringLiteral("\n"));
    }
    m_barShown = false;
    m_drawnLength = 0;
}

bool TerminalProgress::interrupted() const { return g_interrupted; }

bool TerminalProgress::cancelled() const
{
    if (g_interrupted)
        return true;
    if (m_connecting && m_connectSeconds > 0 && m_connectClock.elapsed() > qint64(m_connectSeconds) * 1000)
        m_timedOut = true;
    return m_timedOut;
}

} // namespace mk::tool
