// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The car a read's journals go to in the trip history, chosen (or named anew) in a dialog. The
// add itself is the session's (session/HistoryAdd.h).

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

// Asks for the car among `cars` (the history's, session/HistoryAdd.h); empty when the user cancelled.
QString askHistoryCar(QWidget *parent, const QStringList &cars, const QString &preferred,
                      const QString &title = QStringLiteral("Добавить журналы в историю"));

} // namespace mk
