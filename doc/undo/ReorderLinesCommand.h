#pragma once

#include <QUndoCommand>
#include <cstddef>
#include <vector>

class CCorvaneDoc;

// The lines in a new order: a move up or down, a drag, the date sort.
class ReorderLinesCommand : public QUndoCommand
{
public:
    // order: the old position of the line at each new position.
    ReorderLinesCommand(CCorvaneDoc& doc, const QString& text, std::vector<std::size_t> order);

    void undo() override;
    void redo() override;

private:
    CCorvaneDoc& m_doc;
    std::vector<std::size_t> m_order;
};
