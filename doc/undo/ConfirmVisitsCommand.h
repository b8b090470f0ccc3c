#pragma once

#include <QUndoCommand>
#include <cstddef>
#include <vector>

class CCorvaneDoc;

// Suggested visit destinations the user confirmed: the texts stay, they are
// the user's own now.
class ConfirmVisitsCommand : public QUndoCommand
{
public:
    // Positions ascending, each of a line with a suggestion.
    ConfirmVisitsCommand(CCorvaneDoc& doc, std::vector<std::size_t> positions);

    void undo() override;
    void redo() override;

private:
    CCorvaneDoc& m_doc;
    std::vector<std::size_t> m_positions;
};
