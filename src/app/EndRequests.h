// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The system asking the configurator to end (on Linux SIGTERM from a shutdown or kill, SIGHUP
// from a closed session), turned into a signal on the user-interface thread: the program then
// ends in its own time and never in the middle of writing to the device.

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

// Ends the application once no device exchange runs: a read is cancelled, a write goes on to its
// end (its outcome is not lost on the way: the backup was taken and the device verified), then
// the program quits.
void endWhenExchangeAllows();

} // namespace mk
