// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Adding a read's journals to the trip history from the windows: the car they belong to is
// chosen (or named anew), the add runs on a worker thread, and what was added is said in words.

#include "history/HistoryDatabase.h"

#include <QDialog>

class QComboBox;

namespace mk {

class HistoryCarDialog : public QDialog
{
    Q_OBJECT
public:
    // `cars` are offered; `preferred` is chosen first (typed in when it is not held yet).
    HistoryCarDialog(const QStringList &cars, const QString &preferred, const QString &title,
                     QWidget *parent = nullptr);
    QString car() const;

private:
    QComboBox *m_car = nullptr;
};

// The cars of the history, read on a worker thread; none when there is no history yet. Error for
// a file that is not a sound history.
QStringList historyCars(const QString &databasePath);

// Asks for the car; empty when the user cancelled.
QString askHistoryCar(QWidget *parent, const QString &databasePath, const QString &preferred,
                      const QString &title = QStringLiteral("Добавить журналы в историю"));

// Adds the journals of (a copy of) the image on a worker thread.
HistoryAddResult addToHistory(const QString &databasePath, const QString &car, const TMK &tmk,
                              const QDateTime &readTime, const QString &source);

// "Добавлено в историю «Мой автомобиль»: 3 поездки, 1 заправка, 0 ошибок." or that nothing was new.
QString historyAddedText(const QString &car, const HistoryAddResult &result);

} // namespace mk
