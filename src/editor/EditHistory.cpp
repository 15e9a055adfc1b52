// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/EditHistory.h"

#include <QUndoStack>

namespace mk {

namespace {

// One stored edit: the records before and after it. The edit is already in the records when the
// step is pushed, so the first redo does nothing.
class RecordsStep : public QUndoCommand
{
public:
    RecordsStep(EditHistory &history, RecordSet before, RecordSet after, const QString &label)
        : QUndoCommand(label), m_history(history), m_before(std::move(before)), m_after(std::move(after))
    {}
    void undo() override { m_history.apply(m_before); }
    void redo() override
    {
        if (m_pushed)
            m_history.apply(m_after);
        m_pushed = true;
    }

private:
    EditHistory &m_history;
    RecordSet m_before;
    RecordSet m_after;
    bool m_pushed = false;
};

} // namespace

EditHistory::EditHistory(TMK &model, std::function<void()> follow, Describe describe, QObject *parent)
    : QObject(parent),
      m_model(model),
      m_follow(std::move(follow)),
      m_describe(std::move(describe)),
      m_stack(new QUndoStack(this)),
      m_opened(takeRecords(model)),
      m_last(m_opened)
{}

EditHistory::~EditHistory()
{
    // The steps refer to this object: they go first.
    delete m_stack;
    m_stack = nullptr;
}

bool EditHistory::checkpoint(const QString &label)
{
    if (m_applying)
        return false;
    RecordSet now = takeRecords(m_model);
    if (now == m_last)
        return false;
    const QString name = label.isEmpty() && m_describe ? m_describe(m_last, now) : label;
    RecordSet before = std::move(m_last);
    m_last = now;
    m_stack->push(new RecordsStep(*this, std::move(before), std::move(now), name));
    emit recordsChanged();
    return true;
}

void EditHistory::undo()
{
    checkpoint();
    m_stack->undo();
}

void EditHistory::redo()
{
    // An edit made after an undo starts a new branch: nothing is left to redo.
    checkpoint();
    m_stack->redo();
}

void EditHistory::apply(const RecordSet &records)
{
    m_applying = true;
    putRecords(m_model, records);
    if (m_follow)
        m_follow();
    m_applying = false;
    // Showing the records never rewrites them; should a page normalise something, the step
    // after this one starts from what it left.
    m_last = takeRecords(m_model);
    emit recordsChanged();
}

} // namespace mk
