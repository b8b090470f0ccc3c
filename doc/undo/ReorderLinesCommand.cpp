#include "ReorderLinesCommand.h"

#include "CCorvaneDoc.h"

ReorderLinesCommand::ReorderLinesCommand(CCorvaneDoc& doc, const QString& text,
                                         std::vector<std::size_t> order)
    : QUndoCommand(text), m_doc(doc), m_order(std::move(order))
{
}

void ReorderLinesCommand::redo()
{
    m_doc.Permute(m_order);
}

void ReorderLinesCommand::undo()
{
    std::vector<std::size_t> back(m_order.size());
    for (std::size_t i = 0; i < m_order.size(); ++i)
        back[m_order[i]] = i;
    m_doc.Permute(back);
}
