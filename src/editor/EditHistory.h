// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Undo and redo of the edits made in the open editor, on every page alike: each step holds the
// records before and after one stored edit, so undoing it puts back exactly the bytes that were
// there. A step is recorded at a checkpoint, whenever the records differ from the last one; the
// editor takes checkpoints after the user's input and before each undo or redo.
//
//     EditHistory history(model, [&] { dialog.followRecords(); }, describe);
//     ... an edit stores into the records ...
//     history.checkpoint();        // a step named by describe(before, after)
//     history.undo();              // the records are as before the edit, the controls follow

#include "settings/RecordSet.h"

#include <QObject>
#include <functional>

class QUndoStack;

namespace mk {

class TMK;

class EditHistory : public QObject
{
    Q_OBJECT
public:
    using Describe = std::function<QString(const RecordSet &before, const RecordSet &after)>;

    // `follow` makes the editor show records that were replaced; `describe` names a step.
    EditHistory(TMK &model, std::function<void()> follow, Describe describe, QObject *parent = nullptr);
    ~EditHistory() override;

    QUndoStack *stack() const { return m_stack; }
    // The records as the editor opened with them.
    const RecordSet &opened() const { return m_opened; }
    // The records as of the last checkpoint.
    const RecordSet &current() const { return m_last; }

    // Records a step when the records changed since the last checkpoint; `label` names it instead
    // of describe(). Returns whether a step was recorded.
    bool checkpoint(const QString &label = {});
    void undo();
    void redo();

    // Puts a record set into the model and makes the editor show it (used by the steps).
    void apply(const RecordSet &records);

signals:
    // The records changed: a new step, an undo or a redo.
    void recordsChanged();

private:
    TMK &m_model;
    std::function<void()> m_follow;
    Describe m_describe;
    QUndoStack *m_stack;
    RecordSet m_opened;
    RecordSet m_last;
    bool m_applying = false;
};

} // namespace mk
