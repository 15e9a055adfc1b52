// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The page "Допсистемы": which additional control units (immobiliser, airbags, ABS, gearbox, ...)
// the device polls for error codes, and how the device shows them.

#include "editor/EditorPage.h"
#include "settings/AddSystems.h"

#include <vector>

class QTableWidget;

namespace mk {

class RadioGroup;

class AddSystemsPage : public EditorPage
{
    Q_OBJECT
public:
    AddSystemsPage(QWidget *tabSheet, EditorHost &host);

    // The list depends on the protocol, which may change on another page: the page builds it
    // whenever it is entered.
    void load() override;
    void protocolChanged() override;
    void activated() override;
    void deactivated() override;

    bool entered() const { return m_entered; }
    const std::vector<AddSystem> &systems() const { return m_systems; }

protected:
    // Space and Enter in either table do what a double click on the current row does.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void enter();
    void toggleAll(int row);
    void dropUsed(int row);
    void fillGrids();
    void showChosen(int item);
    void listChosen(int item);

    RadioGroup *m_show = nullptr;
    RadioGroup *m_showList = nullptr;
    QTableWidget *m_all = nullptr;
    QTableWidget *m_used = nullptr;
    std::vector<AddSystem> m_systems;
    std::vector<AddSystem> m_usedSystems;
    bool m_entered = false;
};

} // namespace mk
