#pragma once

#include "ApplyRecord.h"
#include "EntryInfo.h"

#include <cstdint>
#include <functional>
#include <vector>

class CCorvaneDoc;

// What a printed claim leaves behind, the same for every front end.
struct PrintedClaim {
    bool recorded = false; // the snapshot and its history record were written
    bool saved = false;    // and the claim was saved afterwards
    std::int64_t total = 0;
    std::size_t lineCount = 0;
    QString id;    // the application's number
    QString error; // why nothing was recorded

    // "申請を記録しました (4,700円)"
    QString StatusText() const;
    // For a print that went out but could not be recorded: what happened,
    // why, and what to do.
    QString NotRecordedText() const;
};

// The steps after a print that the print system accepted: a snapshot of
// exactly the printed lines and a record of their total in the application
// history, then their marks cleared as one undoable step (no other line
// changes), then save() when one is given (自動保存, or the command line).
// When nothing was printed or the record cannot be written, nothing changes.
// stamp is what the paper showed besides the lines (its number, print time,
// claimant, period) and the print job that carries it, when there is one.
PrintedClaim RecordPrintedClaim(CCorvaneDoc& doc, const std::vector<const EntryInfo*>& printed,
                                const std::function<bool()>& save, const ApplyRecord& stamp = {});
