#pragma once

#include "EntryInfo.h"

#include <QString>
#include <cstdint>
#include <vector>

// The text of a CSV export: chosen columns in order, an optional header row,
// hidden lines left out, and optionally only the lines to claim. Every cell
// is quoted, a quote inside a cell doubled; rows, and line breaks inside a
// cell, end in CR LF.
class CsvWriter
{
public:
    CsvWriter(std::vector<std::uint16_t> columns, bool applyOnly, bool header);

    QString Text(const EntryLines& lines) const;

    // Column ids 1-12; any other id has an empty header and empty cells.
    static QString Header(std::uint16_t id);
    static QString Cell(std::uint16_t id, const EntryInfo& line);

private:
    void AppendRow(QString& text, const QStringList& cells) const;

    std::vector<std::uint16_t> m_columns;
    bool m_applyOnly;
    bool m_header;
};
