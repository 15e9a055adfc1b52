// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The protocol controls of the page "Источники": how the device picks its protocol, the protocol
// chosen by hand and its eight sub-type selectors. A change of protocol resets the sub-types and
// reconfigures the rest of the editor through the host.

#include "editor/EditorPage.h"
#include "settings/FieldId.h"

#include <array>

class QComboBox;
class QLabel;

namespace mk {

class ProtocolPage : public EditorPage
{
    Q_OBJECT
public:
    ProtocolPage(QWidget *tabSheet, EditorHost &host);

    void load() override;
    void protocolChanged() override;

private:
    void selectMethChosen(int index);
    void protocolChosen(int index);
    void subTypeChosen(int selector, int index);
    // Captions, item lists and choices of the sub-type selectors; visibility of the protocol list.
    void refresh();
    void showManualChoice();
    bool store(FieldId field, int index);

    QComboBox *m_selectMeth;
    QComboBox *m_protocol;
    QLabel *m_protocolLabel;
    std::array<QComboBox *, 8> m_subTypes{};
    std::array<QLabel *, 8> m_subTypeLabels{};
};

} // namespace mk
