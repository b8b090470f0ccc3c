#include "ConfirmVisitsCommand.h"

#include "CCorvaneDoc.h"

ConfirmVisitsCommand::ConfirmVisitsCommand(CCorvaneDoc& doc, std::vector<std::size_t> positions)
    : QUndoCommand(QStringLiteral("訪問先を確定")), m_doc(doc), m_positions(std::move(positions))
{
}

void ConfirmVisitsCommand::undo()
{
    m_doc.SetVisitSuggestedAt(m_positions, true);
}

void ConfirmVisitsCommand::redo()
{
    m_doc.SetVisitSuggestedAt(m_positions, false);
}
