#pragma once

#include "CardHistoryRow.h"
#include "CardIdGroups.h"
#include "CardInfo.h"
#include "ClaimRules.h"
#include "EntryInfo.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class AppSettings;
class ArchiveReader;
class ArchiveWriter;

// The document's data: the expense lines, and what the last card read left.
// Only the lines and documentTime are stored in an expense file (.ent).
class EntryList
{
public:
    enum FileKind : std::int32_t { Document = 0, Snapshot = 1 };

    EntryList();

    // Deletes every line and history row, forgets the card, restamps the time.
    void Clear();
    // Writes the version 3 format; a snapshot holds only the claimed lines,
    // and of a suggested visit destination nothing (it was never stated).
    // Throws ArchiveError when there is no line at all.
    void Write(ArchiveWriter& out, FileKind kind) const;
    // An application snapshot of exactly the printed lines, in their order.
    // Throws ArchiveError when the document has no line at all.
    void WriteSnapshot(ArchiveWriter& out, const std::vector<const EntryInfo*>& printed) const;
    // Replaces everything by the file's content (versions 1-3). On any error
    // the list is left empty and the ArchiveError passed on.
    void Read(ArchiveReader& in);
    // The lines of the period as CSV in the layout, columns and encoding the
    // settings choose; hidden lines are left out, and with CsvApplyOnly every
    // line but the claim's. False when nothing could be written. *replaced
    // tells whether characters that Shift-JIS cannot hold were written as "?".
    bool WriteCsv(const AppSettings& settings, const QString& path, bool* replaced = nullptr,
                  const ClaimFilter& period = {}) const;
    // The lines a CSV export would write whose suggested visit destination
    // it leaves out (none when the layout has no such column).
    std::vector<const EntryInfo*> UnconfirmedVisitsInCsv(const AppSettings& settings,
                                                         const ClaimFilter& period = {}) const;
    // What the user is told when count of them were written empty.
    static QString UnconfirmedVisitsText(std::size_t count);
    // The sum of the fares of the claim (ClaimedLines of every line).
    std::int64_t ClaimedTotal() const;
    // The order the lines take when a list that shows some of them shows
    // them in a new order: the old position of the line at each new position.
    // A line the list does not show (hidden, or left out by its filter) keeps
    // following the shown line that preceded it; lines not held are ignored.
    std::vector<std::size_t> OrderAsListed(const std::vector<const EntryInfo*>& listed) const;

    std::int64_t documentTime = 0;
    // What the file read last was: a claim, or a recorded application.
    FileKind kind = Document;
    // The file read last had marks of suggested visit destinations after its
    // lines that could not be read whole: every visit destination of it was
    // taken as a suggestion, for the user to confirm.
    bool visitMarksUnreadable = false;
    // What the user is told when the file's marks could not be read.
    QString UnreadableVisitMarksText() const;
    CardInfo card;
    EntryLines lines;
    std::vector<CardHistoryRow> historyRows;
    // Cards of the claim read under several IDs.
    CardIdGroups cardIds;

    static const QString kMarkerV1;
    static const QString kMarkerV2;
    static const QString kMarkerV3;
    // After the lines of a claim: which lines hold a suggested visit
    // destination. Earlier versions read the lines and stop before it.
    static const QString kSuggestedMarker;
    // After that: which card lines have a fare the card did not hold.
    static const QString kFareUnknownMarker;
    // And the IDs under which the claim's cards were read (CardIdGroups).
    static const QString kCardIdsMarker;

private:
    void ReadContent(ArchiveReader& in);
    // A section after the lines: its marker and the positions of the lines
    // it marks.
    void WritePositions(ArchiveWriter& out, const QString& marker,
                        const std::function<bool(const EntryInfo&)>& marked) const;
    std::optional<std::vector<std::size_t>> ReadPositions(ArchiveReader& in) const;
    void ReadSections(ArchiveReader& in);
    void ReadSuggested(ArchiveReader& in);
    // The positions of the marked lines; none when the list is not whole.
    std::optional<std::vector<std::size_t>> ReadSuggestedPositions(ArchiveReader& in) const;
    void TreatVisitsAsSuggested();
    void ReadFareUnknown(ArchiveReader& in);
    void WriteCardIds(ArchiveWriter& out) const;
    void ReadCardIds(ArchiveReader& in);
    void WriteLines(ArchiveWriter& out, FileKind kind,
                    const std::vector<const EntryInfo*>& written) const;
    // The lines a CSV export writes; its layouts only lay them out.
    std::vector<const EntryInfo*> CsvLines(const AppSettings& settings,
                                           const ClaimFilter& period) const;
};
