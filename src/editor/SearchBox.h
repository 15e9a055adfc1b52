// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The editor's search field: typing lists the settings found just above the field ("page —
// caption"); Up and Down move in the list, Enter or a click chooses, Escape clears. Enter and
// Escape stay in the field: they never press the dialog's OK or Cancel.

#include "editor/SettingSearch.h"

#include <QObject>
#include <functional>
#include <vector>

class QLineEdit;
class QListWidget;

namespace mk {

class SearchBox : public QObject
{
    Q_OBJECT
public:
    using Find = std::function<std::vector<SearchHit>(const QString &)>;
    using Choose = std::function<void(const NamedSetting &)>;

    // The field and its list are children of `dialog`; the caller places the field.
    SearchBox(QWidget *dialog, Find finder, Choose chosen);

    QLineEdit *field() const { return m_field; }
    // Ctrl+F: the field takes the focus with its text selected.
    void activate();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void edited(const QString &text);
    void place();
    void choose(int row);

    QWidget *m_dialog;
    Find m_find;
    Choose m_choose;
    QLineEdit *m_field;
    QListWidget *m_list;
    std::vector<SearchHit> m_hits;
};

} // namespace mk
