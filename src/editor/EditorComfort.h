// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What makes the big editor easier to work in, for every page alike and all from the field table
// and the named settings: a search field (Ctrl+F) that jumps to any setting, marks on the controls
// whose value changed since opening or differs from the factory value, a count of changes on the
// page tabs, "Только изменённые" to dim the rest, a context menu on each setting's control that
// puts back its opening or factory value, and undo/redo (Ctrl+Z, Ctrl+Shift+Z) of every edit
// made while the editor is open. OK and Cancel keep their meaning: the history only moves the
// working records between states the user had.

#include "editor/ChangeMarker.h"
#include "editor/SettingSearch.h"
#include "settings/NamedSettings.h"
#include "settings/RecordSet.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <vector>

class QAction;
class QCheckBox;
class QHBoxLayout;
class QLineEdit;
class QMenu;
class QTimer;

namespace mk {

class EditHistory;
class SearchBox;
class TMK;
class TMK_SetParamsDlg;

class EditorComfort : public QObject
{
    Q_OBJECT
public:
    enum class Source { Opened, Factory };

    // Puts its controls at the start of `buttonRow`; call once the dialog has loaded its pages.
    EditorComfort(TMK_SetParamsDlg &dialog, TMK &model, QHBoxLayout *buttonRow);
    ~EditorComfort() override;

    EditHistory &history() const { return *m_history; }

    // Search as the field does it, and the jump a chosen result makes.
    std::vector<SearchHit> find(const QString &text);
    void jumpTo(const NamedSetting &setting);

    // Puts back the value the field had when the editor opened, or its factory value, as one step.
    void reset(const FieldDef &def, Source source);
    // The context menu of a field's control (the caller owns it); `edit`: a text control whose
    // own editing entries follow.
    QMenu *settingMenu(const FieldDef &def, QLineEdit *edit = nullptr);

    // Undo and redo as Ctrl+Z and Ctrl+Shift+Z do them: the focused control stores first.
    void undo();
    void redo();

    SettingMark markOf(const QString &field) const;
    // Settings changed since the editor opened, what the focused control still holds included; a
    // change that no named setting covers counts as one.
    int changeCount();
    // Changed settings on a page (tab name), inner pages included.
    int changedCount(const QString &tab) const { return m_counts.value(tab); }

public slots:
    // Marks, tab counts and dimming follow the records.
    void refresh();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Marked
    {
        const FieldDef *def;
        QPointer<QWidget> control;
        QPointer<QWidget> label;
        ChangeMarker *marker;
        std::vector<FieldByte> bytes;
    };

    void buildBar(QHBoxLayout *row);
    void attachControls();
    const SettingsContext &named() const;
    QString describe(const RecordSet &before, const RecordSet &after);
    QString captionOf(const NamedSetting &s);
    void scheduleCheckpoint();
    void storeFocused();
    void showPageOf(QWidget *w);
    void updateTabs();
    void updateDimming();
    void updateToolTips();
    bool inDialog(QObject *o) const;

    TMK_SetParamsDlg &m_dialog;
    TMK &m_model;
    EditHistory *m_history;

    SearchBox *m_search = nullptr;
    QCheckBox *m_onlyChanged = nullptr;
    QAction *m_undo = nullptr;
    QAction *m_redo = nullptr;
    QTimer *m_poll = nullptr;
    bool m_pending = false;

    std::vector<Marked> m_marked;
    QHash<QWidget *, int> m_byWidget; // control or its text field -> m_marked
    QHash<QWidget *, QString> m_tabCaptions;
    QHash<QString, int> m_counts;
    QHash<QWidget *, QPointer<ChangeMarker>> m_flashers;
};

} // namespace mk
