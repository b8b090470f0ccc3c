#pragma once

#include "EntryInfo.h"

#include <QString>
#include <vector>

// The card history layout that card-history tools write and expense services
// import: a "カードID=" line, a fixed header, then the card lines newest first,
// rows ending in CR LF. A cell is written bare unless it holds a comma, a
// quote or a line break; a text a spreadsheet would run as a formula is
// written inert.
class HistoryCsvWriter
{
public:
    explicit HistoryCsvWriter(bool showCardId);

    // The caller has chosen the lines (hidden ones, the claim only); manual
    // lines among them are left out, as the layout holds card records only.
    QString Text(const std::vector<const EntryInfo*>& lines) const;

    // The IDm as 16 hex digits, or all but the last four masked with "*".
    static QString FormatCardId(const CardId& idm, bool whole);
    // What the memo column says of a card line: empty for a rail trip.
    static QString Memo(const EntryInfo& line);

private:
    static QString Row(const EntryInfo& line);

    bool m_showCardId;
};
