// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The windows behind the link's access check and manual port and baud-rate choices.

#include "app/AccessCheck.h"
#include "app/PortChoice.h"

class QWidget;

namespace mk {

// The password dialog and the error box.
class DialogPasswordPrompt : public PasswordPrompt
{
public:
    explicit DialogPasswordPrompt(QWidget *parent) : m_parent(parent) {}
    std::optional<QString> askPassword(const QString &prompt) override;
    void showError(const QString &text) override;

private:
    QWidget *m_parent;
};

// "Выбор номера порта".
class DialogPortChooser : public PortChooser
{
public:
    explicit DialogPortChooser(QWidget *parent) : m_parent(parent) {}
    std::optional<PortAnswer> choosePort(const QList<PortChoiceItem> &items, int preselected,
                                         const PortListRefresh &refresh = {}) override;

private:
    QWidget *m_parent;
};

// "Выбор скорости обмена СОМ-порта".
class DialogBaudChooser : public BaudChooser
{
public:
    explicit DialogBaudChooser(QWidget *parent) : m_parent(parent) {}
    std::optional<quint32> chooseBaud(quint32 current) override;

private:
    QWidget *m_parent;
};

} // namespace mk
