// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The user manual in a window of the program: a text browser over the manual's HTML pages, so
// no web browser is needed.

#include <QWidget>

class QTextBrowser;
class QPushButton;

namespace mk {

class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kWidth = 1120;
    static constexpr int kHeight = 820;

    // `folder` holds index.html and the pages it links to.
    explicit HelpWindow(const QString &folder, QWidget *parent = nullptr);

    // Shows `page` ("editor.html", "journals.html#osc") of the manual.
    void showPage(const QString &page);
    QTextBrowser *browser() const { return m_browser; }

private:
    QString m_folder;
    QTextBrowser *m_browser;
};

// Opens the manual at `page` in the help window belonging to `from`'s window (made on first use,
// raised after), so that it is usable while that window is modal. Without a manual installed, an
// error box says where it was looked for.
void openManual(QWidget *from, const QString &page);

// Makes F1 open the manual at the page of the window it was pressed in, in every window of the
// program. Installing twice changes nothing.
void installHelpKey();

} // namespace mk
