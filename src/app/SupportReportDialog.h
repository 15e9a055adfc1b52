// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Сведения для поддержки": the support report shown as it will be saved (read-only text), with
// the choice to add the journals and the frames' data, and "Сохранить…" to a text file.

#include "link/SupportReport.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QPlainTextEdit;

namespace mk {

class SupportReportDialog : public QDialog
{
    Q_OBJECT

public:
    // gather: the facts of the report, journals included (the dialog leaves them out unless the
    // user ticks the box). suggestedName: the file name the save dialog offers.
    SupportReportDialog(QWidget *parent, const SupportReportInput &input, QString suggestedName = {});

    // The report as shown, and as it is saved.
    QString text() const;
    // Writes the report to path as UTF-8 text with the system's line ends; throws Error.
    void saveTo(const QString &path) const;

private:
    void refresh();
    void saveClicked();

    SupportReportInput m_input;
    QString m_suggestedName;
    QString m_saveFolder;
    QCheckBox *m_personal;
    QPlainTextEdit *m_text;
};

// The configurator's session trace: started at start-up in the user's state folder (a rotating,
// size-capped file); the report takes its tail. Nothing when the folder is not the user's own.
void startSessionTrace(const QString &program);
QByteArray sessionTraceTail();

} // namespace mk
