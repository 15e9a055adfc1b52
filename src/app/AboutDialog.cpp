// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AboutDialog.h"

#include "app/TMainForm.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace mk {

namespace {

QString native(const QString &path) { return QDir::toNativeSeparators(path).toHtmlEscaped(); }

} // namespace

AboutDialog::AboutDialog(const AboutFacts &facts, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutDialog"));
    setWindowTitle(QStringLiteral("О программе"));
    const QString version = QCoreApplication::applicationVersion().isEmpty() ? QStringLiteral("(не указана)")
                                                                             : QCoreApplication::applicationVersion();
    const QString text =
        QStringLiteral("<p><b>%1</b></p>"
                       "<p>Версия программы: %2<br>Версия Qt: %3 (собрана с %4)</p>"
                       "<p>Шрифты экранов МК построены из шрифта Terminus Font "
                       "(© Dimitar Toshkov Zhekov), лицензия SIL Open Font License 1.1.</p>"
                       "<p>Файл настроек программы: %5<br>"
                       "Резервные копии памяти МК: %6<br>"
                       "Журналы: программа не ведёт файлов журнала; сообщения об ошибках показываются в окнах, "
                       "а при запуске из терминала выводятся и в него.</p>")
            .arg(TMainForm::caption().toHtmlEscaped(), version.toHtmlEscaped(), QString::fromLatin1(qVersion()),
                 QStringLiteral(QT_VERSION_STR), native(facts.iniPath), native(facts.backupDir));
    auto *label = new QLabel(text, this);
    label->setObjectName(QStringLiteral("lAbout"));
    label->setWordWrap(true);
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(buttons);
    setMinimumWidth(520);
}

} // namespace mk
