#include "MarkLinesCommand.h"

#include "CCorvaneDoc.h"

#include <algorithm>

MarkLinesCommand::MarkLinesCommand(CCorvaneDoc& doc, const QString& text, std::vector<Mark> marks)
    : QUndoCommand(text), m_doc(doc), m_marks(std::move(marks))
{
    std::sort(m_marks.begin(), m_marks.end(),
              [](const Mark& a, const Mark& b) { return a.position < b.position; });
}

void MarkLinesCommand::Apply(bool forward)
{
    std::vector<std::pair<std::size_t, std::uint8_t>> marks;
    marks.reserve(m_marks.size());
    for (const Mark& mark : m_marks)
        marks.emplace_back(mark.position, forward ? mark.after : mark.before);
    m_doc.SetMarksAt(marks);
}
