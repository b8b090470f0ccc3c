#pragma once

#include "EntryInfo.h"

#include <QString>
#include <cstdint>
#include <vector>

// The text of a CSV export in the columns the user chose, in their order: an
// optional header row, then one row for each line given. Every cell is
// quoted, a quote inside a cell doubled; rows, and line breaks inside a cell,
// end in CR LF. A text a spreadsheet would run as a formula is written inert.
class CsvWriter
{
public:
    CsvWriter(std::vector<std::uint16_t> columns, bool header);

    // The caller has chosen the lines (hidden ones, the claim only).
    QString Text(const std::vector<const EntryInfo*>& lines) const;

    // Column ids 1-12; any other id has an empty header and empty cells. A
    // visit destination suggested and never confirmed is no statement: empty.
    static QString Header(std::uint16_t id);
    static QString Cell(std::uint16_t id, const EntryInfo& line);

private:
    void AppendRow(QString& text, const QStringList& cells) const;

    std::vector<std::uint16_t> m_columns;
    bool m_header;
};
