#pragma once

#include "EntryInfo.h"

#include <QUndoCommand>
#include <memory>
#include <optional>
#include <vector>

class CCorvaneForm;

// One undoable edit of the history list: the rows and their marks before and
// after, and, where the edit had them, a line's content before and after
// (an edit) and lines that leave or join the claim (a delete, an add). A
// line outside the claim is held here, so undo can bring it back unchanged.
class ListEditCommand : public QUndoCommand
{
public:
    struct State {
        std::vector<EntryInfo*> rows;
        std::vector<std::uint8_t> marks;
    };

    ListEditCommand(CCorvaneForm& form, const QString& text, State before, State after);

    void SetEdit(EntryInfo* line, EntryInfo before, EntryInfo after);
    // Lines the edit took out of the claim; the command holds them.
    void SetRemoved(std::vector<std::unique_ptr<EntryInfo>> lines);
    // A line the edit put into the claim.
    void SetAdded(EntryInfo* line);

    void undo() override;
    void redo() override;

private:
    void Apply(bool forward);

    CCorvaneForm& m_form;
    State m_before;
    State m_after;
    EntryInfo* m_editedLine = nullptr;
    std::optional<EntryInfo> m_contentBefore;
    std::optional<EntryInfo> m_contentAfter;
    std::vector<EntryInfo*> m_removed;
    EntryInfo* m_added = nullptr;
    std::vector<std::unique_ptr<EntryInfo>> m_held; // lines outside the claim now
    bool m_firstRedo = true;
};
