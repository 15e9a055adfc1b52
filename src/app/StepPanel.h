// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's client area: the warning, the port search choice and the numbered steps
// with their buttons, at the window's tabled size.

#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;

namespace mk {

class StepPanel : public QWidget
{
    Q_OBJECT
public:
    explicit StepPanel(QWidget *parent = nullptr);

    QCheckBox *autoSearchBox() const { return m_cbAuto; }
    QPushButton *portButton() const { return m_bRS232; }
    QPushButton *readButton() const { return m_bGetParams; }
    QPushButton *loadButton() const { return m_bLoadParams; }
    QPushButton *editButton() const { return m_bEditParams; }
    QPushButton *journalsButton() const { return m_bViewJournals; }
    QPushButton *oscButton() const { return m_bViewOsc; }
    QPushButton *saveButton() const { return m_bSaveParams; }
    QPushButton *writeButton() const { return m_bSetParams; }

    // The steps that need settings held.
    bool editingEnabled() const;
    void setEditingEnabled(bool enabled);
    // Automatic search checked leaves the manual port choice disabled.
    void showAutoSearch(bool automatic);

private:
    QLabel *m_label5 = nullptr;
    QCheckBox *m_cbAuto = nullptr;
    QPushButton *m_bRS232 = nullptr;
    QPushButton *m_bGetParams = nullptr;
    QPushButton *m_bLoadParams = nullptr;
    QPushButton *m_bEditParams = nullptr;
    QPushButton *m_bViewJournals = nullptr;
    QPushButton *m_bViewOsc = nullptr;
    QPushButton *m_bSaveParams = nullptr;
    QPushButton *m_bSetParams = nullptr;
};

} // namespace mk
