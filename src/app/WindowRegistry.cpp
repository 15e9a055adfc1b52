// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/WindowRegistry.h"

namespace mk {

const std::vector<WindowEntry> &windowRegistry()
{
    const auto s = [](const char16_t *text) { return QString::fromUtf16(text); };
    // clang-format off
    static const std::vector<WindowEntry> windows = {
        {s(u"MainForm"),              s(u"main-window.html"),      s(u"main-window"),      true,  {}},
        {s(u"MK_SetParamsDlg"),       s(u"editor.html"),           s(u"editor-marks"),     false, {}},
        {s(u"TMK_ViewJournalsDlg"),   s(u"journals.html"),         s(u"journals-trip"),    false, {}},
        {s(u"TMK_ViewOscDlg"),        s(u"journals.html#osc"),     s(u"osc"),              false, {}},
        {s(u"HistoryWindow"),         s(u"history.html"),          s(u"history-trips"),    true,  {}},
        {s(u"HistoryCarDialog"),      s(u"history.html#add"),      s(u"history-add"),      false, {}},
        {s(u"WritePreviewDialog"),    s(u"writing.html"),          s(u"write-preview"),    false, {}},
        {s(u"BackupsDialog"),         s(u"backups.html"),          s(u"backups"),          false, {}},
        {s(u"CompareWindow"),         s(u"compare.html"),          s(u"compare"),          false, {}},
        {s(u"ProfilePagesDialog"),    s(u"profiles.html"),         s(u"profile-pages"),    false, {}},
        {s(u"ConnectionCheckDialog"), s(u"connecting.html#check"), s(u"connection-check"), false, {}},
        {s(u"KW_RS232_SetNumDlg"),    s(u"connecting.html#ports"), s(u"port-dialog"),      false, {}},
        {s(u"AboutDialog"),           s(u"main-window.html#menu"), s(u"about"),            false, {}},
        {s(u"SupportReportDialog"),   s(u"troubleshooting.html#support"), s(u"support-report"), true, {}},
        {s(u"PasswDlg"),              {}, s(u"password-dialog"),   false, s(u"a prompt of one line")},
        {s(u"PicturesForm"),          {}, {},                      false, s(u"never shown: it holds the previews' pictures")},
        {s(u"ProgressForm"),          {}, s(u"progress-reading"),  false, s(u"shown while an exchange runs, closed by it")},
        {s(u"KW_RS232_SetBRDlg"),     {}, s(u"baud-dialog"),       false, s(u"a setting of the port list's own dialog, which has the page")},
        {s(u"HelpWindow"),            {}, s(u"help-window"),       false, s(u"the manual itself")},
    };
    // clang-format on
    return windows;
}

const WindowEntry *findWindow(const QString &objectName)
{
    for (const WindowEntry &w : windowRegistry())
        if (w.objectName == objectName)
            return &w;
    return nullptr;
}

} // namespace mk
