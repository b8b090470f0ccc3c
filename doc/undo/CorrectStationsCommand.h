#pragma once

#include "EntryInfo.h"
#include "StationCode.h"
#include "StationNames.h"

#include <QString>
#include <QUndoCommand>
#include <cstddef>
#include <optional>
#include <vector>

class CCorvaneDoc;

// Station names corrected: the user's table of corrections and the lines
// that carry the codes, changed and changed back together.
class CorrectStationsCommand : public QUndoCommand
{
public:
    struct TableChange {
        StationCode code;
        std::optional<StationNames> before;
        std::optional<StationNames> after;
    };
    struct LineChange {
        std::size_t position;
        EntryInfo before;
        EntryInfo after;
    };

    // The table at tablePath already holds the changes: the first redo
    // names the lines only.
    CorrectStationsCommand(CCorvaneDoc& doc, QString tablePath, std::vector<TableChange> table,
                           std::vector<LineChange> lines);

    void undo() override { Apply(false); }
    void redo() override { Apply(true); }

private:
    void Apply(bool forward);
    void WriteTable(bool forward);

    CCorvaneDoc& m_doc;
    QString m_tablePath;
    std::vector<TableChange> m_table;
    std::vector<LineChange> m_lines;
    bool m_written = true;
};
