#include "LinesCommand.h"

#include "CCorvaneDoc.h"

#include <algorithm>

LinesCommand::LinesCommand(CCorvaneDoc& doc, const QString& text, std::vector<PlacedLine> lines,
                           QUndoCommand* parent)
    : QUndoCommand(text, parent), m_doc(doc), m_kind(Kind::Add), m_outside(std::move(lines))
{
    std::sort(m_outside.begin(), m_outside.end(),
              [](const PlacedLine& a, const PlacedLine& b) { return a.position < b.position; });
    for (const PlacedLine& placed : m_outside)
        m_positions.push_back(placed.position);
}

LinesCommand::LinesCommand(CCorvaneDoc& doc, const QString& text,
                           std::vector<std::size_t> positions)
    : QUndoCommand(text), m_doc(doc), m_kind(Kind::Remove), m_positions(std::move(positions))
{
}

void LinesCommand::Insert()
{
    m_doc.InsertAt(std::move(m_outside));
    m_outside.clear();
}

void LinesCommand::Take()
{
    m_outside = m_doc.TakeAt(m_positions);
}

void LinesCommand::redo()
{
    if (m_kind == Kind::Add)
        Insert();
    else
        Take();
}

void LinesCommand::undo()
{
    if (m_kind == Kind::Add)
        Take();
    else
        Insert();
}
