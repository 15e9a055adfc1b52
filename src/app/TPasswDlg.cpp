// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TPasswDlg.h"

#include "app/AccessCheck.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace mk {

constexpr int kPasswordMaxLength = 10;

TPasswDlg::TPasswDlg(QWidget *parent) : QDialog(parent), m_label1(new QLabel(this)), m_maskEdit1(new QLineEdit(this))
{
    setObjectName(QStringLiteral("PasswDlg"));
    setWindowTitle(kPasswordCaptionText);

    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setText(QStringLiteral("Указанные изменения могут быть произведены только после верного ввода пароля:"));
    m_label1->setWordWrap(true);

    m_maskEdit1->setObjectName(QStringLiteral("MaskEdit1"));
    m_maskEdit1->setMaxLength(kPasswordMaxLength);
    m_maskEdit1->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[\\p{L}\\p{Nd}]{0,%1}").arg(kPasswordMaxLength)), m_maskEdit1));
    m_maskEdit1->setEchoMode(QLineEdit::Password);
    // Every character typed shows as "$".
    m_maskEdit1->setStyleSheet(QStringLiteral("lineedit-password-character: 36"));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_label1);
    layout->addWidget(m_maskEdit1);
    layout->addWidget(buttons);
    setFixedWidth(360);
    setFixedHeight(sizeHint().height());
}

void TPasswDlg::setPrompt(const QString &prompt)
{
    m_label1->setText(prompt);
    setFixedHeight(sizeHint().height());
}

QString TPasswDlg::password() const { return m_maskEdit1->text(); }

} // namespace mk
