// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The page "Служ.информ.": the device's model and its protocol as the editor opened them.

#include "editor/EditorPage.h"

namespace mk {

class ServiceInfoPage : public EditorPage
{
    Q_OBJECT
public:
    ServiceInfoPage(QWidget *tabSheet, EditorHost &host);

    void load() override {} // shows what the editor opened with
};

} // namespace mk
