// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Answers every modal dialog of a test: message boxes from a queue of answers, file dialogs
// with a prepared file name. Records what was shown.

#include "widgets/MessageBoxes.h"

#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QQueue>
#include <QStringList>

namespace mk::test {

struct ShownBox
{
    QMessageBox::Icon icon;
    QString text;
};

class DialogScript
{
public:
    DialogScript() : m_hook([this](QDialog &dialog) { return answer(dialog); }) {}

    QList<ShownBox> boxes;
    QQueue<QMessageBox::StandardButton> answers; // for questions; Yes when empty
    QQueue<QString> fileNames;                   // an empty name cancels the file dialog
    QStringList fileDialogs;                     // objectNames of the file dialogs shown
    QStringList fileFilters;                     // their name filters
    QStringList fileSuffixes;                    // their default suffixes
    QStringList fileDirs;                        // their start folders
    QStringList fileOffers;                      // the file name each offered (its file part)
    std::function<int(QDialog &)> other;         // any other dialog

    QStringList texts(QMessageBox::Icon icon) const
    {
        QStringList out;
        for (const ShownBox &box : boxes)
            if (box.icon == icon)
                out << box.text;
        return out;
    }

private:
    int answer(QDialog &dialog)
    {
        if (auto *box = qobject_cast<QMessageBox *>(&dialog)) {
            boxes.append({box->icon(), box->text()});
            if (box->icon() != QMessageBox::Question)
                return QMessageBox::Ok;
            return answers.isEmpty() ? QMessageBox::Yes : answers.dequeue();
        }
        if (auto *files = qobject_cast<QFileDialog *>(&dialog)) {
            fileDialogs << files->objectName();
            fileFilters << files->nameFilters().join(QLatin1Char(';'));
            fileSuffixes << files->defaultSuffix();
            fileDirs << files->directory().absolutePath();
            fileOffers << QFileInfo(files->selectedFiles().value(0)).fileName();
            const QString name = fileNames.isEmpty() ? QString() : fileNames.dequeue();
            if (name.isEmpty())
                return QDialog::Rejected;
            files->selectFile(name);
            return QDialog::Accepted;
        }
        return other ? other(dialog) : int(QDialog::Rejected);
    }

    ScopedDialogHook m_hook;
};

} // namespace mk::test
