#pragma once

#include "PlacedLine.h"

#include <QUndoCommand>
#include <vector>

class CCorvaneDoc;

// Lines joining or leaving the claim: an added line, a card read, a delete.
// While the lines are outside the claim the command owns them, so undo and
// redo bring back the very lines, unchanged.
class LinesCommand : public QUndoCommand
{
public:
    // Adds the lines at their positions.
    LinesCommand(CCorvaneDoc& doc, const QString& text, std::vector<PlacedLine> lines,
                 QUndoCommand* parent = nullptr);
    // Removes the lines at these positions (ascending).
    LinesCommand(CCorvaneDoc& doc, const QString& text, std::vector<std::size_t> positions);

    void undo() override;
    void redo() override;

private:
    void Insert();
    void Take();

    CCorvaneDoc& m_doc;
    enum class Kind { Add, Remove } m_kind;
    std::vector<std::size_t> m_positions;
    std::vector<PlacedLine> m_outside;
};
