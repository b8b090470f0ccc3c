#include "EditLineCommand.h"

#include "CCorvaneDoc.h"

EditLineCommand::EditLineCommand(CCorvaneDoc& doc, std::size_t position, EntryInfo before,
                                 EntryInfo after, QUndoCommand* parent)
    : QUndoCommand(QStringLiteral("項目編集"), parent), m_doc(doc), m_position(position),
      m_before(std::move(before)), m_after(std::move(after))
{
}

void EditLineCommand::undo()
{
    m_doc.ReplaceAt(m_position, m_before);
}

void EditLineCommand::redo()
{
    m_doc.ReplaceAt(m_position, m_after);
}
