// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How a saved journal is written, and which way the save dialog offers first on this system.

namespace mk {

// Windows-1251 with CR LF lines, UTF-8 with LF lines, or CSV for programs or for a spreadsheet
// set to Russian (journals/JournalCsv.h).
enum class JournalEncoding { Windows1251, Utf8, Csv, CsvExcelRu };

// The save dialog's first choice: Windows-1251 on Windows, as the device's Windows program writes
// its journals; UTF-8 elsewhere, which the system's editors read (JournalSaveFormat_unix.cpp /
// JournalSaveFormat_win.cpp).
JournalEncoding defaultJournalEncoding();

} // namespace mk
