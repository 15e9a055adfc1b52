// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Проверка подключения": the connection check's report, with a repeat after the user has
// followed a fix, and a copy of the text for a support request.

#include "link/ConnectionCheck.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPlainTextEdit;

namespace mk {

class ConnectionCheckDialog : public QDialog
{
    Q_OBJECT

public:
    using Check = std::function<ConnectionReport()>;

    // Runs the check at once; the system's facts unless a test gives its own check.
    explicit ConnectionCheckDialog(QWidget *parent = nullptr, Check check = {});

    const ConnectionReport &report() const { return m_report; }
    void runCheck();

private:
    Check m_check;
    ConnectionReport m_report;
    QLabel *m_summary;
    QPlainTextEdit *m_text;
};

// The error box for a failed exchange: the error's text with its port and, on Windows, the
// system's code and words (Error::shownText). When the port could not be opened or the device
// not reached, the box offers "Проверить подключение" beside OK and opens the check on it.
// Other errors get the plain error box.
void showErrorOfferingCheck(QWidget *parent, const Error &error, ConnectionCheckDialog::Check check = {});

} // namespace mk
