// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Helpers shared by the viewer tests: a model holding the factory image, widget lookup,
// answers to the dialogs the viewers open, and optional screenshots.

#include "image/FactoryImage.h"
#include "image/TMK.h"
#include "widgets/MessageBoxes.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QWidget>
#include <QtTest>
#include <functional>

namespace mk::test {

inline void loadFactory(TMK &tmk, quint16 model = 1, quint32 version = 1)
{
    tmk.replaceImage(model, makeFactoryImage(model, version));
}

template<typename W>
W *find(QWidget *root, const char *name)
{
    W *w = root->findChild<W *>(QString::fromLatin1(name));
    if (!w)
        qFatal("widget %s not found", name);
    return w;
}

// Answers every dialog the code under test opens: file dialogs get `savePath` (or are
// cancelled when it is empty), message boxes are recorded and closed with OK, and any other
// dialog is handed to `onDialog` (by default: rejected).
class DialogAnswers
{
public:
    QString savePath;
    QString filter;      // the name filter to choose; the dialog's own choice when empty
    QStringList filters; // the filters the last file dialog offered, its chosen one first
    QStringList messages;
    std::function<int(QDialog &)> onDialog = [](QDialog &) { return int(QDialog::Rejected); };

    DialogAnswers()
        : m_hook([this](QDialog &d) {
              if (auto *box = qobject_cast<QMessageBox *>(&d)) {
                  messages << box->text();
                  return int(QMessageBox::Ok);
              }
              if (auto *files = qobject_cast<QFileDialog *>(&d)) {
                  lastFolder = files->directory().absolutePath();
                  filters = QStringList{files->selectedNameFilter()} + files->nameFilters();
                  if (!filter.isEmpty())
                      files->selectNameFilter(filter);
                  if (savePath.isEmpty())
                      return int(QDialog::Rejected);
                  files->selectFile(savePath);
                  return int(QDialog::Accepted);
              }
              return onDialog(d);
          })
    {}
    QString lastFolder;

private:
    ScopedDialogHook m_hook;
};

// With MK_SCREENSHOT_DIR set, saves the widget as it is drawn to DIR/name.png.
inline void screenshot(QWidget *w, const QString &name)
{
    const QString dir = qEnvironmentVariable("MK_SCREENSHOT_DIR");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    w->grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

} // namespace mk::test
