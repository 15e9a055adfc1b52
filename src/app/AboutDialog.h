// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "О программе": versions, the bundled font's licence and where the program keeps its files.

#include <QDialog>

namespace mk {

struct AboutFacts
{
    QString iniPath;
    QString backupDir;
};

class AboutDialog : public QDialog
{
    Q_OBJECT
public:
    explicit AboutDialog(const AboutFacts &facts, QWidget *parent = nullptr);
};

} // namespace mk
