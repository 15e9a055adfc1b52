// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The system asking the configurator to end (on Linux SIGTERM from a shutdown or kill, SIGHUP
// from a closed session, SIGINT from Ctrl+C in the terminal it was started from), turned into a
// signal on the user-interface thread: the program then ends in its own time and never in the
// middle of writing to the device.

#include <QObject>

namespace mk {

class EndRequests : public QObject
{
    Q_OBJECT
public:
    explicit EndRequests(QObject *parent = nullptr);
    ~EndRequests() override;

signals:
    void requested();

private:
    class Watch;
    Watch *m_watch = nullptr;
};

// Ends the application once no device exchange runs: a read is cancelled, a question the exchange
// asks (the write preview) is answered "Отмена", a write goes on to its end (its outcome is not
// lost on the way: the backup was taken, the device verified and the result told), then the
// program quits, asking about unsaved edits as closing the window does.
void endWhenExchangeAllows();

} // namespace mk
