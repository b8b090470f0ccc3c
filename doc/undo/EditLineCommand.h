#pragma once

#include "EntryInfo.h"

#include <QUndoCommand>
#include <cstddef>

class CCorvaneDoc;

// One line's content changed: in the entry dialog, or a fare a later read
// of the card gave.
class EditLineCommand : public QUndoCommand
{
public:
    EditLineCommand(CCorvaneDoc& doc, std::size_t position, EntryInfo before, EntryInfo after,
                    QUndoCommand* parent = nullptr);

    void undo() override;
    void redo() override;

private:
    CCorvaneDoc& m_doc;
    std::size_t m_position;
    EntryInfo m_before;
    EntryInfo m_after;
};
