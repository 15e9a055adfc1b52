// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/HelpWindow.h"

#include "app/ManualPages.h"
#include "widgets/MessageBoxes.h"

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace mk {

HelpWindow::HelpWindow(const QString &folder, QWidget *parent)
    : QWidget(parent, Qt::Window), m_folder(folder), m_browser(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("HelpWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Руководство пользователя"));
    m_browser->setObjectName(QStringLiteral("tbManual"));
    m_browser->setOpenLinks(true);
    m_browser->setOpenExternalLinks(false); // the manual links only to its own pages
    m_browser->setSearchPaths({folder});

    auto *back = new QPushButton(QStringLiteral("&Назад"), this);
    back->setObjectName(QStringLiteral("bBack"));
    back->setEnabled(false);
    auto *forward = new QPushButton(QStringLiteral("&Вперёд"), this);
    forward->setObjectName(QStringLiteral("bForward"));
    forward->setEnabled(false);
    auto *contents = new QPushButton(QStringLiteral("&Содержание"), this);
    contents->setObjectName(QStringLiteral("bContents"));
    auto *close = new QPushButton(QStringLiteral("&Закрыть"), this);
    close->setObjectName(QStringLiteral("bClose"));
    for (QPushButton *b : {back, forward, contents, close})
        b->setAutoDefault(false);

    connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QWidget::setEnabled);
    connect(contents, &QPushButton::clicked, this, [this] { showPage(QStringLiteral("index.html")); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    // Esc closes it, as it closes the program's dialogs.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = m_browser->documentTitle();
        setWindowTitle(title.isEmpty() ? QStringLiteral("Руководство пользователя")
                                       : QStringLiteral("Руководство пользователя — ") + title);
    });

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addWidget(contents);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_browser, 1);
    resize(kWidth, kHeight);
}

void HelpWindow::showPage(const QString &page)
{
    const qsizetype hash = page.indexOf(QLatin1Char('#'));
    QUrl url = QUrl::fromLocalFile(QDir(m_folder).filePath(hash < 0 ? page : page.left(hash)));
    if (hash >= 0)
        url.setFragment(page.mid(hash + 1));
    m_browser->setSource(url);
}

void openManual(QWidget *from, const QString &page)
{
    QWidget *window = from ? from->window() : nullptr;
    if (auto *help = qobject_cast<HelpWindow *>(window)) { // F1 in the manual itself
        help->raise();
        return;
    }
    const QString folder = manualFolder();
    if (folder.isEmpty()) {
        QStringList places;
        for (const QString &candidate : manualFolderCandidates())
            places << QDir::toNativeSeparators(candidate);
        showError(window, QStringLiteral("Руководство пользователя не найдено: ни в одной из папок нет "
                                         "файла index.html.\nИскали в папках:\n%1\n%2")
                              .arg(places.join(QLatin1Char('\n')), manualMissingAdvice()));
        return;
    }
    HelpWindow *help = window ? window->findChild<HelpWindow *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!help)
        help = new HelpWindow(folder, window);
    help->showPage(page);
    help->show();
    help->raise();
    help->activateWindow();
}

namespace {

// Sees F1 before any widget does and opens the manual at the page of the window it came to.
class HelpKeyFilter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent *>(event)->key() != Qt::Key_F1 ||
            static_cast<QKeyEvent *>(event)->modifiers() != Qt::NoModifier || !watched->isWidgetType())
            return false;
        auto *widget = static_cast<QWidget *>(watched);
        openManual(widget, manualPageFor(widget));
        return true;
    }
};

} // namespace

void installHelpKey()
{
    QCoreApplication *app = QCoreApplication::instance();
    const QString name = QStringLiteral("helpKeyFilter");
    if (!app || app->findChild<QObject *>(name, Qt::FindDirectChildrenOnly))
        return;
    auto *filter = new HelpKeyFilter(app);
    filter->setObjectName(name);
    app->installEventFilter(filter);
}

} // namespace mk
