// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SupportReportDialog.h"

#include "base/Error.h"
#include "base/FileIo.h"
#include "base/StdStreams.h"
#include "base/TraceLog.h"
#include "widgets/IniFile.h"
#include "widgets/MessageBoxes.h"
#include "widgets/TextSaveDialog.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSysInfo>
#include <QVBoxLayout>

namespace mk {

namespace {

QString &sessionTraceFolder()
{
    static QString folder;
    return folder;
}

} // namespace

void startSessionTrace(const QString &program)
{
    const QString folder = ensurePrivateFolder(userStateFolder());
    if (folder.isEmpty())
        return;
    try {
        TraceLog::toRotatingFiles(folder,
                                  QStringLiteral("--- %1, Qt %2, %3; started %4")
                                      .arg(program, QString::fromLatin1(qVersion()), QSysInfo::prettyProductName(),
                                           QDateTime::currentDateTimeUtc().toString(Qt::ISODate)));
        sessionTraceFolder() = folder;
    } catch (const Error &) {
        // No trace: the program works as ever, and the report says it has none.
    }
}

QByteArray sessionTraceTail()
{
    const QString folder = sessionTraceFolder().isEmpty() ? userStateFolder() : sessionTraceFolder();
    return TraceLog::rotatingTail(folder, kReportTraceBytes);
}

SupportReportDialog::SupportReportDialog(QWidget *parent, const SupportReportInput &input, QString suggestedName)
    : QDialog(parent), m_input(input), m_suggestedName(std::move(suggestedName))
{
    setObjectName(QStringLiteral("SupportReportDialog"));
    setWindowTitle(kSupportReportTitle);
    auto *layout = new QVBoxLayout(this);
    auto *note = new QLabel(QStringLiteral("Эти сведения помогут найти причину, если МК или кабель работает "
                                           "не так, как надо. Сохраните их в файл и приложите к письму в "
                                           "поддержку. Ниже - всё, что попадёт в файл."),
                            this);
    note->setObjectName(QStringLiteral("note"));
    note->setWordWrap(true);
    layout->addWidget(note);
    m_personal = new QCheckBox(QStringLiteral("Добавить &журналы и данные из кадров обмена"), this);
    m_personal->setObjectName(QStringLiteral("withPersonal"));
    layout->addWidget(m_personal);
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("report"));
    m_text->setReadOnly(true);
    m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(m_text);

    auto *buttons = new QDialogButtonBox(this);
    auto *save = buttons->addButton(QStringLiteral("&Сохранить…"), QDialogButtonBox::ActionRole);
    save->setObjectName(QStringLiteral("save"));
    auto *close = buttons->addButton(QStringLiteral("&Закрыть"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("close"));
    close->setDefault(true);
    layout->addWidget(buttons);
    connect(save, &QPushButton::clicked, this, &SupportReportDialog::saveClicked);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_personal, &QCheckBox::toggled, this, &SupportReportDialog::refresh);

    resize(820, 560);
    refresh();
}

QString SupportReportDialog::text() const { return m_text->toPlainText(); }

void SupportReportDialog::refresh()
{
    SupportReportInput in = m_input;
    in.withPersonal = m_personal->isChecked();
    m_text->setPlainText(supportReport(in));
}

void SupportReportDialog::saveTo(const QString &path) const
{
    QString body = text();
    if (!body.endsWith(QLatin1Char('\n')))
        body += QLatin1Char('\n');
    writeFileAtomically(path, textLineEnds(body.toUtf8()));
}

void SupportReportDialog::saveClicked()
{
    const QString path = askTextSavePath(
        this, m_saveFolder, m_suggestedName.isEmpty() ? QStringLiteral("mkconf-поддержка.txt") : m_suggestedName);
    if (path.isEmpty())
        return;
    try {
        saveTo(path);
    } catch (const Error &e) {
        showError(this, e.text());
    }
}

} // namespace mk
