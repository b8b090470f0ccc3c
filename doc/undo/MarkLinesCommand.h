#pragma once

#include <QUndoCommand>
#include <cstddef>
#include <cstdint>
#include <vector>

class CCorvaneDoc;

// Claim marks set or cleared on some lines: a tick, a header click, the
// marks a print has claimed.
class MarkLinesCommand : public QUndoCommand
{
public:
    struct Mark {
        std::size_t position;
        std::uint8_t before;
        std::uint8_t after;
    };

    // Marks in ascending position.
    MarkLinesCommand(CCorvaneDoc& doc, const QString& text, std::vector<Mark> marks);

    void undo() override { Apply(false); }
    void redo() override { Apply(true); }

private:
    void Apply(bool forward);

    CCorvaneDoc& m_doc;
    std::vector<Mark> m_marks;
};
