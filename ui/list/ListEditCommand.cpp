#include "ListEditCommand.h"

#include "CCorvaneForm.h"

ListEditCommand::ListEditCommand(CCorvaneForm& form, const QString& text, State before, State after)
    : QUndoCommand(text), m_form(form), m_before(std::move(before)), m_after(std::move(after))
{
}

void ListEditCommand::SetEdit(EntryInfo* line, EntryInfo before, EntryInfo after)
{
    m_editedLine = line;
    m_contentBefore = std::move(before);
    m_contentAfter = std::move(after);
}

void ListEditCommand::SetRemoved(std::vector<std::unique_ptr<EntryInfo>> lines)
{
    for (const auto& line : lines)
        m_removed.push_back(line.get());
    m_held = std::move(lines);
}

void ListEditCommand::SetAdded(EntryInfo* line)
{
    m_added = line;
}

void ListEditCommand::undo()
{
    Apply(false);
}

void ListEditCommand::redo()
{
    // The edit was made before the command was pushed.
    if (m_firstRedo) {
        m_firstRedo = false;
        return;
    }
    Apply(true);
}

void ListEditCommand::Apply(bool forward)
{
    if (m_editedLine)
        *m_editedLine = forward ? *m_contentAfter : *m_contentBefore;
    // Lines go out of the claim, or come back, before the rows refer to them.
    const std::vector<EntryInfo*> added =
        m_added ? std::vector<EntryInfo*>{m_added} : std::vector<EntryInfo*>{};
    const std::vector<EntryInfo*>& leaving = forward ? m_removed : added;
    if (!m_held.empty())
        m_form.AttachLines(std::move(m_held));
    m_held.clear();
    if (!leaving.empty())
        m_held = m_form.DetachLines(leaving);
    m_form.Restore(forward ? m_after : m_before);
}
