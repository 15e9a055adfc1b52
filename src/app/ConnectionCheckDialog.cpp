// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ConnectionCheckDialog.h"

#include "widgets/MessageBoxes.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace mk {

ConnectionCheckDialog::ConnectionCheckDialog(QWidget *parent, Check check)
    : QDialog(parent), m_check(check ? std::move(check) : Check([] { return checkConnection(); }))
{
    setObjectName(QStringLiteral("ConnectionCheckDialog"));
    setWindowTitle(kConnectionCheckTitle);
    auto *layout = new QVBoxLayout(this);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("summary"));
    m_summary->setWordWrap(true);
    layout->addWidget(m_summary);
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("report"));
    m_text->setReadOnly(true);
    // The report lines up nodes and facts by indentation.
    m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    layout->addWidget(m_text);

    auto *buttons = new QDialogButtonBox(this);
    auto *repeat = buttons->addButton(QStringLiteral("Повторить"), QDialogButtonBox::ActionRole);
    repeat->setObjectName(QStringLiteral("repeat"));
    auto *copy = buttons->addButton(QStringLiteral("Копировать"), QDialogButtonBox::ActionRole);
    copy->setObjectName(QStringLiteral("copy"));
    auto *close = buttons->addButton(QStringLiteral("Закрыть"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("close"));
    close->setDefault(true); // Enter closes; a repeat is a deliberate click
    layout->addWidget(buttons);
    connect(repeat, &QPushButton::clicked, this, &ConnectionCheckDialog::runCheck);
    connect(copy, &QPushButton::clicked, this, [this] { QApplication::clipboard()->setText(m_report.text()); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    resize(760, 480);
    runCheck();
}

void ConnectionCheckDialog::runCheck()
{
    m_report = m_check();
    m_summary->setText(m_report.summary());
    m_text->setPlainText(m_report.text());
}

void showErrorOfferingCheck(QWidget *parent, const Error &error, ConnectionCheckDialog::Check check)
{
    const QString message = error.shownText();
    if (!isPortOpenFailure(error.kind())) {
        showError(parent, error);
        return;
    }
    noteShownError(error);
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Ошибка"), message, QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("messageBox"));
    QPushButton *offer = box.addButton(kConnectionCheckButtonText, QMessageBox::ActionRole);
    offer->setObjectName(QStringLiteral("offerCheck"));
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    execDialog(box);
    if (box.clickedButton() != offer)
        return;
    ConnectionCheckDialog dialog(parent, std::move(check));
    execDialog(dialog);
}

} // namespace mk
