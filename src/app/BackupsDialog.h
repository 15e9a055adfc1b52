// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Резервные копии": the backups folder, newest first; "Открыть" hands the chosen backup to the
// main window's file load, "Восстановить…" as well and asks for the write that puts it back into
// the device (with its preview), "Показать папку" opens the folder in the file manager.

#include <QDateTime>
#include <QDialog>
#include <functional>

class QPushButton;
class QTreeWidget;

namespace mk {

class BackupsDialog : public QDialog
{
    Q_OBJECT
public:
    explicit BackupsDialog(const QString &dir, QWidget *parent = nullptr);

    // The backup to open once the dialog was accepted.
    QString chosenPath() const { return m_chosen; }
    // When the chosen backup was made.
    QDateTime chosenWhen() const { return m_chosenWhen; }
    // Whether the chosen backup is to be written back to the device ("Восстановить…").
    bool restoreChosen() const { return m_restore; }
    // How "Показать папку" opens a folder (the desktop's file manager unless a test says otherwise).
    static void setFolderOpener(std::function<bool(const QString &dir)> opener);
    // What "В историю…" does with the chosen backup and its time; without it the button is hidden.
    using HistoryAdder = std::function<void(QWidget *parent, const QString &path, const QDateTime &when)>;
    void setHistoryAdder(HistoryAdder adder);

private:
    void selectionChanged();
    void openClicked();
    void restoreClicked();
    void showFolderClicked();
    void toHistoryClicked();

    QString m_dir;
    QString m_chosen;
    QDateTime m_chosenWhen;
    QTreeWidget *m_list = nullptr;
    QPushButton *m_open = nullptr;
    QPushButton *m_restoreButton = nullptr;
    bool m_restore = false;
    QPushButton *m_toHistory = nullptr;
    HistoryAdder m_historyAdder;
};

} // namespace mk
