// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The access password dialog: a prompt and a masked field of up to 10 letters or digits.

#include <QDialog>

class QLabel;
class QLineEdit;

namespace mk {

class TPasswDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TPasswDlg(QWidget *parent = nullptr);

    void setPrompt(const QString &prompt);
    QString password() const;

private:
    QLabel *m_label1;
    QLineEdit *m_maskEdit1;
};

} // namespace mk
